// A surface the symbol set is drawn on: the bitmap picture of the control, or a vector
// picture that the window layer provides.
#pragma once

#include "util/Bitmap.h"

#include <string>

namespace pendlar {

struct TextExtent {
    int Width = 0;
    int Height = 0;
};

class SymbolCanvas {
public:
    virtual ~SymbolCanvas() = default;

    // Starts the picture afresh at the given size.
    virtual void Reset(int width, int height) = 0;
    // Fills a rectangle; parts outside the picture are dropped.
    virtual void FillRect(long long x, long long y, long long width, long long height,
                          Rgb colour) = 0;
    // Size of a comment (Shift-JIS) in the comment font; {0, 0} when there is no font.
    virtual TextExtent MeasureText(const std::string& sjis) = 0;
    // Writes a comment with its top-left corner at (x, y) on a `background` box.
    virtual void DrawText(long long x, long long y, const std::string& sjis, Rgb background) = 0;
};

} // namespace pendlar
