// Widths of codes 32-255 of the twelve standard Latin fonts through WinAnsiEncoding, in
// thousandths of the font size (generated into PdfLatinWidths.cpp by gen/regenerate.sh).
#pragma once

#include <array>
#include <cstdint>

namespace pendlar {

using LatinWidthTable = std::array<std::uint16_t, 224>;

extern const LatinWidthTable kCourierWidths;
extern const LatinWidthTable kCourierBoldWidths;
extern const LatinWidthTable kCourierObliqueWidths;
extern const LatinWidthTable kCourierBoldObliqueWidths;
extern const LatinWidthTable kHelveticaWidths;
extern const LatinWidthTable kHelveticaBoldWidths;
extern const LatinWidthTable kHelveticaObliqueWidths;
extern const LatinWidthTable kHelveticaBoldObliqueWidths;
extern const LatinWidthTable kTimesRomanWidths;
extern const LatinWidthTable kTimesBoldWidths;
extern const LatinWidthTable kTimesItalicWidths;
extern const LatinWidthTable kTimesBoldItalicWidths;

} // namespace pendlar
