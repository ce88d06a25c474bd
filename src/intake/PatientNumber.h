// Reading the patient number: the integer rule both readings share, the digits of the first
// page's file name, and the crop of the QR frame that the decoder is given.
#pragma once

#include "util/Bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pendlar {

// The value of a text that is a 32-bit signed integer: leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "x", "X" or "0x"; nothing after the
// digits. Values outside the 32-bit range give nullopt.
std::optional<std::int32_t> ParseInt32(std::string_view text);

// The digits of the file-name part of `sjisPath` from the 1-based byte position `position`:
// at most 8, stopping at the first other character. nullopt when they do not form an integer
// (an empty run included).
std::optional<std::string> PatientNumberFromFileName(std::string_view sjisPath, int position);

// A rectangle of first-page pixels; right and bottom are one past the frame.
struct QRFrameRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const QRFrameRect&, const QRFrameRect&) = default;
};

// True when the frame lies inside an image of that size (its right and bottom edges below
// the width and height).
bool QRFrameFits(const QRFrameRect& frame, int width, int height);

// The decoder's input: a (w + 1) x (h + 1) Rgb24 bitmap with the frame's part of the
// page in its top-left w x h pixels and a white right column and bottom row, white being
// what the paper around a printed symbol is. The frame must fit the page.
Bitmap MakeQRCrop(const Bitmap& page, const QRFrameRect& frame);

} // namespace pendlar
