#include "intake/ui/ReadSettingUnit.h"

#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"
#include "util/ui/RadioGroup.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace pendlar {

TReadSet::TReadSet(QWidget* parent) : QDialog(parent) {
    setObjectName("ReadSet");
    setWindowTitle(Utf8Text("読込設定"));
    auto* main = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    main->addLayout(columns, 1);

    auto* left = new QVBoxLayout;
    FolderModel = new QFileSystemModel(this);
    FolderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    FolderModel->setRootPath("/");
    ShellTreeView1 = new QTreeView;
    ShellTreeView1->setObjectName("ShellTreeView1");
    ShellTreeView1->setModel(FolderModel);
    for (int c = 1; c < FolderModel->columnCount(); ++c)
        ShellTreeView1->hideColumn(c);
    ShellTreeView1->setHeaderHidden(true);
    ShellTreeView1->setMinimumSize(260, 300);
    left->addWidget(new QLabel(Utf8Text("スキャナーフォルダー")));
    left->addWidget(ShellTreeView1, 1);
    ScanPathDisp = new QLineEdit;
    ScanPathDisp->setObjectName("ScanPathDisp");
    ScanPathDisp->setReadOnly(true);
    left->addWidget(ScanPathDisp);
    columns->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* types = new QGroupBox(Utf8Text("ファイル形式"));
    auto* tl = new QGridLayout(types);
    JpegBox = new QCheckBox("JPEG");
    TiffBox = new QCheckBox("TIFF");
    BitmapBox = new QCheckBox("BITMAP");
    PngBox = new QCheckBox("PNG");
    DicomBox = new QCheckBox("DICOM");
    DicomTextBox = new QCheckBox(Utf8Text("付属ＴＥＸＴを注釈にする。"));
    tl->addWidget(JpegBox, 0, 0);
    tl->addWidget(TiffBox, 0, 1);
    tl->addWidget(BitmapBox, 0, 2);
    tl->addWidget(PngBox, 1, 0);
    tl->addWidget(DicomBox, 1, 1);
    tl->addWidget(DicomTextBox, 2, 0, 1, 3);
    right->addWidget(types);

    order = new RadioGroup(Utf8Text("読込順"),
                           {Utf8Text("指定順に従う"), Utf8Text("指定順と逆にする")});
    right->addWidget(order);

    auto* idBox = new QWidget;
    auto* il = new QGridLayout(idBox);
    il->setContentsMargins(0, 0, 0, 0);
    IdGetRadio = new RadioGroup(Utf8Text("患者番号の取り込み"),
                                {Utf8Text("QRコードで取り込みする。　明暗"),
                                 Utf8Text("ファイル名で取り込みする。"), Utf8Text("手入力する。")});
    il->addWidget(IdGetRadio, 0, 0, 3, 1);
    QRSpin = new QSpinBox;
    QRSpin->setRange(1, 255);
    il->addWidget(QRSpin, 0, 1);
    il->addWidget(new QLabel(Utf8Text("患者番号の開始位置")), 1, 1);
    PosSpin = new QSpinBox;
    PosSpin->setRange(1, 999);
    il->addWidget(PosSpin, 1, 2);
    il->addWidget(new QLabel(Utf8Text("最大サイズ")), 2, 1);
    SizeSpin = new QSpinBox;
    SizeSpin->setRange(1, 8);
    il->addWidget(SizeSpin, 2, 2);
    right->addWidget(idBox);

    ImSizeRadio = new RadioGroup(
        Utf8Text("ページ確認の画像サイズ"),
        {Utf8Text("最小"), Utf8Text("小"), Utf8Text("中"), Utf8Text("大"), Utf8Text("最大")});
    right->addWidget(ImSizeRadio);
    ThumbCheck = new QCheckBox(Utf8Text("ページ確認のサムネイルをストレッチする。"));
    right->addWidget(ThumbCheck);
    UseIryoJyoho = new QCheckBox(Utf8Text("医療事務情報を使用する。"));
    right->addWidget(UseIryoJyoho);
    right->addStretch();
    columns->addLayout(right);

    auto* buttons = new QDialogButtonBox;
    auto* ok = buttons->addButton(Utf8Text("設定"), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(Utf8Text("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setObjectName("OKBtn");
    cancel->setObjectName("CancelBtn");
    main->addWidget(buttons);
    StatusBar1 = new QStatusBar;
    main->addWidget(StatusBar1);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ShellTreeView1, &QTreeView::clicked, this, [this](const QModelIndex&) {
        ScanPathDisp->setText(SelectedFolder());
        StatusBar1->showMessage(SelectedFolder());
    });
    IdGetRadio->OnClick = [this] { IdGetRadioClick(); };
    connect(DicomBox, &QCheckBox::clicked, this, [this] { DicomBoxClick(); });
}

void TReadSet::SelectFolder(const QString& folder) {
    const QModelIndex index = FolderModel->index(folder);
    ShellTreeView1->setCurrentIndex(index);
    ShellTreeView1->scrollTo(index);
}

QString TReadSet::SelectedFolder() const {
    const QModelIndex index = ShellTreeView1->currentIndex();
    return index.isValid() ? FolderModel->filePath(index) : QString();
}

void TReadSet::IdGetRadioClick() {
    const bool byName = IdGetRadio->ItemIndex() == 1;
    PosSpin->setEnabled(byName);
    SizeSpin->setEnabled(byName);
    QRSpin->setReadOnly(IdGetRadio->ItemIndex() != 0);
}

void TReadSet::DicomBoxClick() {
    DicomTextBox->setEnabled(DicomBox->isChecked());
}

void TReadSet::Load(const ReadSettings& v) {
    const std::string start = FolderExists(v.ScannerDir) ? v.ScannerDir : HomeFolder();
    QString folder = QString::fromStdString(SjisPathToFileName(start));
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    SelectFolder(folder);
    ScanPathDisp->setText(SelectedFolder());
    JpegBox->setChecked(v.JpegType);
    TiffBox->setChecked(v.TiffType);
    BitmapBox->setChecked(v.BitmapType);
    PngBox->setChecked(v.PngType);
    DicomBox->setChecked(v.DicomType);
    DicomTextBox->setChecked(v.DicomText);
    DicomBoxClick();
    order->SetItemIndex(v.Sequence);
    IdGetRadio->SetItemIndex(v.IdNoGet);
    QRSpin->setValue(v.Resolver);
    PosSpin->setValue(v.IdNoPosition);
    SizeSpin->setValue(v.IdNoMaxSize);
    IdGetRadioClick();
    ImSizeRadio->SetItemIndex(v.ImSize);
    ThumbCheck->setChecked(v.ThumbStrech);
    UseIryoJyoho->setChecked(v.UseIryoData);
}

void TReadSet::Store(ReadSettings& v) const {
    const QString folder = SelectedFolder();
    if (!folder.isEmpty())
        v.ScannerDir = FileNameToSjisPath(folder.toStdString());
    v.JpegType = JpegBox->isChecked();
    v.TiffType = TiffBox->isChecked();
    v.BitmapType = BitmapBox->isChecked();
    v.PngType = PngBox->isChecked();
    v.DicomType = DicomBox->isChecked();
    v.DicomText = DicomTextBox->isChecked();
    v.Sequence = std::max(order->ItemIndex(), 0);
    v.IdNoGet = std::max(IdGetRadio->ItemIndex(), 0);
    v.Resolver = QRSpin->value();
    v.IdNoPosition = PosSpin->value();
    v.IdNoMaxSize = SizeSpin->value();
    v.ImSize = std::max(ImSizeRadio->ItemIndex(), 0);
    v.ThumbStrech = ThumbCheck->isChecked();
    v.UseIryoData = UseIryoJyoho->isChecked();
}

bool TReadSet::Execute(ReadSettings& values) {
    Load(values);
    if (exec() != QDialog::Accepted)
        return false;
    Store(values);
    return true;
}

} // namespace pendlar
