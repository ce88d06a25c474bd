// Shift-JIS code to CID ranges of the Adobe-Japan1 CMaps the Japanese fonts are written with
// (generated into PdfJpCMap.cpp by gen/regenerate.sh). A single-byte code is the byte, a
// double-byte code is lead byte * 256 + trail byte.
#pragma once

#include <cstdint>
#include <span>

namespace pendlar {

struct CidRange {
    std::uint16_t First;
    std::uint16_t Last;
    std::uint16_t Cid; // the CID of First
};

extern const std::span<const CidRange> k90msRksjH;  // fixed-pitch kinds
extern const std::span<const CidRange> k90mspRksjH; // proportional kinds

} // namespace pendlar
