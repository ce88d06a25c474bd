#include "intake/ui/QRFrameImage.h"

#include "intake/PageIntake.h"

#include <QMouseEvent>
#include <QPixmap>

#include <algorithm>

namespace pendlar {

QRFrameImage::QRFrameImage(QWidget* parent) : QLabel(parent) {
    setObjectName("Image3");
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::CrossCursor);
}

void QRFrameImage::ShowPage(const QImage& page) {
    page_ = page.convertToFormat(QImage::Format_RGB32);
    setPixmap(QPixmap::fromImage(page_));
    resize(page_.size());
}

void QRFrameImage::XorFrame(const QRFrameRect& f) {
    if (page_.isNull())
        return;
    const int l = std::min(f.Left, f.Right), r = std::max(f.Left, f.Right);
    const int t = std::min(f.Top, f.Bottom), b = std::max(f.Top, f.Bottom);
    // Each outline pixel is flipped exactly once, so a second XOR restores the page even
    // at the corners and for rectangles of zero width or height.
    auto flip = [this](int x, int y) {
        if (x < 0 || y < 0 || x >= page_.width() || y >= page_.height())
            return;
        auto* row = reinterpret_cast<QRgb*>(page_.scanLine(y));
        row[x] ^= 0x00FFFFFF;
    };
    for (int x = l; x <= r; ++x) {
        flip(x, t);
        if (b != t)
            flip(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        flip(l, y);
        if (r != l)
            flip(r, y);
    }
    setPixmap(QPixmap::fromImage(page_));
}

void QRFrameImage::mousePressEvent(QMouseEvent* event) {
    if (intake_ && event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        intake_->Image3MouseDown(p.x(), p.y());
    }
}

void QRFrameImage::mouseMoveEvent(QMouseEvent* event) {
    if (intake_) {
        const QPoint p = event->position().toPoint();
        intake_->Image3MouseMove(p.x(), p.y());
    }
}

void QRFrameImage::mouseReleaseEvent(QMouseEvent* event) {
    if (intake_ && event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        intake_->Image3MouseUp(p.x(), p.y());
    }
}

} // namespace pendlar
