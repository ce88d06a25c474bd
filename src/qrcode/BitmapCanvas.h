// Drawing the symbol set into a pendlar::Bitmap (Rgb24).
#pragma once

#include "qrcode/SymbolCanvas.h"

#include <functional>

namespace pendlar {

// Renders a comment (Shift-JIS) in the comment font and colour on a background box and
// returns it as a picture of exactly the text's size. The window layer provides one; the
// core itself has no fonts.
using TextRenderer = std::function<Bitmap(const std::string& sjis, Rgb background)>;

class BitmapCanvas : public SymbolCanvas {
public:
    // Draws into `picture`, which must be Rgb24 (or empty). Without a renderer comments
    // measure {0, 0} and are not drawn.
    explicit BitmapCanvas(Bitmap& picture, TextRenderer text = {});

    void Reset(int width, int height) override;
    void FillRect(long long x, long long y, long long width, long long height, Rgb colour) override;
    TextExtent MeasureText(const std::string& sjis) override;
    void DrawText(long long x, long long y, const std::string& sjis, Rgb background) override;

    // A new Rgb24 picture filled with one colour.
    static Bitmap Filled(int width, int height, Rgb colour);
    // The picture turned clockwise by 0, 90, 180 or 270 degrees (other angles: unchanged).
    static Bitmap Rotated(const Bitmap& picture, int angle);

private:
    Bitmap& picture_;
    TextRenderer text_;
};

} // namespace pendlar
