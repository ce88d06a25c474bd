#include "qrcode/ui/QPictureCanvas.h"

#include "util/Sjis.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace pendlar {
namespace {

QString SjisText(const std::string& sjis) {
    const std::u16string u = SjisToUtf16(sjis);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

} // namespace

void QPictureCanvas::Reset(int width, int height) {
    ops_.clear();
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    valid_ = true;
}

void QPictureCanvas::FillRect(long long x, long long y, long long width, long long height,
                              Rgb colour) {
    // Clip to the picture first, so that no coordinate leaves the int range.
    const long long x0 = std::max(0LL, x), y0 = std::max(0LL, y);
    const long long x1 = std::min<long long>(width_, x + width);
    const long long y1 = std::min<long long>(height_, y + height);
    if (x1 <= x0 || y1 <= y0)
        return;
    ops_.push_back({QRect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                          static_cast<int>(y1 - y0)),
                    QColor(colour.R, colour.G, colour.B), QString()});
}

TextExtent QPictureCanvas::MeasureText(const std::string& sjis) {
    const QFontMetrics fm(font_);
    return {fm.horizontalAdvance(SjisText(sjis)), fm.height()};
}

void QPictureCanvas::DrawText(long long x, long long y, const std::string& sjis, Rgb background) {
    const TextExtent e = MeasureText(sjis);
    if (x > width_ || y > height_ || x + e.Width < 0 || y + e.Height < 0)
        return;
    const QRect box(static_cast<int>(x), static_cast<int>(y), e.Width, e.Height);
    ops_.push_back({box, QColor(background.R, background.G, background.B), QString()});
    ops_.push_back({box, textColour_, SjisText(sjis)});
}

void QPictureCanvas::SetFont(const QFont& font, const QColor& colour) {
    font_ = font;
    textColour_ = colour;
}

QPicture QPictureCanvas::Picture() const {
    QPicture picture;
    if (!valid_)
        return picture;
    QPainter p(&picture);
    p.setClipRect(0, 0, width_, height_);
    p.setPen(Qt::NoPen);
    p.setFont(font_);
    for (const Op& op : ops_) {
        if (op.Text.isEmpty()) {
            p.fillRect(op.Rect, op.Colour);
        } else {
            p.setPen(op.Colour);
            p.drawText(op.Rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, op.Text);
            p.setPen(Qt::NoPen);
        }
    }
    p.end();
    // The bounding rectangle is the whole picture, not just what was painted.
    picture.setBoundingRect(QRect(0, 0, width_, height_));
    return picture;
}

} // namespace pendlar
