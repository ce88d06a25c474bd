// Helpers shared by the encoder tests: sample data of a given size and the module matrix
// that the qrencode tool makes.
#pragma once

#include "qrcode/QRMatrix.h"

#include <optional>
#include <string>
#include <vector>

namespace pendlar::test {

// n bytes of printable text, varied enough to exercise every mask.
std::string SampleBytes(std::size_t n);
// n decimal digits.
std::string SampleDigits(std::size_t n);
// n kanji characters (2n Shift-JIS bytes) from the first kanji rows.
std::string SampleKanji(std::size_t n);

// Dark modules of a symbol, row by row.
using ModuleGrid = std::vector<std::vector<bool>>;

ModuleGrid GridOf(const QRMatrix& matrix);

// The symbol qrencode makes for the bytes at exactly `version` and `level` (0-3), with
// `flags` such as "-8" or "-k"; nullopt when it fails or makes another version.
std::optional<ModuleGrid> QrencodeGrid(const std::string& data, int version, int level,
                                       const std::string& flags);

// The mask pattern recorded in a symbol's format information.
int MaskOfGrid(const ModuleGrid& grid);

} // namespace pendlar::test
