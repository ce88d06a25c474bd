// The vector picture of the symbol set (picEMF / picWMF): the same rectangles and comments
// as the bitmap, recorded into a QPicture.
#pragma once

#include "qrcode/SymbolCanvas.h"

#include <QColor>
#include <QFont>
#include <QPicture>
#include <QString>

#include <vector>

namespace pendlar {

class QPictureCanvas : public SymbolCanvas {
public:
    void Reset(int width, int height) override;
    void FillRect(long long x, long long y, long long width, long long height, Rgb colour) override;
    TextExtent MeasureText(const std::string& sjis) override;
    void DrawText(long long x, long long y, const std::string& sjis, Rgb background) override;

    void SetFont(const QFont& font, const QColor& colour);
    // The recorded picture; empty before the first Reset.
    QPicture Picture() const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    struct Op {
        QRect Rect;
        QColor Colour;
        QString Text; // empty: a filled rectangle
    };
    std::vector<Op> ops_;
    int width_ = 0, height_ = 0;
    QFont font_;
    QColor textColour_ = Qt::black;
    bool valid_ = false;
};

} // namespace pendlar
