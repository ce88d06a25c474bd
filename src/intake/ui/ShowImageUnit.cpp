#include "intake/ui/ShowImageUnit.h"

#include "intake/DicomImage.h"
#include "intake/ImageControl.h"
#include "intake/ImageFile.h"
#include "intake/ui/EditorArt.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/ui/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>

namespace pendlar {
namespace {

QImage ToQImage(const Bitmap& source) {
    const Bitmap converted = source.Format() == PixelFormat::Rgb24 ? Bitmap() : source.ToRgb24();
    const Bitmap& rgb = source.Format() == PixelFormat::Rgb24 ? source : converted;
    QImage image(rgb.Width(), rgb.Height(), QImage::Format_RGB32);
    for (int y = 0; y < rgb.Height(); ++y) {
        const std::uint8_t* s = rgb.Row(y);
        QRgb* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < rgb.Width(); ++x, s += 3)
            d[x] = qRgb(s[0], s[1], s[2]);
    }
    return image;
}

Bitmap ToBitmap(const QImage& image) {
    const QImage src = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    Bitmap out(src.width(), src.height(), PixelFormat::Rgb24);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        std::uint8_t* d = out.Row(y);
        for (int x = 0; x < src.width(); ++x, d += 3) {
            d[0] = static_cast<std::uint8_t>(qRed(s[x]));
            d[1] = static_cast<std::uint8_t>(qGreen(s[x]));
            d[2] = static_cast<std::uint8_t>(qBlue(s[x]));
        }
    }
    return out;
}

// The extension of a path's file name, with its dot ("" when it has none).
std::string Extension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return path.substr(dot);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A file the owner may not write to; one whose state cannot be read is not called
// read-only, so the write itself then says what is wrong.
bool IsReadOnly(const std::string& sjisPath) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(FsPath(sjisPath), ec);
    if (ec || !std::filesystem::exists(st))
        return false;
    return (st.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

// Loads a page the way the intake does: a ".dcm" file through the DICOM reader, any
// other through the image loaders.
std::optional<Bitmap> LoadPage(const std::string& path, UserInterface& ui) {
    if (Extension(path) != ".dcm")
        return LoadImageFile(path);
    try {
        TDicomImage dicom(ui);
        if (!dicom.Read(path) || !dicom.ImageUsable() || !dicom.Render(1, true, path))
            return std::nullopt;
        if (dicom.Image().Empty())
            return std::nullopt;
        return dicom.Image();
    } catch (const EDicomOpenError&) {
        return std::nullopt;
    }
}

// The clipboard's text up to its first line break, as a single-line edit would take it.
QString ClipboardFirstLine() {
    QString text = QApplication::clipboard()->text();
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

bool ClipboardHasText() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

QToolButton* MakeButton(const char* utf8Caption, const QIcon& icon = QIcon()) {
    auto* b = new QToolButton;
    b->setText(Utf8Text(utf8Caption));
    b->setToolTip(Utf8Text(utf8Caption));
    if (!icon.isNull()) {
        b->setIcon(icon);
        b->setIconSize(QSize(24, 24));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    return b;
}

} // namespace

// The page at the current zoom. It paints only the part of the display image that is
// exposed, so a stroke on a full-page scan repaints quickly at any zoom.
class TImageShow::Canvas : public QWidget {
public:
    Canvas(TImageShow* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
        setObjectName("Image1");
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        const QImage& image = owner_->display_;
        const QRect r = event->rect();
        if (image.isNull()) {
            p.fillRect(r, palette().window());
            return;
        }
        const double z = owner_->ZoomFactor();
        const int x0 = std::clamp(static_cast<int>(std::floor(r.left() / z)), 0, image.width());
        const int y0 = std::clamp(static_cast<int>(std::floor(r.top() / z)), 0, image.height());
        const int x1 =
            std::clamp(static_cast<int>(std::ceil((r.right() + 1) / z)) + 1, 0, image.width());
        const int y1 =
            std::clamp(static_cast<int>(std::ceil((r.bottom() + 1) / z)) + 1, 0, image.height());
        if (x1 <= x0 || y1 <= y0)
            return;
        // Below full size a smoothed picture keeps thin pen lines and small print visible.
        p.setRenderHint(QPainter::SmoothPixmapTransform, z < 1.0);
        p.drawImage(QRectF(x0 * z, y0 * z, (x1 - x0) * z, (y1 - y0) * z), image,
                    QRectF(x0, y0, x1 - x0, y1 - y0));
    }
    void mousePressEvent(QMouseEvent* e) override {
        owner_->Image1MouseDown(e->button(), e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        owner_->Image1MouseMove(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        owner_->Image1MouseUp(e->button(), e->position().toPoint());
    }

private:
    TImageShow* owner_;
};

TImageShow::TImageShow(UserInterface& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName("ImageShow");
    setWindowTitle(Utf8Text("ページ編集"));
    for (int t = 0; t < 7; ++t) {
        toolIcons_[t] = EditorToolIcon(t);
        cursors_[t] = EditorToolCursor(t);
    }
    BuildWindow();
    SetTextFont(StrBox->font());
    SetEditingEnabled(false);
    ShowZoom();
}

TImageShow::~TImageShow() = default;

QCursor TImageShow::ToolCursor(int number) const {
    if (number < 100 || number > 106)
        return QCursor(Qt::ArrowCursor);
    return cursors_[number - 100];
}

void TImageShow::BuildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);

    // Tool bars.
    const char* barTitles[kBars] = {"しおり", "ズーム表示", "道具", "線", "色", "文字", "回転"};
    for (int i = 0; i < kBars; ++i) {
        Bars[i] = new QToolBar(Utf8Text(barTitles[i]), this);
        Bars[i]->setIconSize(QSize(24, 24));
        Bars[i]->setMovable(false);
    }

    ShioriBox = new QComboBox;
    ShioriBox->setObjectName("ShioriBox");
    ShioriBox->setEditable(true);
    ShioriBox->setInsertPolicy(QComboBox::NoInsert);
    ShioriBox->setMinimumWidth(180);
    ShioriBox->setToolTip(Utf8Text("しおり"));
    ImageSaveBtn = MakeButton("イメージ保存", EditorButtonIcon(EditorIcon::Save));
    ImageSaveBtn->setObjectName("ImageSaveBtn");
    Bars[ShioriBar]->addWidget(new QLabel(Utf8Text(" しおり ")));
    Bars[ShioriBar]->addWidget(ShioriBox);
    Bars[ShioriBar]->addWidget(ImageSaveBtn);

    ZoomInBtn = MakeButton("拡大", EditorButtonIcon(EditorIcon::ZoomIn));
    ZoomOutBtn = MakeButton("縮小", EditorButtonIcon(EditorIcon::ZoomOut));
    Bars[ZoomBar]->addWidget(ZoomInBtn);
    Bars[ZoomBar]->addWidget(ZoomOutBtn);

    PenBtn = MakeButton("ペン", toolIcons_[Pen]);
    EraseBtn = MakeButton("消しゴム", toolIcons_[Eraser]);
    LineBtn = MakeButton("直線", toolIcons_[Line]);
    CurcleBtn = MakeButton("円", toolIcons_[Ellipse]);
    SquareBtn = MakeButton("四角", toolIcons_[Rectangle]);
    DispToolBtn = new QToolButton;
    DispToolBtn->setToolTip(Utf8Text("現在の道具"));
    DispToolBtn->setIconSize(QSize(24, 24));
    DispToolBtn->setFixedSize(40, 40);
    DispToolBtn->setAutoRaise(false);
    DispToolBtn->setFocusPolicy(Qt::NoFocus);
    UndoBtn = MakeButton("戻す", EditorButtonIcon(EditorIcon::Undo));
    for (QToolButton* b : {PenBtn, EraseBtn, LineBtn, CurcleBtn, SquareBtn, DispToolBtn, UndoBtn})
        Bars[ToolBar]->addWidget(b);

    DotSizeBox = new QComboBox;
    DotSizeBox->setToolTip(Utf8Text("線幅"));
    for (const char* w : {"極細", "細線", "標準", "太線", "極太"})
        DotSizeBox->addItem(Utf8Text(w));
    DotSizeBox->setCurrentIndex(2);
    Bars[LineBar]->addWidget(new QLabel(Utf8Text(" 線幅 ")));
    Bars[LineBar]->addWidget(DotSizeBox);

    ColorBtn = MakeButton("色", EditorButtonIcon(EditorIcon::Colour));
    SpoitBtn = MakeButton("スポイト", toolIcons_[Spoit]);
    ColorPanel = new QLabel;
    ColorPanel->setToolTip(Utf8Text("現在の色"));
    ColorPanel->setFixedSize(26, 26);
    Bars[ColorBar]->addWidget(ColorBtn);
    Bars[ColorBar]->addWidget(SpoitBtn);
    Bars[ColorBar]->addWidget(ColorPanel);

    StrSetBtn = MakeButton("文字", toolIcons_[Text]);
    StrPropertyBtn = MakeButton("文字のプロパティ", EditorButtonIcon(EditorIcon::Font));
    StrBox = new QComboBox;
    StrBox->setObjectName("StrBox");
    StrBox->setEditable(true);
    StrBox->setInsertPolicy(QComboBox::NoInsert);
    StrBox->setMinimumWidth(180);
    StrBox->setToolTip(Utf8Text("コメント"));
    Bars[TextBar]->addWidget(StrSetBtn);
    Bars[TextBar]->addWidget(StrPropertyBtn);
    Bars[TextBar]->addWidget(StrBox);

    RotLeftBtn = MakeButton("左へ９０°回転", EditorButtonIcon(EditorIcon::RotateLeft));
    RotRieghtBtn = MakeButton("右へ９０°回転", EditorButtonIcon(EditorIcon::RotateRight));
    UpDownBtn = MakeButton("１８０°回転", EditorButtonIcon(EditorIcon::Rotate180));
    Bars[RotateBar]->addWidget(RotLeftBtn);
    Bars[RotateBar]->addWidget(RotRieghtBtn);
    Bars[RotateBar]->addWidget(UpDownBtn);

    auto* row1 = new QHBoxLayout;
    auto* row2 = new QHBoxLayout;
    for (int i : {ShioriBar, ZoomBar, ToolBar})
        row1->addWidget(Bars[i]);
    for (int i : {LineBar, ColorBar, TextBar, RotateBar})
        row2->addWidget(Bars[i]);
    row1->addStretch();
    row2->addStretch();
    layout->addLayout(row1);
    layout->addLayout(row2);

    // The page and the notes.
    ScrollBox = new QScrollArea;
    ScrollBox->setBackgroundRole(QPalette::Dark);
    Image1 = new Canvas(this, nullptr);
    ScrollBox->setWidget(Image1);
    ScrollBox->setWidgetResizable(false);
    TextDisplay = new QLabel(Image1);
    TextDisplay->setObjectName("TextDisplay");
    TextDisplay->setAttribute(Qt::WA_TransparentForMouseEvents);
    TextDisplay->setContentsMargins(0, 0, 0, 0);
    TextDisplay->setMargin(0);
    TextDisplay->setIndent(0);
    TextDisplay->hide();

    auto* notes = new QWidget;
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(4, 4, 4, 4);
    notesLayout->addWidget(new QLabel(Utf8Text("注釈")));
    NoteMemo = new QPlainTextEdit;
    NoteMemo->setObjectName("NoteMemo");
    notesLayout->addWidget(NoteMemo);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(ScrollBox);
    split->addWidget(notes);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({820, 240});
    layout->addWidget(split, 1);

    StatusBar = new QStatusBar;
    StatusBar->setSizeGripEnabled(false);
    StatusZoom = new QLabel;
    StatusZoom->setMinimumWidth(60);
    StatusMessage = new QLabel;
    StatusBar->addWidget(StatusZoom);
    StatusBar->addWidget(StatusMessage, 1);
    layout->addWidget(StatusBar);

    // Menus.
    FileMenu = menuBar->addMenu(Utf8Text("ファイル"));
    SaveMenu = FileMenu->addAction(Utf8Text("保存"));
    CloseMenu = FileMenu->addAction(Utf8Text("閉じる"));
    EditMenu = menuBar->addMenu(Utf8Text("編集"));
    ShioriAddMenu = EditMenu->addAction(Utf8Text("しおり 登録"));
    ShioriPasteMenu = EditMenu->addAction(Utf8Text("しおり 貼り付け"));
    CommentAddMenu = EditMenu->addAction(Utf8Text("コメント 登録"));
    CommentPasteMenu = EditMenu->addAction(Utf8Text("コメント 貼り付け"));
    EditMenu->addSeparator();
    NoteClearMenu = EditMenu->addAction(Utf8Text("注釈 クリア"));
    NoteCopyMenu = EditMenu->addAction(Utf8Text("注釈 コピー"));
    NoteCutMenu = EditMenu->addAction(Utf8Text("注釈 切り取り"));
    NotePasteMenu = EditMenu->addAction(Utf8Text("注釈 貼り付け"));
    ViewMenu = menuBar->addMenu(Utf8Text("表示"));
    for (int i = 0; i < kBars; ++i) {
        BarMenus[i] = ViewMenu->addAction(Utf8Text(barTitles[i]));
        BarMenus[i]->setCheckable(true);
        BarMenus[i]->setChecked(true);
        QToolBar* bar = Bars[i];
        connect(BarMenus[i], &QAction::toggled, bar, [bar](bool on) { bar->setVisible(on); });
    }

    // Wiring.
    connect(ZoomInBtn, &QToolButton::clicked, this, [this] { ZoomInBtnClick(); });
    connect(ZoomOutBtn, &QToolButton::clicked, this, [this] { ZoomOutBtnClick(); });
    connect(PenBtn, &QToolButton::clicked, this, [this] { ChooseTool(Pen); });
    connect(EraseBtn, &QToolButton::clicked, this, [this] { ChooseTool(Eraser); });
    connect(LineBtn, &QToolButton::clicked, this, [this] { ChooseTool(Line); });
    connect(CurcleBtn, &QToolButton::clicked, this, [this] { ChooseTool(Ellipse); });
    connect(SquareBtn, &QToolButton::clicked, this, [this] { ChooseTool(Rectangle); });
    connect(SpoitBtn, &QToolButton::clicked, this, [this] { ChooseTool(Spoit); });
    connect(StrSetBtn, &QToolButton::clicked, this, [this] { StrSetBtnClick(); });
    connect(UndoBtn, &QToolButton::clicked, this, [this] { UndoBtnClick(); });
    connect(DotSizeBox, &QComboBox::currentIndexChanged, this,
            [this](int i) { DotSizeBoxChange(i); });
    connect(ColorBtn, &QToolButton::clicked, this, [this] { ColorBtnClick(); });
    connect(StrPropertyBtn, &QToolButton::clicked, this, [this] { StrPropertyBtnClick(); });
    connect(RotLeftBtn, &QToolButton::clicked, this, [this] { RotLeftBtnClick(); });
    connect(RotRieghtBtn, &QToolButton::clicked, this, [this] { RotRieghtBtnClick(); });
    connect(UpDownBtn, &QToolButton::clicked, this, [this] { UpDownBtnClick(); });
    connect(ImageSaveBtn, &QToolButton::clicked, this, [this] { SaveClick(); });
    connect(SaveMenu, &QAction::triggered, this, [this] { SaveClick(); });
    connect(CloseMenu, &QAction::triggered, this, [this] { close(); });
    connect(EditMenu, &QMenu::aboutToShow, this, [this] { EditMenuPopup(); });
    connect(ShioriAddMenu, &QAction::triggered, this, [this] { ShioriAddClick(); });
    connect(ShioriPasteMenu, &QAction::triggered, this, [this] { ShioriPasteClick(); });
    connect(CommentAddMenu, &QAction::triggered, this, [this] { CommentAddClick(); });
    connect(CommentPasteMenu, &QAction::triggered, this, [this] { CommentPasteClick(); });
    connect(NoteClearMenu, &QAction::triggered, NoteMemo, &QPlainTextEdit::clear);
    connect(NoteCopyMenu, &QAction::triggered, NoteMemo, &QPlainTextEdit::copy);
    connect(NoteCutMenu, &QAction::triggered, NoteMemo, &QPlainTextEdit::cut);
    connect(NotePasteMenu, &QAction::triggered, NoteMemo, &QPlainTextEdit::paste);

    SetCurrentColor(Qt::black);
    resize(1100, 800);
}

void TImageShow::SetEditingEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             ZoomInBtn, ZoomOutBtn, PenBtn, EraseBtn, LineBtn, CurcleBtn, SquareBtn, DotSizeBox,
             ColorBtn, SpoitBtn, StrSetBtn, StrPropertyBtn, RotLeftBtn, RotRieghtBtn, UpDownBtn,
             ImageSaveBtn})
        w->setEnabled(on);
    SaveMenu->setEnabled(on);
    if (!on)
        UndoBtn->setEnabled(false);
}

void TImageShow::Message(const char* utf8) {
    StatusMessage->setText(Utf8Text(utf8));
}

EditorResult TImageShow::EditPage(const std::string& sjisPath, const std::string& caption,
                                  const std::vector<std::string>& notes, int zoomStep) {
    Open(sjisPath, caption, notes, zoomStep);
    exec();
    return Result();
}

void TImageShow::Open(const std::string& sjisPath, const std::string& caption,
                      const std::vector<std::string>& notes, int zoomStep) {
    path_ = sjisPath;
    rewritten_ = false;
    loaded_ = false;
    drawing_ = false;
    working_ = display_ = undo_ = QImage();
    StatusMessage->clear();
    zoomStep_ = std::clamp(zoomStep, 0, kZoomSteps - 1);

    ShioriBox->clear();
    for (const std::string& s : ShioriList)
        ShioriBox->addItem(SjisToQString(s));
    ShioriBox->setEditText(SjisToQString(caption));
    const QString comment = StrBox->currentText();
    StrBox->clear();
    for (const std::string& s : CommentList)
        StrBox->addItem(SjisToQString(s));
    StrBox->setEditText(comment);
    QStringList lines;
    for (const std::string& s : notes)
        lines << SjisToQString(s);
    NoteMemo->setPlainText(lines.join(QLatin1Char('\n')));

    // A fresh start in every case, so nothing of an earlier page survives a failed load.
    tool_ = NoTool;
    DispToolBtn->setIcon(QIcon());
    Image1->unsetCursor();
    TextDisplay->hide();
    SetCurrentColor(Qt::black);
    lineWidth_ = 3;
    DotSizeBox->setCurrentIndex(2);
    UndoBtn->setEnabled(false);

    std::optional<Bitmap> page = LoadPage(path_, ui_);
    if (!page || page->Empty()) {
        SetEditingEnabled(false);
        ApplyZoom();
        ShowZoom();
        Message("ファイルを開くことができません。");
        return;
    }
    format_ = page->Format();
    palette_ = page->Palette();
    working_ = ToQImage(*page);
    loaded_ = true;
    SetEditingEnabled(true);

    SetTextFont(StrBox->font());
    ApplyZoom();
    ShowZoom();
}

EditorResult TImageShow::Result() const {
    EditorResult r;
    r.Bookmark = CutAtCharBoundary(QStringToSjis(ShioriBox->currentText()), 16);
    const QString text = NoteMemo->toPlainText();
    if (!text.isEmpty()) {
        QStringList lines = text.split(QLatin1Char('\n'));
        // A final line break ends the last line; it does not start another.
        if (text.endsWith(QLatin1Char('\n')))
            lines.removeLast();
        for (const QString& l : lines)
            r.Notes.push_back(QStringToSjis(l));
    }
    r.ZoomStep = zoomStep_;
    r.Rewritten = rewritten_;
    return r;
}

void TImageShow::ShowZoom() {
    StatusZoom->setText(QString::number(ZoomFactor(), 'f', 2));
}

QFont TImageShow::ScaledTextFont() const {
    QFont f = textFont_;
    f.setPixelSize(
        std::max(1, static_cast<int>(std::lround(textFont_.pixelSize() * ZoomFactor()))));
    return f;
}

void TImageShow::SetTextFont(const QFont& font) {
    QFont f = font;
    // Stamps are measured in image pixels; the preview scales them by the zoom.
    if (f.pixelSize() <= 0)
        f.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
    textFont_ = f;
    TextDisplay->setFont(ScaledTextFont());
    TextDisplay->adjustSize();
}

void TImageShow::SetCurrentColor(const QColor& c) {
    colour_ = c;
    // A style sheet, because some widget styles paint a label's own background over its
    // palette.
    ColorPanel->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid #555;").arg(c.name()));
    QPalette text = TextDisplay->palette();
    text.setColor(QPalette::WindowText, c);
    TextDisplay->setPalette(text);
}

void TImageShow::ApplyZoom() {
    const double z = ZoomFactor();
    Image1->setFixedSize(static_cast<int>(working_.width() * z),
                         static_cast<int>(working_.height() * z));
    display_ = working_;
    TextDisplay->setFont(ScaledTextFont());
    TextDisplay->adjustSize();
    Image1->update();
}

void TImageShow::ZoomInBtnClick() {
    zoomStep_ = std::min(zoomStep_ + 1, kZoomSteps - 1);
    ApplyZoom();
    ShowZoom();
}

void TImageShow::ZoomOutBtnClick() {
    zoomStep_ = std::max(zoomStep_ - 1, 0);
    ApplyZoom();
    ShowZoom();
}

void TImageShow::ChooseTool(Tool tool) {
    if (tool < Pen || tool > Text)
        return;
    DispToolBtn->setIcon(toolIcons_[tool]);
    tool_ = tool;
    Image1->setCursor(cursors_[tool]);
}

void TImageShow::StrSetBtnClick() {
    ChooseTool(Text);
    TextDisplay->setText(StrBox->currentText());
    TextDisplay->setFont(ScaledTextFont());
    TextDisplay->adjustSize();
    TextDisplay->hide();
}

void TImageShow::DotSizeBoxChange(int index) {
    lineWidth_ = std::clamp(index + 1, 1, 5);
}

void TImageShow::ColorBtnClick() {
    const QColor c = QColorDialog::getColor(colour_, this, Utf8Text("色"));
    if (c.isValid())
        SetCurrentColor(c);
}

void TImageShow::StrPropertyBtnClick() {
    bool ok = false;
    QFont shown = textFont_;
    const QFont f = QFontDialog::getFont(&ok, shown, this, Utf8Text("文字のプロパティ"));
    if (ok) {
        QFont chosen = f;
        chosen.setPixelSize(std::max(1, QFontInfo(f).pixelSize()));
        SetTextFont(chosen);
    }
}

void TImageShow::Rotate(int how) {
    if (!loaded_ || drawing_)
        return;
    undo_ = working_;
    UndoBtn->setEnabled(true);
    TImageUnit unit;
    const Bitmap page = ToBitmap(working_);
    if (how < 0)
        unit.RotateLeft(page);
    else if (how > 0)
        unit.RotateRight(page);
    else
        unit.Rotate180(page);
    working_ = ToQImage(unit.Image());
    ApplyZoom();
}

void TImageShow::RotLeftBtnClick() {
    Rotate(-1);
}

void TImageShow::RotRieghtBtnClick() {
    Rotate(1);
}

void TImageShow::UpDownBtnClick() {
    Rotate(0);
}

void TImageShow::UndoBtnClick() {
    if (!loaded_ || undo_.isNull() || drawing_)
        return;
    working_ = undo_;
    undo_ = QImage();
    ApplyZoom();
    UndoBtn->setEnabled(false);
}

void TImageShow::SaveClick() {
    StatusMessage->clear();
    // Without a loaded page there is nothing of this page to write.
    if (!loaded_)
        return;
    if (IsReadOnly(path_)) {
        Message("書き込み禁止です。");
        return;
    }
    if (Lower(Extension(path_)) == ".dcm") {
        Message("DicomFileへの変更書き込みはできません。");
        return;
    }
    Bitmap like(1, 1, format_);
    like.Palette() = palette_;
    const Bitmap image = MatchPaletteOf(ToBitmap(working_), like);
    std::string error;
    if (!SaveImageFile(image, path_, &error)) {
        Message("イメージを保存できませんでした。");
        ui_.Message(SjisOf("イメージを保存できませんでした。"), "", MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    rewritten_ = true;
}

void TImageShow::EditMenuPopup() {
    const bool text = ClipboardHasText();
    ShioriPasteMenu->setEnabled(text);
    CommentPasteMenu->setEnabled(text);
}

void TImageShow::ShioriAddClick() {
    const QString text = ShioriBox->currentText();
    if (text.isEmpty())
        return;
    ShioriList.push_back(QStringToSjis(text));
    ShioriBox->addItem(text);
    ShioriBox->setEditText(text);
}

void TImageShow::CommentAddClick() {
    const QString text = StrBox->currentText();
    if (text.isEmpty())
        return;
    CommentList.push_back(QStringToSjis(text));
    StrBox->addItem(text);
    StrBox->setEditText(text);
}

void TImageShow::ShioriPasteClick() {
    if (ClipboardHasText())
        ShioriBox->setEditText(ClipboardFirstLine());
}

void TImageShow::CommentPasteClick() {
    if (ClipboardHasText())
        StrBox->setEditText(ClipboardFirstLine());
}

QPoint TImageShow::Map(QPoint pos) const {
    const double z = ZoomFactor();
    return QPoint(static_cast<int>(pos.x() / z), static_cast<int>(pos.y() / z));
}

namespace {

QPen StrokePen(const QColor& c, int width) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The rubber figure drawn by inverting the display, so that drawing it twice leaves the
// picture as it was.
void Xor(QImage& image, const std::function<void(QPainter&)>& draw, int width) {
    QPainter p(&image);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(StrokePen(Qt::white, width));
    p.setBrush(Qt::NoBrush);
    draw(p);
}

QRectF FigureRect(QPoint a, QPoint b) {
    return QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                  QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

} // namespace

void TImageShow::Image1MouseDown(Qt::MouseButton button, QPoint pos) {
    if (button != Qt::LeftButton || tool_ == NoTool || !loaded_ || drawing_)
        return;
    const QPoint at = Map(pos);
    // The colour picker changes nothing, so it keeps the last stroke undoable.
    if (tool_ != Spoit)
        undo_ = working_;
    start_ = end_ = prevEnd_ = at;
    drawing_ = true;
    switch (tool_) {
    case Pen:
    case Eraser:
        penPos_ = at;
        UndoBtn->setEnabled(true);
        break;
    case Line:
    case Ellipse:
    case Rectangle:
        UndoBtn->setEnabled(true);
        break;
    case Text:
        UndoBtn->setEnabled(true);
        TextDisplay->setText(StrBox->currentText());
        TextDisplay->setFont(ScaledTextFont());
        TextDisplay->adjustSize();
        TextDisplay->move(pos);
        TextDisplay->show();
        TextDisplay->raise();
        break;
    default:
        break;
    }
}

void TImageShow::Image1MouseMove(QPoint pos) {
    if (!drawing_)
        return;
    end_ = Map(pos);
    switch (tool_) {
    case Pen:
    case Eraser: {
        const QPen pen = StrokePen(tool_ == Pen ? colour_ : QColor(Qt::white), lineWidth_);
        for (QImage* image : {&working_, &display_}) {
            QPainter p(image);
            p.setPen(pen);
            p.drawLine(penPos_, end_);
        }
        penPos_ = end_;
        break;
    }
    case Line: {
        auto segment = [this](QPoint b) {
            return [this, b](QPainter& p) { p.drawLine(start_, b); };
        };
        // Nothing is on the display at the first move, so there is nothing to take away.
        if (prevEnd_ != start_)
            Xor(display_, segment(prevEnd_), lineWidth_);
        if (end_ != start_)
            Xor(display_, segment(end_), lineWidth_);
        prevEnd_ = end_;
        break;
    }
    case Ellipse:
    case Rectangle: {
        auto figure = [this](QPoint b) {
            return [this, b](QPainter& p) {
                if (tool_ == Ellipse)
                    p.drawEllipse(FigureRect(start_, b));
                else
                    p.drawRect(FigureRect(start_, b));
            };
        };
        if (prevEnd_ != start_)
            Xor(display_, figure(prevEnd_), lineWidth_);
        if (end_ != start_)
            Xor(display_, figure(end_), lineWidth_);
        prevEnd_ = end_;
        break;
    }
    case Text:
        TextDisplay->move(pos);
        return;
    default:
        return;
    }
    Image1->update();
}

void TImageShow::Image1MouseUp(Qt::MouseButton button, QPoint pos) {
    if (button != Qt::LeftButton || !drawing_)
        return;
    end_ = Map(pos);
    drawing_ = false;
    switch (tool_) {
    case Line: {
        QPainter p(&working_);
        p.setPen(StrokePen(colour_, lineWidth_));
        p.drawLine(start_, end_);
        break;
    }
    case Ellipse:
    case Rectangle: {
        QPainter p(&working_);
        p.setPen(StrokePen(colour_, lineWidth_));
        p.setBrush(Qt::NoBrush);
        if (tool_ == Ellipse)
            p.drawEllipse(FigureRect(start_, end_));
        else
            p.drawRect(FigureRect(start_, end_));
        break;
    }
    case Spoit:
        if (working_.rect().contains(start_))
            SetCurrentColor(working_.pixelColor(start_));
        break;
    case Text:
        TextDisplay->move(pos);
        WriteText(end_);
        TextDisplay->hide();
        break;
    default:
        break;
    }
    // The display becomes the working image again, which also takes away the last rubber
    // figure wherever the button was let go.
    display_ = working_;
    Image1->update();
}

void TImageShow::WriteText(QPoint at) {
    const QString text = StrBox->currentText();
    if (text.isEmpty())
        return;
    QPainter p(&working_);
    p.setFont(textFont_);
    p.setPen(colour_);
    p.setBrush(Qt::NoBrush);
    p.drawText(QPoint(at.x(), at.y() + QFontMetrics(textFont_).ascent()), text);
}

} // namespace pendlar
