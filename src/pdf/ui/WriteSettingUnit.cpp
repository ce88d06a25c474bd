#include "pdf/ui/WriteSettingUnit.h"

#include "intake/ui/DeleteWarningUnit.h"
#include "settings/Registory.h"
#include "util/FileSystem.h"
#include "util/ui/QtText.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace pendlar {
namespace {

QCheckBox* Check(const char* caption, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(Utf8Text(caption), parent);
    box->setObjectName(name);
    return box;
}

QLineEdit* Edit(const char* name, QWidget* parent, int width = 0) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

// An integer typed by a person: blanks around it are allowed, nothing else.
bool ParseInt(const QString& text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

std::size_t SjisLength(const QLineEdit* edit) {
    return QStringToSjis(edit->text()).size();
}

} // namespace

TWriteSetForm::TWriteSetForm(QWidget* parent) : QDialog(parent) {
    setObjectName("WriteSetForm");
    setWindowTitle(Utf8Text("PDF書込設定"));

    // The base folder: a tree of folders and the chosen path.
    auto* folderBox = new QGroupBox(Utf8Text("ベースフォルダー"), this);
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath("/");
    ShellTreeView1 = new QTreeView(folderBox);
    ShellTreeView1->setObjectName("ShellTreeView1");
    ShellTreeView1->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        ShellTreeView1->hideColumn(column);
    ShellTreeView1->header()->hide();
    ShellTreeView1->setMinimumSize(260, 300);
    PdfSetPathDisp = Edit("PdfSetPathDisp", folderBox);
    PdfSetPathDisp->setReadOnly(true);
    auto* folderLayout = new QVBoxLayout(folderBox);
    folderLayout->addWidget(ShellTreeView1);
    folderLayout->addWidget(PdfSetPathDisp);
    connect(ShellTreeView1, &QTreeView::clicked, this, [this] { ShellTreeView1Click(); });

    // The four folder levels.
    auto* levels = new QGroupBox(this);
    auto* grid = new QGridLayout(levels);
    grid->addWidget(new QLabel(Utf8Text("階層"), levels), 0, 0);
    grid->addWidget(new QLabel(Utf8Text("接頭"), levels), 0, 1);
    grid->addWidget(new QLabel(Utf8Text("接尾"), levels), 0, 2);
    for (int n = 0; n < 4; ++n) {
        const std::string digit = std::to_string(n + 1);
        grid->addWidget(new QLabel(QString::fromStdString(digit), levels), n + 1, 0);
        LFront[static_cast<std::size_t>(n)] = Edit(("L" + digit + "F").c_str(), levels, 90);
        LBack[static_cast<std::size_t>(n)] = Edit(("L" + digit + "B").c_str(), levels, 90);
        grid->addWidget(LFront[static_cast<std::size_t>(n)], n + 1, 1);
        grid->addWidget(LBack[static_cast<std::size_t>(n)], n + 1, 2);
    }

    auto* codes = new QGridLayout;
    HPCodeEdit = Edit("HPCodeEdit", this, 160);
    KaCode = Edit("KaCode", this, 60);
    KaCode->setText("0");
    codes->addWidget(new QLabel(Utf8Text("医療機関コード"), this), 0, 0);
    codes->addWidget(HPCodeEdit, 0, 1);
    codes->addWidget(new QLabel(Utf8Text("科別区分番号"), this), 1, 0);
    codes->addWidget(KaCode, 1, 1);

    WriteDateChk = Check("作成日を付ける。", "WriteDateChk", this);
    NyuGaiOut = Check("入外区分を付ける。", "NyuGaiOut", this);
    CaruteHeaderOut = new RadioGroup(Utf8Text("カルテ頭書を出力する "),
                                     {Utf8Text("無し"), Utf8Text("外来"), Utf8Text("入院")}, this);
    CaruteHeaderOut->setObjectName("CaruteHeaderOut");
    WriteProtectChk = Check("上書きを禁止する。", "WriteProtectChk", this);
    FirstPageOutCheck = Check("最初のページを出力する。", "FirstPageOutCheck", this);
    ScanClrCheck = Check("保存後、スキャナフォルダーをクリアする。", "ScanClrCheck", this);
    connect(ScanClrCheck, &QCheckBox::clicked, this, [this] { ScanClrCheckClick(); });
    StretchCheck = Check("画像をストレッチする。", "StretchCheck", this);
    QualitySpin = new QSpinBox(this);
    QualitySpin->setObjectName("QualitySpin");
    QualitySpin->setRange(50, 100);
    PolicyCheck = Check("ポリシーを設定する。", "PolicyCheck", this);

    auto* quality = new QHBoxLayout;
    quality->addWidget(new QLabel(Utf8Text("画像品質"), this));
    quality->addWidget(QualitySpin);
    quality->addStretch();

    auto* sizeBox = new QGroupBox(Utf8Text("ページサイズ(Dot)"), this);
    auto* sizeLayout = new QHBoxLayout(sizeBox);
    PdfPageHeight = Edit("PdfPageHeight", sizeBox, 70);
    PdfPageWidth = Edit("PdfPageWidth", sizeBox, 70);
    DefaultSizeButton = new QPushButton(Utf8Text("規定値"), sizeBox);
    DefaultSizeButton->setObjectName("DefaultSizeButton");
    DefaultSizeButton->setAutoDefault(false);
    sizeLayout->addWidget(new QLabel(Utf8Text("縦"), sizeBox));
    sizeLayout->addWidget(PdfPageHeight);
    sizeLayout->addWidget(new QLabel(Utf8Text("横"), sizeBox));
    sizeLayout->addWidget(PdfPageWidth);
    sizeLayout->addWidget(DefaultSizeButton);
    connect(DefaultSizeButton, &QPushButton::clicked, this, [this] { DefaultSizeClick(); });

    auto* options = new QVBoxLayout;
    options->addWidget(levels);
    options->addLayout(codes);
    for (QWidget* w :
         std::initializer_list<QWidget*>{WriteDateChk, NyuGaiOut, CaruteHeaderOut, WriteProtectChk,
                                         FirstPageOutCheck, ScanClrCheck, StretchCheck})
        options->addWidget(w);
    options->addLayout(quality);
    options->addWidget(PolicyCheck);
    options->addWidget(sizeBox);
    options->addStretch();

    SetButton = new QPushButton(Utf8Text("設定"), this);
    SetButton->setObjectName("SetButton");
    CancelButton = new QPushButton(Utf8Text("キャンセル"), this);
    CancelButton->setObjectName("CancelButton");
    SetButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    connect(SetButton, &QPushButton::clicked, this, [this] { SetButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SetButton);
    buttons->addWidget(CancelButton);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* body = new QHBoxLayout;
    body->addWidget(folderBox, 1);
    body->addLayout(options);
    auto* main = new QVBoxLayout(this);
    main->addLayout(body);
    main->addLayout(buttons);
    main->addWidget(StatusBar1);

    ConfirmFolderClear = [this](const std::string& scannerDir) {
        if (DeleteWarningForm == nullptr)
            DeleteWarningForm = new TDeleteWarningForm(this);
        return DeleteWarningForm->Execute(scannerDir);
    };
}

void TWriteSetForm::ShowStatus(const char* utf8) {
    StatusBar1->showMessage(Utf8Text(utf8));
}

void TWriteSetForm::SelectFolder(const QString& path) {
    QModelIndex index = folders_->index(path);
    if (index.isValid()) {
        ShellTreeView1->setCurrentIndex(index);
        ShellTreeView1->scrollTo(index);
    }
    PdfSetPathDisp->setText(path);
}

void TWriteSetForm::LoadFrom(const TRegistory& s) {
    const std::string target =
        FolderExists(s.Target) ? s.Target : QStringToSjis(QDir::homePath() + "/");
    SelectFolder(SjisToQString(target));
    const std::array<const std::string*, 4> fronts{&s.L1Front, &s.L2Front, &s.L3Front, &s.L4Front};
    const std::array<const std::string*, 4> backs{&s.L1Back, &s.L2Back, &s.L3Back, &s.L4Back};
    for (std::size_t n = 0; n < 4; ++n) {
        LFront[n]->setText(SjisToQString(*fronts[n]));
        LBack[n]->setText(SjisToQString(*backs[n]));
    }
    HPCodeEdit->setText(SjisToQString(s.HPCode));
    KaCode->setText(SjisToQString(s.KaCode));
    WriteDateChk->setChecked(s.WriteDate);
    NyuGaiOut->setChecked(s.NyuGai);
    CaruteHeaderOut->SetItemIndex(s.HeaderOut);
    WriteProtectChk->setChecked(s.WriteInhibit);
    FirstPageOutCheck->setChecked(s.FirstPage);
    ScanClrCheck->setChecked(s.FolderClear);
    StretchCheck->setChecked(s.Stretch);
    QualitySpin->setValue(s.Quality);
    PolicyCheck->setChecked(s.PolicyUse);
    PdfPageHeight->setText(QString::number(s.PdfPageHeight));
    PdfPageWidth->setText(QString::number(s.PdfPageWidth));
    ScannerDir = s.ScannerDir;
    StatusBar1->clearMessage();
}

bool TWriteSetForm::CheckInput() {
    if (!FolderExists(QStringToSjis(PdfSetPathDisp->text()))) {
        ShowStatus("ベースフォルダーエラー");
        return false;
    }
    static const char* const kLevelErrors[4] = {
        "フォルダー１サイズエラー", "フォルダー２サイズエラー", "フォルダー３サイズエラー",
        "フォルダー４サイズエラー"};
    for (std::size_t n = 0; n < 4; ++n) {
        if (SjisLength(LFront[n]) > 10 || SjisLength(LBack[n]) > 10) {
            ShowStatus(kLevelErrors[n]);
            return false;
        }
    }
    if (SjisLength(KaCode) > 4) {
        ShowStatus("*** 科別区分番号 サイズエラー");
        return false;
    }
    int height = 0, width = 0;
    if (!ParseInt(PdfPageHeight->text(), height)) {
        ShowStatus("縦:数値エラー");
        return false;
    }
    if (!ParseInt(PdfPageWidth->text(), width)) {
        ShowStatus("横:数値エラー");
        return false;
    }
    if (height < 100 || width < 100) {
        ShowStatus("縦か横のサイズが少ないエラー");
        return false;
    }
    return true;
}

void TWriteSetForm::StoreTo(TRegistory& s) const {
    s.Target = QStringToSjis(PdfSetPathDisp->text());
    const std::array<std::string*, 4> fronts{&s.L1Front, &s.L2Front, &s.L3Front, &s.L4Front};
    const std::array<std::string*, 4> backs{&s.L1Back, &s.L2Back, &s.L3Back, &s.L4Back};
    for (std::size_t n = 0; n < 4; ++n) {
        *fronts[n] = QStringToSjis(LFront[n]->text());
        *backs[n] = QStringToSjis(LBack[n]->text());
    }
    s.SetHPCode(QStringToSjis(HPCodeEdit->text()));
    s.SetKaCode(QStringToSjis(KaCode->text()));
    s.WriteDate = WriteDateChk->isChecked();
    s.NyuGai = NyuGaiOut->isChecked();
    s.HeaderOut = CaruteHeaderOut->ItemIndex() < 0 ? 0 : CaruteHeaderOut->ItemIndex();
    s.WriteInhibit = WriteProtectChk->isChecked();
    s.FirstPage = FirstPageOutCheck->isChecked();
    s.FolderClear = ScanClrCheck->isChecked();
    s.Stretch = StretchCheck->isChecked();
    s.Quality = QualitySpin->value();
    s.PolicyUse = PolicyCheck->isChecked();
    int value = 0;
    if (ParseInt(PdfPageHeight->text(), value))
        s.PdfPageHeight = value;
    if (ParseInt(PdfPageWidth->text(), value))
        s.PdfPageWidth = value;
}

void TWriteSetForm::ShellTreeView1Click() {
    QString path = folders_->filePath(ShellTreeView1->currentIndex());
    PdfSetPathDisp->setText(path);
    StatusBar1->showMessage(path);
}

void TWriteSetForm::ScanClrCheckClick() {
    if (ScanClrCheck->isChecked() && ConfirmFolderClear && !ConfirmFolderClear(ScannerDir))
        ScanClrCheck->setChecked(false);
}

void TWriteSetForm::DefaultSizeClick() {
    PdfPageHeight->setText("1000");
    PdfPageWidth->setText("700");
}

void TWriteSetForm::SetButtonClick() {
    if (CheckInput())
        accept();
}

bool SaveSettingClick(TWriteSetForm& form, TRegistory& settings) {
    form.LoadFrom(settings);
    if (form.exec() != QDialog::Accepted)
        return false;
    form.StoreTo(settings);
    return true;
}

} // namespace pendlar
