// Pixel-exact rotations of a page image for the page editor.
//
// Each operation takes a bitmap and leaves the result in the unit's own output bitmap,
// in the same pixel format and with the same palette as the input. The work is done on
// the raw rows, a block at a time, so a full 300 dpi page turns in a fraction of a second.
#pragma once

#include "util/Bitmap.h"

namespace pendlar {

class TImageUnit {
public:
    // out(y, W - 1 - x) = in(x, y); the result is H wide and W high.
    void RotateLeft(const Bitmap& in);
    // out(H - 1 - y, x) = in(x, y); the result is H wide and W high.
    void RotateRight(const Bitmap& in);
    // out(x, y) = in(W - 1 - x, H - 1 - y).
    void Rotate180(const Bitmap& in);

    const Bitmap& Image() const { return out_; }
    // Hands the result over, leaving the unit empty.
    Bitmap TakeImage();

private:
    Bitmap out_;
};

// `image` (Rgb24) in the format of `like` when every pixel is exactly one of the colours
// of `like`'s palette, so a bilevel or grey page that was only rotated or drawn on in its
// own colours is saved as compactly as it came; otherwise `image` itself.
Bitmap MatchPaletteOf(const Bitmap& image, const Bitmap& like);

} // namespace pendlar
