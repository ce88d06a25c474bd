#include "intake/ui/EditorArt.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace pendlar {
namespace {

using Painting = std::function<void(QPainter&)>;

QImage Paint(int size, const Painting& paint) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return image;
}

// A one-pixel white rim around every drawn pixel, so a cursor stays visible on black
// writing as well as on white paper.
QImage WithRim(const QImage& glyph) {
    QImage rim = glyph;
    {
        QPainter p(&rim);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(rim.rect(), Qt::white);
    }
    QImage out(glyph.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy)
                p.drawImage(dx, dy, rim);
    p.drawImage(0, 0, glyph);
    return out;
}

const QColor kInk(40, 40, 40);

// Each tool drawn into a 24 × 24 square.
void PaintPencil(QPainter& p) {
    p.save();
    p.translate(12, 12);
    p.rotate(-45);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(250, 200, 60));
    p.drawRect(QRectF(-6, -3, 14, 6));
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(8, -3, 3, 6));
    p.setBrush(QColor(240, 220, 180));
    QPainterPath tip;
    tip.moveTo(-6, -3);
    tip.lineTo(-12, 0);
    tip.lineTo(-6, 3);
    tip.closeSubpath();
    p.drawPath(tip);
    p.setBrush(kInk);
    QPainterPath lead;
    lead.moveTo(-10, -1);
    lead.lineTo(-12, 0);
    lead.lineTo(-10, 1);
    lead.closeSubpath();
    p.drawPath(lead);
    p.restore();
}

void PaintEraser(QPainter& p) {
    p.save();
    p.translate(12, 13);
    p.rotate(-35);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(120, 150, 220));
    p.drawRect(QRectF(-2, -5, 10, 10));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-10, -5, 8, 10));
    p.restore();
}

void PaintLine(QPainter& p) {
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 20), QPointF(20, 4));
}

void PaintEllipse(QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3, 6, 18, 12));
}

void PaintRectangle(QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 6, 16, 12));
}

void PaintDropper(QPainter& p) {
    p.save();
    p.translate(12, 12);
    p.rotate(-45);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(210, 230, 250));
    p.drawRect(QRectF(-10, -1.5, 13, 3));
    p.setBrush(kInk);
    p.drawRect(QRectF(3, -3.5, 2, 7));
    p.setBrush(QColor(200, 60, 60));
    p.drawEllipse(QRectF(5, -3.5, 7, 7));
    p.restore();
}

void PaintLetter(QPainter& p) {
    QFont f;
    f.setPixelSize(19);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("A"));
}

const Painting kTools[7] = {PaintPencil,    PaintEraser,  PaintLine,  PaintEllipse,
                            PaintRectangle, PaintDropper, PaintLetter};

// The small cross of the figure tools, centred on the hot spot.
void PaintCross(QPainter& p, QPoint c) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(c.x() - 7, c.y(), c.x() - 2, c.y());
    p.drawLine(c.x() + 2, c.y(), c.x() + 7, c.y());
    p.drawLine(c.x(), c.y() - 7, c.x(), c.y() - 2);
    p.drawLine(c.x(), c.y() + 2, c.x(), c.y() + 7);
    p.drawPoint(c);
    p.setRenderHint(QPainter::Antialiasing, true);
}

} // namespace

QIcon EditorToolIcon(int tool) {
    if (tool < 0 || tool > 6)
        return QIcon();
    return QIcon(QPixmap::fromImage(Paint(24, kTools[tool])));
}

QCursor EditorToolCursor(int tool) {
    QPoint hot;
    QImage glyph;
    switch (tool) {
    case 0: // pencil, acting at its tip (lower left)
    case 5: // dropper, likewise
        glyph = Paint(32, [tool](QPainter& p) {
            p.translate(-0.5, 8.5);
            p.scale(1.0, 1.0);
            kTools[tool](p);
        });
        hot = QPoint(3, 29);
        break;
    case 1: // eraser: a square outline of the rubbed area around the hot spot
        glyph = Paint(32, [](QPainter& p) {
            p.translate(10, -2);
            PaintEraser(p);
            p.resetTransform();
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(4, 22, 6, 6));
        });
        hot = QPoint(7, 25);
        break;
    case 6: // text: the stamp's top-left corner sits at the hot spot
        glyph = Paint(32, [](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(1, 1, 9, 1);
            p.drawLine(1, 1, 1, 9);
            p.translate(8, 8);
            PaintLetter(p);
        });
        hot = QPoint(1, 1);
        break;
    default: // line, ellipse, rectangle: a cross with the figure beside it
        glyph = Paint(32, [tool](QPainter& p) {
            PaintCross(p, QPoint(8, 8));
            p.translate(14, 14);
            p.scale(0.7, 0.7);
            if (tool >= 0 && tool <= 6)
                kTools[tool](p);
        });
        hot = QPoint(8, 8);
        break;
    }
    return QCursor(QPixmap::fromImage(WithRim(glyph)), hot.x(), hot.y());
}

QIcon EditorButtonIcon(EditorIcon which) {
    return QIcon(QPixmap::fromImage(Paint(24, [which](QPainter& p) {
        p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        auto arrowHead = [&p](QPointF tip, QPointF a, QPointF b) {
            p.setBrush(kInk);
            p.drawPolygon(QPolygonF({tip, a, b}));
            p.setBrush(Qt::NoBrush);
        };
        switch (which) {
        case EditorIcon::ZoomIn:
        case EditorIcon::ZoomOut:
            p.drawEllipse(QRectF(3, 3, 13, 13));
            p.setPen(QPen(kInk, 3.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(15, 15), QPointF(21, 21));
            p.setPen(QPen(kInk, 2));
            p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
            if (which == EditorIcon::ZoomIn)
                p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
            break;
        case EditorIcon::Undo:
            p.drawArc(QRectF(5, 6, 15, 13), 90 * 16, -240 * 16);
            arrowHead(QPointF(4, 8), QPointF(11, 3), QPointF(11, 11));
            break;
        case EditorIcon::RotateLeft: // the arrow runs anticlockwise over the top
            p.drawArc(QRectF(4, 5, 16, 16), 120 * 16, -250 * 16);
            arrowHead(QPointF(5, 5), QPointF(13, 2), QPointF(11, 10));
            break;
        case EditorIcon::RotateRight:
            p.drawArc(QRectF(4, 5, 16, 16), 60 * 16, 250 * 16);
            arrowHead(QPointF(19, 5), QPointF(11, 2), QPointF(13, 10));
            break;
        case EditorIcon::Colour: {
            const QColor swatches[4] = {QColor(200, 30, 30), QColor(30, 140, 40),
                                        QColor(40, 70, 200), QColor(20, 20, 20)};
            p.setPen(QPen(kInk, 1));
            for (int i = 0; i < 4; ++i) {
                p.setBrush(swatches[i]);
                p.drawRect(QRectF(3 + (i % 2) * 10, 3 + (i / 2) * 10, 8, 8));
            }
            break;
        }
        case EditorIcon::Rotate180:
            p.drawArc(QRectF(4, 4, 16, 16), 0, 180 * 16);
            arrowHead(QPointF(20, 17), QPointF(16, 11), QPointF(24, 11));
            p.drawArc(QRectF(4, 4, 16, 16), 180 * 16, 90 * 16);
            arrowHead(QPointF(4, 7), QPointF(0, 13), QPointF(8, 13));
            break;
        case EditorIcon::Save:
            p.setPen(QPen(kInk, 1.5));
            p.setBrush(QColor(90, 130, 200));
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 3, 10, 7));
            p.drawRect(QRectF(6, 14, 12, 7));
            break;
        case EditorIcon::Font: {
            QFont f;
            f.setPixelSize(15);
            f.setItalic(true);
            f.setBold(true);
            p.setFont(f);
            p.drawText(QRectF(0, 0, 17, 17), Qt::AlignCenter, QStringLiteral("A"));
            p.setPen(QPen(kInk, 1.5));
            p.drawLine(QPointF(15, 15), QPointF(21, 21));
            p.drawLine(QPointF(15, 21), QPointF(21, 15));
            break;
        }
        }
    })));
}

} // namespace pendlar
