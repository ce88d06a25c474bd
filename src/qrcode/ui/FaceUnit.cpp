#include "qrcode/ui/FaceUnit.h"

#include "qrcode/ui/CoverSheetFont.h"
#include "qrcode/ui/PrintFormatUnit.h"
#include "qrcode/ui/PrintSetUnit.h"
#include "settings/Registory.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pendlar {

TFaceForm::TFaceForm(QWidget* parent, TRegistory& settings, UserInterface& ui)
    : QDialog(parent), settings_(settings), ui_(ui) {
    setObjectName("FaceForm");
    setWindowTitle(QString::fromUtf8("表紙の作成"));
    resize(640, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MainMenu = new QMenuBar(this);
    layout->setMenuBar(MainMenu);
    FileMenu = MainMenu->addMenu(QString::fromUtf8("ファイル"));
    FileOpenMenu = FileMenu->addAction(QString::fromUtf8("CSV　開く"));
    PrinterMenu = FileMenu->addAction(QString::fromUtf8("プリンタの設定"));
    PrintSetMenu = FileMenu->addAction(QString::fromUtf8("プリンタ印字密度設定"));
    FormatMenu = FileMenu->addAction(QString::fromUtf8("印刷"));
    FileMenu->addSeparator();
    CloseMenu = FileMenu->addAction(QString::fromUtf8("閉じる"));
    EditMenu = MainMenu->addMenu(QString::fromUtf8("編集"));
    ClearMenu = EditMenu->addAction(QString::fromUtf8("クリア"));
    CopyMenu = EditMenu->addAction(QString::fromUtf8("コピー"));
    SelectAllMenu = EditMenu->addAction(QString::fromUtf8("全て選択"));
    connect(FileOpenMenu, &QAction::triggered, this, [this] { FileOpenMenuClick(); });
    connect(PrinterMenu, &QAction::triggered, this, [this] { PrinterMenuClick(); });
    connect(PrintSetMenu, &QAction::triggered, this, [this] { PrintSetMenuClick(); });
    connect(FormatMenu, &QAction::triggered, this, [this] { FormatMenuClick(); });
    connect(CloseMenu, &QAction::triggered, this, &QDialog::close);
    connect(ClearMenu, &QAction::triggered, this, [this] { ClearMenuClick(); });
    connect(CopyMenu, &QAction::triggered, this, [this] { CopyMenuClick(); });
    connect(SelectAllMenu, &QAction::triggered, this, [this] { SelectAllMenuClick(); });

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(Memo1, 1);
    StatusBar1 = new QStatusBar(this);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel0->setMinimumWidth(120);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1, 1);
    layout->addWidget(StatusBar1);
}

void TFaceForm::SetWindows(TPrintFormatForm* designer, TPrintSetForm* printSet) {
    designer_ = designer;
    printSet_ = printSet;
}

TPrintFormatForm& TFaceForm::Designer() {
    if (!designer_)
        designer_ = new TPrintFormatForm(this, settings_, ui_);
    return *designer_;
}

void TFaceForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFaceForm::FormShow() {
    // Reopening keeps the lines but asks for a fresh check before printing.
    printable_ = false;
}

void TFaceForm::Show(const std::string& sjisLine) {
    Memo1->appendPlainText(SjisQString(sjisLine));
}

void TFaceForm::FileOpenMenuClick() {
    StatusPanel0->clear();
    StatusPanel1->clear();
    Memo1->clear();
    FileDialogSpec spec;
    spec.Filter = SjisOf("CSVファイル|*.txt");
    spec.InitialDir = settings_.CsvFolder;
    const std::optional<std::string> path = ui_.ChooseOpenFile(spec);
    if (!path) {
        StatusPanel1->setText(QString::fromUtf8("ＣＳＶファイルのオープンをキャンセルしました。"));
        return;
    }
    LoadList(*path);
}

void TFaceForm::LoadList(const std::string& sjisPath) {
    const std::size_t slash = sjisPath.rfind('/');
    if (slash != std::string::npos)
        settings_.CsvFolder = sjisPath.substr(0, slash + 1);
    std::optional<std::vector<std::string>> lines = ReadLines(sjisPath);
    if (!lines) {
        // The text area is empty now; printing the list loaded before would print sheets
        // for patients nobody can see.
        printable_ = false;
        StatusPanel1->setText(QString::fromUtf8("ファイル読み込みでエラーが発生しました。"));
        return;
    }
    lines_ = std::move(*lines);
    printable_ = false;
    if (lines_.empty()) {
        StatusPanel1->setText(QString::fromUtf8("ファイルにはデータがありません。"));
        return;
    }
    printable_ = true;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Show(std::to_string(i + 1) + " : " + lines_[i]);
        if (!parser_.Parse(lines_[i])) {
            Show(" *** ERROR *** : " + parser_.ErrorText());
            Show("---------------");
            printable_ = false;
        }
    }
    StatusPanel0->setText(QString::fromUtf8("件数 ") + QString::number(lines_.size()));
    StatusPanel1->setText(QString::fromUtf8("読み込みを完了しました。"));
}

void TFaceForm::PrinterMenuClick() {
    QPrintDialog dialog(&Designer().Printer(), this);
    RunModal(Modal, dialog);
}

void TFaceForm::PrintSetMenuClick() {
    if (!printSet_)
        printSet_ = new TPrintSetForm(this);
    printSet_->Load(settings_.PrintDensity);
    if (RunModal(Modal, *printSet_) == QDialog::Accepted)
        settings_.PrintDensity = printSet_->Density();
}

void TFaceForm::FormatMenuClick() {
    TPrintFormatForm& designer = Designer();
    designer.SetPrintLines(&lines_);
    designer.FileNemu->setEnabled(printable_);
    RunModal(Modal, designer);
}

void TFaceForm::ClearMenuClick() {
    Memo1->clear();
}

void TFaceForm::CopyMenuClick() {
    Memo1->copy();
}

void TFaceForm::SelectAllMenuClick() {
    Memo1->selectAll();
}

} // namespace pendlar
