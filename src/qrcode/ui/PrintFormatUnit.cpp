#include "qrcode/ui/PrintFormatUnit.h"

#include "qrcode/CoverSheetGeometry.h"
#include "qrcode/CsvLine.h"
#include "qrcode/ui/CoverSheetFont.h"
#include "qrcode/ui/PrintExecUnit.h"
#include "qrcode/ui/PrintPanelSetUnit.h"
#include "qrcode/ui/QRCode.h"
#include "qrcode/ui/QRImagePropertyUnit.h"
#include "qrcode/ui/TestDataUnit.h"
#include "qrcode/ui/TextPropertyUnit.h"
#include "settings/Registory.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pendlar {
namespace {

const char* const kCannotShowSymbol = "*** QRCodeの使用はできません。";

} // namespace

TPrintFormatForm::TPrintFormatForm(QWidget* parent, TRegistory& settings, UserInterface& ui)
    : QDialog(parent), settings_(settings), ui_(ui) {
    setObjectName("PrintFormatForm");
    setWindowTitle(QString::fromUtf8("表紙印刷"));
    resize(700, 640);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MainMenu = new QMenuBar(this);
    layout->setMenuBar(MainMenu);
    FileNemu = MainMenu->addAction(QString::fromUtf8("印刷"));
    FileNemu->setEnabled(false);
    DesignMenu = MainMenu->addMenu(QString::fromUtf8("デザイン"));
    PanelSet = DesignMenu->addAction(QString::fromUtf8("表示パネル設定"));
    TestDataInput = DesignMenu->addAction(QString::fromUtf8("テストデータ入力"));
    TestPrint = DesignMenu->addAction(QString::fromUtf8("テスト印字"));
    connect(FileNemu, &QAction::triggered, this, [this] { PrintExecMenuClick(); });
    connect(PanelSet, &QAction::triggered, this, [this] { PanelSetClick(); });
    connect(TestDataInput, &QAction::triggered, this, [this] { TestDataInputClick(); });
    connect(TestPrint, &QAction::triggered, this, [this] { TestPrintClick(); });

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    PagePanel = new QWidget;
    PagePanel->setObjectName("PagePanel");
    // The page is white paper with black ink, whatever the scroll area around it uses.
    PagePanel->setBackgroundRole(QPalette::Window);
    PagePanel->setForegroundRole(QPalette::WindowText);
    PagePanel->setAutoFillBackground(true);
    QPalette page = PagePanel->palette();
    page.setColor(QPalette::Window, Qt::white);
    PagePanel->setPalette(page);
    ScrollBox1->setWidget(PagePanel);
    layout->addWidget(ScrollBox1, 1);

    QLabel** labels[] = {&LabelIDNo, &LabelName, &LabelSex, &LabelBirth, &LabelAddress,
                         &IDNoLabel, &NameLabel, &SexLabel, &BirthLabel, &AddressLabel};
    const char* names[] = {"LabelIDNo", "LabelName", "LabelSex", "LabelBirth", "LabelAddress",
                           "IDNoLabel", "NameLabel", "SexLabel", "BirthLabel", "AddressLabel"};
    for (int i = 0; i < kCoverItemCount; ++i) {
        QLabel* label = new QLabel(
            QString::fromUtf8(CoverItemSamples()[static_cast<std::size_t>(i)]), PagePanel);
        label->setObjectName(names[i]);
        label->setCursor(Qt::SizeAllCursor);
        label->setForegroundRole(QPalette::WindowText);
        label->installEventFilter(this);
        *labels[i] = label;
        Items[static_cast<std::size_t>(i)] = label;
    }
    QRImage = new TQRCode(PagePanel);
    QRImage->setObjectName("QRImage");
    QRImage->resize(kCoverSymbolArea, kCoverSymbolArea);
    QRImage->setCursor(Qt::SizeAllCursor);
    QRImage->installEventFilter(this);
    // The texts print after the symbol's area, so on the design page they lie above it.
    for (QLabel* label : Items)
        label->raise();

    StatusBar1 = new QStatusBar(this);
    StatusPanel = new QLabel(StatusBar1);
    StatusBar1->addWidget(StatusPanel, 1);
    layout->addWidget(StatusBar1);
}

TPrintFormatForm::~TPrintFormatForm() = default;

void TPrintFormatForm::SetWindows(TTxtAtrForm* text, TQRimgAtrForm* qr, TPrintPanelSetForm* panel,
                                  TTestDataForm* testData, TPrintExecForm* exec) {
    textForm_ = text;
    qrForm_ = qr;
    panelForm_ = panel;
    testDataForm_ = testData;
    execForm_ = exec;
}

QPrinter& TPrintFormatForm::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void TPrintFormatForm::SetStatus(const QString& text) {
    StatusPanel->setText(text);
}

void TPrintFormatForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TPrintFormatForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TPrintFormatForm::ApplyItem(int i) {
    const TCoverItemRecord& item = items_[static_cast<std::size_t>(i)];
    QLabel* label = Items[static_cast<std::size_t>(i)];
    label->setFont(CoverItemFont(item));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, CoverItemColour(item));
    label->setPalette(palette);
    label->adjustSize();
    label->move(item.Left, item.Top);
}

void TPrintFormatForm::ShowSymbol(const std::string& code) {
    QRImage->SetCode(code);
    if (!QRImage->SymbolDisped() || !CoverSymbolFits(QRImage->Core()))
        SetStatus(QString::fromUtf8(kCannotShowSymbol));
}

void TPrintFormatForm::FormShow() {
    pressed_.fill(false);
    pressPoint_.fill(QPoint());
    SetStatus(QString());
    PagePanel->setFixedSize(settings_.PageWidth, settings_.PageHeight);
    const auto records = CoverItemRecords(settings_);
    for (int i = 0; i < kCoverItemCount; ++i) {
        items_[static_cast<std::size_t>(i)] = *records[static_cast<std::size_t>(i)];
        ApplyItem(i);
    }
    QRImage->SetSymbolEnabled(false);
    SetUpCoverSymbol(QRImage->Core(), settings_.QRCodeImage.Pxmag);
    QRImage->move(settings_.QRCodeImage.Left, settings_.QRCodeImage.Top);
    QRImage->Clear();
    QRImage->SetSymbolEnabled(true);
    // The item texts and the symbol start from the samples each time the window opens.
    for (int i = 0; i < kCoverItemCount; ++i) {
        Items[static_cast<std::size_t>(i)]->setText(
            QString::fromUtf8(CoverItemSamples()[static_cast<std::size_t>(i)]));
        Items[static_cast<std::size_t>(i)]->adjustSize();
    }
    ShowSymbol("99999999");
    shownOnce_ = true;
}

void TPrintFormatForm::FormClose() {
    if (!shownOnce_)
        return; // never loaded: there is nothing of this window to write back
    const auto records = CoverItemRecords(settings_);
    for (int i = 0; i < kCoverItemCount; ++i) {
        TCoverItemRecord item = items_[static_cast<std::size_t>(i)];
        item.FontName = CutAtCharBoundary(item.FontName, TCoverItemRecord::kFontNameMax);
        *records[static_cast<std::size_t>(i)] = item;
    }
    settings_.QRCodeImage.Left = QRImage->x();
    settings_.QRCodeImage.Top = QRImage->y();
    settings_.QRCodeImage.Pxmag = QRImage->Pxmag();
}

// ---- dragging and the property windows

bool TPrintFormatForm::eventFilter(QObject* watched, QEvent* event) {
    int item = -1;
    if (watched == QRImage)
        item = kCoverItemCount;
    for (int i = 0; i < kCoverItemCount; ++i)
        if (watched == Items[static_cast<std::size_t>(i)])
            item = i;
    if (item < 0)
        return QDialog::eventFilter(watched, event);
    auto mouse = [event] { return static_cast<QMouseEvent*>(event); };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        ItemMouseDown(item, mouse()->button(), mouse()->position().toPoint());
        return true;
    case QEvent::MouseMove:
        ItemMouseMove(item, mouse()->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        ItemMouseUp(item, mouse()->button());
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TPrintFormatForm::ItemMouseDown(int item, Qt::MouseButton button, QPoint pos) {
    if (item < 0 || item > kCoverItemCount || button != Qt::LeftButton)
        return;
    pressed_[static_cast<std::size_t>(item)] = true;
    pressPoint_[static_cast<std::size_t>(item)] = pos;
}

void TPrintFormatForm::ItemMouseMove(int item, QPoint pos) {
    if (item < 0 || item > kCoverItemCount || !pressed_[static_cast<std::size_t>(item)])
        return;
    const QPoint delta = pos - pressPoint_[static_cast<std::size_t>(item)];
    if (item == kCoverItemCount) {
        QRImage->move(QRImage->pos() + delta);
        return;
    }
    TCoverItemRecord& record = items_[static_cast<std::size_t>(item)];
    record.Left += delta.x();
    record.Top += delta.y();
    Items[static_cast<std::size_t>(item)]->move(record.Left, record.Top);
}

void TPrintFormatForm::ItemMouseUp(int item, Qt::MouseButton button) {
    if (item < 0 || item > kCoverItemCount)
        return;
    if (button == Qt::LeftButton) {
        pressed_[static_cast<std::size_t>(item)] = false;
        return;
    }
    if (button != Qt::RightButton)
        return;
    if (item == kCoverItemCount) {
        if (!qrForm_)
            qrForm_ = new TQRimgAtrForm(this);
        qrForm_->Load(QRImage->y(), QRImage->x(), QRImage->Pxmag());
        RunModal(Modal, *qrForm_);
        QRImage->move(qrForm_->LeftEdit->value(), qrForm_->TopEdit->value());
        const int size = qrForm_->SizeEdit->value();
        QRImage->SetPxmag(size);
        SetStatus(QString());
        // The window offers sizes the symbol does not take (above 10); the symbol then
        // keeps its size, which must not look as if the typed one were in use.
        if (QRImage->Pxmag() != size || !QRImage->SymbolDisped() ||
            !CoverSymbolFits(QRImage->Core()))
            SetStatus(QString::fromUtf8(kCannotShowSymbol));
        return;
    }
    if (!textForm_)
        textForm_ = new TTxtAtrForm(this);
    textForm_->Load(items_[static_cast<std::size_t>(item)]);
    RunModal(Modal, *textForm_);
    textForm_->Store(items_[static_cast<std::size_t>(item)]);
    ApplyItem(item);
}

// ---- the design menu

void TPrintFormatForm::PanelSetClick() {
    if (!panelForm_)
        panelForm_ = new TPrintPanelSetForm(this);
    panelForm_->Load(settings_.PanelDensity, settings_.PageHeight, settings_.PageWidth);
    if (RunModal(Modal, *panelForm_) != QDialog::Accepted)
        return;
    settings_.PageWidth = panelForm_->PanelWidth();
    settings_.PageHeight = panelForm_->PanelHeight();
    settings_.PanelDensity = panelForm_->Density();
    PagePanel->setFixedSize(settings_.PageWidth, settings_.PageHeight);
}

void TPrintFormatForm::TestDataInputClick() {
    if (!testDataForm_)
        testDataForm_ = new TTestDataForm(this);
    testDataForm_->Reset();
    if (RunModal(Modal, *testDataForm_) != QDialog::Accepted)
        return;
    QLineEdit* edits[] = {testDataForm_->IdNoEdit, testDataForm_->NameEdit, testDataForm_->SexEdit,
                          testDataForm_->BirthEdit, testDataForm_->AddressEdit};
    for (int i = 0; i < 5; ++i) {
        Items[static_cast<std::size_t>(i + 5)]->setText(edits[i]->text());
        Items[static_cast<std::size_t>(i + 5)]->adjustSize();
    }
    SetStatus(QString());
    ShowSymbol(std::to_string(testDataForm_->Number()));
}

CoverSheetPage TPrintFormatForm::CurrentPage() const {
    CoverSheetPage page;
    for (int i = 0; i < kCoverItemCount; ++i) {
        page.Items[static_cast<std::size_t>(i)] = items_[static_cast<std::size_t>(i)];
        page.Texts[static_cast<std::size_t>(i)] =
            QStringSjis(Items[static_cast<std::size_t>(i)]->text());
    }
    page.SymbolLeft = QRImage->x();
    page.SymbolTop = QRImage->y();
    page.Symbol = QRImage->Picture();
    if (page.Symbol.isNull()) {
        // A symbol that cannot be drawn still prints its (empty) area.
        page.Symbol = QImage(kCoverSymbolArea, kCoverSymbolArea, QImage::Format_RGB888);
        page.Symbol.fill(Qt::white);
    }
    return page;
}

bool TPrintFormatForm::BeginDocument(QPainter& painter) {
    QPrinter& printer = Printer();
    SetUpCoverPrinter(printer, settings_);
    if (painter.begin(&printer))
        return true;
    SetStatus(QString::fromUtf8("*** プリンタに印刷できません。"));
    return false;
}

void TPrintFormatForm::TestPrintClick() {
    QPainter painter;
    if (!BeginDocument(painter))
        return;
    PrintCoverSheet(painter, CurrentPage(), settings_);
    painter.end();
}

void TPrintFormatForm::PrintExecMenuClick() {
    SetStatus(QString());
    const int count = lines_ ? static_cast<int>(lines_->size()) : 0;
    if (count == 0)
        return;
    if (!execForm_)
        execForm_ = new TPrintExecForm(this);
    execForm_->Setup(count);
    if (RunModal(Modal, *execForm_) != QDialog::Accepted)
        return;
    int first = 1, last = count;
    execForm_->Range(count, first, last);
    if (last < first) {
        SetStatus(QString::fromUtf8("範囲指定に誤りがあります。"));
        return;
    }
    PrintLines(first, last);
}

bool TPrintFormatForm::PrintLines(int first, int last) {
    const int count = lines_ ? static_cast<int>(lines_->size()) : 0;
    if (first < 1 || last > count || last < first) {
        SetStatus(QString::fromUtf8("範囲指定に誤りがあります。"));
        return false;
    }
    // Only a list without faults reaches here; a line that fails all the same stops the
    // run before anything is printed, rather than print a sheet with a wrong number.
    TCsvLine parser;
    for (int n = first; n <= last; ++n)
        if (!parser.Parse((*lines_)[static_cast<std::size_t>(n - 1)])) {
            SetStatus(QString::number(n) + " : " + SjisQString(parser.ErrorText()));
            return false;
        }
    QPainter painter;
    if (!BeginDocument(painter))
        return false;
    for (int n = first; n <= last; ++n) {
        parser.Parse((*lines_)[static_cast<std::size_t>(n - 1)]);
        const std::string values[] = {parser.IdNo(), parser.Name(), parser.Sex(), parser.Birth(),
                                      parser.Address()};
        for (int i = 0; i < 5; ++i) {
            Items[static_cast<std::size_t>(i + 5)]->setText(SjisQString(values[i]));
            Items[static_cast<std::size_t>(i + 5)]->adjustSize();
        }
        QRImage->SetCode(std::to_string(parser.Number()));
        PrintCoverSheet(painter, CurrentPage(), settings_);
        if (n < last)
            Printer().newPage();
        ui_.ProcessEvents();
    }
    painter.end();
    return true;
}

} // namespace pendlar
