#include "intake/ui/IntakePanels.h"

#include "intake/ui/BigImageUnit.h"
#include "intake/ui/DeleteWarningUnit.h"
#include "intake/ui/IntakeImages.h"
#include "intake/ui/PageCheckView.h"
#include "intake/ui/QRFrameImage.h"
#include "intake/ui/ReadSettingUnit.h"
#include "intake/ui/ScannerChooser.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include <QAction>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace pendlar {

namespace {

// "JPEG|*.jpg;*.jpeg|BMP|*.bmp" as Qt's "JPEG (*.jpg *.jpeg);;BMP (*.bmp)".
QString QtFilter(const std::string& filter) {
    const QStringList parts = SjisToQString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks = parts[i + 1].split(';', Qt::SkipEmptyParts);
        out << parts[i] + " (" + masks.join(' ') + ")";
    }
    return out.join(";;");
}

// Resizes of the patient-check tab reach the layout rule.
class ResizeWatcher : public QObject {
public:
    ResizeWatcher(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize)
            f_();
        return false;
    }

private:
    std::function<void()> f_;
};

} // namespace

IntakePanels::IntakePanels(TRegistory& settings, TLogs& logs, UserInterface& ui, TDicomImage& dicom,
                           TQRDecode& decoder, QWidget* dialogParent)
    : dialogParent_(dialogParent) {
    intake_ = std::make_unique<PageIntake>(settings, logs, ui, dicom, decoder, *this);

    Pagekakunin = new QWidget;
    Pagekakunin->setObjectName("Pagekakunin");
    auto* pl = new QVBoxLayout(Pagekakunin);
    pl->setContentsMargins(0, 0, 0, 0);
    ListView1 = new PageCheckView;
    ListView1->SetIntake(intake_.get());
    ListView1->ThumbnailsReset();
    pl->addWidget(ListView1);

    Kanjakakunin = new QWidget;
    Kanjakakunin->setObjectName("Kanjakakunin");
    Image1 = new QLabel(Kanjakakunin);
    Image1->setObjectName("Image1");
    Image2 = new QLabel(Kanjakakunin);
    Image2->setObjectName("Image2");
    for (QLabel* l : {Image1, Image2})
        l->setScaledContents(true);
    Kanjakakunin->installEventFilter(
        new ResizeWatcher(Kanjakakunin, [this] { KanjakakuninResize(); }));

    QRwaku = new QWidget;
    QRwaku->setObjectName("QRwaku");
    auto* ql = new QVBoxLayout(QRwaku);
    ql->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea;
    Image3 = new QRFrameImage;
    Image3->SetIntake(intake_.get());
    ScrollBox1->setWidget(Image3);
    ScrollBox1->setWidgetResizable(false);
    ql->addWidget(ScrollBox1);
}

IntakePanels::~IntakePanels() {
    // The tab pages belong to the main window once it has taken them.
    for (QWidget* w : {Pagekakunin, Kanjakakunin, QRwaku})
        if (!w->parent())
            delete w;
}

void IntakePanels::AttachTo(QWidget* pagekakunin, QWidget* qrwaku, QLabel* image1, QLabel* image2) {
    auto place = [](QWidget* page, QWidget* content) {
        auto* layout = page->layout() ? page->layout() : new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(content);
    };
    if (pagekakunin)
        place(pagekakunin, ListView1);
    if (qrwaku)
        place(qrwaku, ScrollBox1);
    if (image1 && image2) {
        // The patient-check tab shows both pages whole, stretched to their halves of the
        // tab, whatever the labels were set up for.
        Image1 = image1;
        Image2 = image2;
        for (QLabel* l : {Image1, Image2})
            l->setScaledContents(true);
    }
}

void IntakePanels::ConnectCommands(const IntakeCommands& c) {
    PageIntake* in = intake_.get();
    auto on = [](QAction* a, std::function<void()> f) {
        if (a)
            QObject::connect(a, &QAction::triggered, a, [f = std::move(f)] { f(); });
    };
    if (c.ScannerOpenNew)
        QObject::connect(c.ScannerOpenNew, &QPushButton::clicked, c.ScannerOpenNew,
                         [in] { in->ScannerReadClick(false); });
    if (c.ScannerOpenAdd)
        QObject::connect(c.ScannerOpenAdd, &QPushButton::clicked, c.ScannerOpenAdd,
                         [in] { in->ScannerReadClick(true); });
    on(c.ImageRead, [in] { in->ImageReadClick(false); });
    on(c.ImageAdd, [in] { in->ImageReadClick(true); });
    on(c.ReadFiles, [in] { in->ReadFilesClick(); });
    on(c.TwainSourceMenu, [in] { in->TwainSourceMenuClick(); });
    on(c.TwainReadMenu, [in] { in->TwainReadMenuClick(); });
    on(c.ScanFolderClear, [in] { in->ScanFolderClearClick(); });
    on(c.PageDeleteMenu, [in] { in->PageDeleteMenuClick(); });
    on(c.PageRedispMenu, [in] { in->PageRedispMenuClick(); });
    if (c.TwainReadMenu) {
        QAction* read = c.TwainReadMenu;
        read->setEnabled(false);
        auto previous = OnTwainReadEnabled;
        OnTwainReadEnabled = [read, previous](bool e) {
            read->setEnabled(e);
            if (previous)
                previous(e);
        };
    }
    if (c.ReadSet)
        readSet_ = c.ReadSet;
    on(c.ReadImage, [this] { ReadImageClick(); });
}

void IntakePanels::ReadImageClick() {
    if (!readSet_)
        return;
    ReadSettings values = ReadSettings::From(intake_->Settings());
    if (readSet_->Execute(values))
        intake_->ReadSetConfirmed(values);
}

void IntakePanels::KanjakakuninResize() {
    const int half = Kanjakakunin->width() / 2;
    const int h = Kanjakakunin->height() - 2;
    Image1->setGeometry(1, 1, half - 2, h);
    Image2->setGeometry(half + 1, 1, half - 2, h);
}

void IntakePanels::HideCommercial() {
    if (OnHideCommercial)
        OnHideCommercial();
}
void IntakePanels::LockControls(bool lock) {
    if (OnLockControls)
        OnLockControls(lock);
}
void IntakePanels::ActivatePageCheckTab() {
    if (OnActivatePageCheckTab)
        OnActivatePageCheckTab();
}
IntakeTab IntakePanels::ActiveTab() const {
    return OnActiveTab ? OnActiveTab() : IntakeTab::PageCheck;
}
void IntakePanels::DisableChartButtons(bool saveButtonToo) {
    if (OnDisableChartButtons)
        OnDisableChartButtons(saveButtonToo);
}
void IntakePanels::CheckSaveReady() {
    if (OnCheckSaveReady)
        OnCheckSaveReady();
}
void IntakePanels::UpdateTabVisibility() {
    if (OnUpdateTabVisibility)
        OnUpdateTabVisibility();
}
void IntakePanels::SetPatientNumber(const std::string& text) {
    if (OnPatientNumber)
        OnPatientNumber(text);
}
void IntakePanels::SetTwainReadEnabled(bool enabled) {
    if (OnTwainReadEnabled)
        OnTwainReadEnabled(enabled);
}

std::optional<std::vector<std::string>>
IntakePanels::ChooseOpenFiles(const FileDialogSpec& request) {
    if (FilesChooser)
        return FilesChooser(request);
    QFileDialog dialog(dialogParent_, SjisToQString(request.Title),
                       QString::fromStdString(SjisPathToFileName(request.InitialDir)),
                       QtFilter(request.Filter));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<std::string> files;
    for (const QString& f : dialog.selectedFiles())
        files.push_back(FileNameToSjisPath(f.toStdString()));
    return files;
}

std::optional<ImageSaveChoice> IntakePanels::ChooseImageSaveFile(const FileDialogSpec& request) {
    if (SaveChooser)
        return SaveChooser(request);
    QFileDialog dialog(dialogParent_, SjisToQString(request.Title),
                       QString::fromStdString(SjisPathToFileName(request.InitialDir)),
                       QtFilter(request.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QStringList filters = dialog.nameFilters();
    ImageSaveChoice choice;
    choice.Path = FileNameToSjisPath(dialog.selectedFiles().front().toStdString());
    choice.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return choice;
}

bool IntakePanels::ConfirmFolderClear(const std::string& sjisFolder) {
    if (ClearConfirmer)
        return ClearConfirmer(sjisFolder);
    if (!DeleteWarningForm)
        DeleteWarningForm = new TDeleteWarningForm(dialogParent_);
    return DeleteWarningForm->Execute(sjisFolder);
}

std::optional<int> IntakePanels::ChooseScanner(const std::vector<ScannerDevice>& devices) {
    if (DeviceChooser)
        return DeviceChooser(devices);
    ScannerChooser chooser(dialogParent_);
    return chooser.Execute(devices);
}

void IntakePanels::ViewCleared() {
    ListView1->Cleared();
}
void IntakePanels::ViewItemAdded(int index) {
    ListView1->ItemAdded(index);
    ListView1->repaint();
}
void IntakePanels::ViewItemsChanged(int first, int last) {
    ListView1->ItemsChanged(first, last);
}
void IntakePanels::ViewLastItemRemoved() {
    ListView1->LastItemRemoved();
}
void IntakePanels::ThumbnailsReset() {
    ListView1->ThumbnailsReset();
}
void IntakePanels::ThumbnailReplaced(int imageIndex) {
    ListView1->ThumbnailReplaced(imageIndex);
}

void IntakePanels::ShowFirstPage() {
    Image1->setPixmap(QPixmap::fromImage(BitmapToQImage(intake_->FirstPage())));
}

void IntakePanels::ShowSecondPage(bool visible) {
    if (visible)
        Image2->setPixmap(QPixmap::fromImage(BitmapToQImage(intake_->SecondPage())));
    Image2->setVisible(visible);
}

void IntakePanels::ShowQRPage() {
    Image3->ShowPage(BitmapToQImage(intake_->FirstPage()));
}

void IntakePanels::XorFrame(const QRFrameRect& frame) {
    Image3->XorFrame(frame);
}

void IntakePanels::OpenBigImage(int index) {
    if (!BigImageForm)
        BigImageForm = new TBigImageForm(dialogParent_);
    const auto& pages = intake_->Pages();
    if (index >= 0 && index < static_cast<int>(pages.size()))
        BigImageForm->Execute(intake_->PageFile(pages[static_cast<std::size_t>(index)].Path));
}

void IntakePanels::OpenPageEditor(int index) {
    if (OnOpenPageEditor)
        OnOpenPageEditor(index);
}

} // namespace pendlar
