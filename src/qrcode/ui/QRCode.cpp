#include "qrcode/ui/QRCode.h"

#include "qrcode/ui/QPictureCanvas.h"
#include "util/Sjis.h"

#include <QBitmap>
#include <QBuffer>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QTimer>

#include <cstring>

namespace pendlar {
namespace {

QString SjisText(const std::string& sjis) {
    const std::u16string u = SjisToUtf16(sjis);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

Rgb ToRgb(const QColor& c) {
    return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue())};
}

} // namespace

TQRCode::TQRCode(QWidget* parent) : QWidget(parent), vector_(std::make_unique<QPictureCanvas>()) {
    vector_->SetFont(comFont_, comFontColor_);
    core_.VectorPicture = vector_.get();
    core_.CommentRenderer = [this](const std::string& sjis, Rgb background) {
        return RenderComment(sjis, background);
    };
    auto forward = [this](TNotifyWatchEvent TQRCode::*event) {
        return [this, event](bool watch) {
            if (this->*event)
                (this->*event)(*this, watch);
        };
    };
    core_.OnChangeCode = forward(&TQRCode::OnChangeCode);
    core_.OnChangedCode = forward(&TQRCode::OnChangedCode);
    core_.OnPaintSymbol = [this, event = forward(&TQRCode::OnPaintSymbol)](bool watch) {
        // A hidden widget gets its resize events only when shown; its size is right all
        // along, so the core takes it at every paint, before an empty picture is sized.
        core_.SetControlSize(width(), height());
        event(watch);
    };
    core_.OnPaintedSymbol = [this, event = forward(&TQRCode::OnPaintedSymbol)](bool watch) {
        update(); // every paint of the core shows on the screen
        event(watch);
    };
    core_.OnMatchResize = [this](int w, int h) {
        resizing_ = true;
        resize(w, h);
        resizing_ = false;
    };
    core_.SetControlSize(width(), height());
}

TQRCode::~TQRCode() {
    SetClipWatch(false);
}

void TQRCode::SetComFont(const QFont& font) {
    comFont_ = font;
    vector_->SetFont(comFont_, comFontColor_);
    PaintSymbol();
}

void TQRCode::SetComFontColor(const QColor& colour) {
    comFontColor_ = colour;
    vector_->SetFont(comFont_, comFontColor_);
    PaintSymbol();
}

void TQRCode::SetTransparent(bool on) {
    core_.SetTransparent(on);
    update();
}

QColor TQRCode::SymbolColor() const {
    const Rgb c = core_.SymbolColor();
    return QColor(c.R, c.G, c.B);
}

void TQRCode::SetSymbolColor(const QColor& colour) {
    core_.SetSymbolColor(ToRgb(colour));
}

QColor TQRCode::BackColor() const {
    const Rgb c = core_.BackColor();
    return QColor(c.R, c.G, c.B);
}

void TQRCode::SetBackColor(const QColor& colour) {
    core_.SetBackColor(ToRgb(colour));
}

void TQRCode::PaintSymbol() {
    core_.PaintSymbol();
    update();
}

void TQRCode::Clear() {
    core_.Clear();
    update();
}

QImage TQRCode::ToImage(const Bitmap& bitmap) {
    if (bitmap.Empty())
        return QImage();
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB888);
    if (bitmap.Format() == PixelFormat::Rgb24) {
        for (int y = 0; y < bitmap.Height(); ++y)
            std::memcpy(image.scanLine(y), bitmap.Row(y),
                        static_cast<std::size_t>(bitmap.Width()) * 3);
        return image;
    }
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Rgb c = bitmap.Pixel(x, y);
            image.setPixel(x, y, qRgb(c.R, c.G, c.B));
        }
    return image;
}

QImage TQRCode::Picture() const {
    return ToImage(core_.Picture());
}

QPicture TQRCode::VectorPicture() const {
    if (core_.SymbolPicture() == picBMP || !core_.Match())
        return QPicture();
    return vector_->Picture();
}

void TQRCode::CopyToClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    const bool vector = core_.SymbolDisped() && core_.SymbolPicture() != picBMP && core_.Match() &&
                        vector_->Width() > 0 && vector_->Height() > 0;
    if (!vector) {
        const QImage image = Picture();
        if (!image.isNull())
            clipboard->setImage(image);
        return;
    }
    // There are no metafiles here: the vector figure goes on the clipboard as an image,
    // with the QPicture data beside it for programs that take it.
    QPicture picture = vector_->Picture();
    QImage image(vector_->Width(), vector_->Height(), QImage::Format_RGB888);
    image.fill(BackColor());
    {
        QPainter p(&image);
        p.drawPicture(0, 0, picture);
    }
    auto* data = new QMimeData;
    data->setImageData(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer);
    data->setData("application/x-qt-picture", bytes);
    clipboard->setMimeData(data);
}

void TQRCode::SetClipWatch(bool on) {
    if (on == clipWatch_)
        return;
    clipWatch_ = on;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!on) {
        QObject::disconnect(clipConnection_);
        return;
    }
    if (!clipboard)
        return;
    clipConnection_ =
        QObject::connect(clipboard, &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
    // A notification that arrives while the watch is being switched on is the system
    // telling the state it has, not a change: it is ignored. Once the event loop runs
    // again every change counts.
    ignoreClipboard_ = true;
    QTimer::singleShot(0, this, [this] { ignoreClipboard_ = false; });
}

void TQRCode::ClipboardChanged() {
    if (!clipWatch_)
        return;
    if (ignoreClipboard_) {
        ignoreClipboard_ = false;
        return;
    }
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return;
    core_.SetCodeFromClipboard(Utf8ToSjisLossy(data->text().toStdString()));
    update();
}

Bitmap TQRCode::RenderComment(const std::string& sjis, Rgb background) const {
    const QString text = SjisText(sjis);
    const QFontMetrics fm(comFont_);
    const int w = fm.horizontalAdvance(text), h = fm.height();
    if (w <= 0 || h <= 0)
        return Bitmap();
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(QColor(background.R, background.G, background.B));
    {
        QPainter p(&image);
        p.setFont(comFont_);
        p.setPen(comFontColor_);
        p.drawText(QRect(0, 0, w, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    Bitmap bitmap(w, h, PixelFormat::Rgb24);
    for (int y = 0; y < h; ++y)
        std::memcpy(bitmap.Row(y), image.constScanLine(y), static_cast<std::size_t>(w) * 3);
    return bitmap;
}

void TQRCode::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage image = Picture();
    if (image.isNull())
        return;
    if (Transparent()) {
        // Pixels of the background colour let what lies under the control show through.
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(BackColor().rgb())));
        p.drawPixmap(0, 0, pixmap);
        return;
    }
    p.drawImage(0, 0, image);
}

void TQRCode::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!resizing_)
        core_.SetControlSize(width(), height());
}

} // namespace pendlar
