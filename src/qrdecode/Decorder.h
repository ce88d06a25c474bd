// The decoder core: from the binary image to the text of the symbol in it.
//
// Locating and sampling (TImageReader), format information, unmasking, codeword
// placement, de-interleaving and Reed-Solomon correction of each block, and the data
// segments. A failed read leaves an error code and its text and no text: 1 when the
// symbol cannot be located, 3 when its format information or a block is beyond
// correction or its data do not parse. Damage within the correction capacity of the
// level is corrected; beyond it the read fails instead of giving another text.
#pragma once

#include "qrdecode/ImageReader.h"
#include "qrdecode/Planes.h"
#include "qrdecode/ReedSolomon.h"
#include "qrdecode/Symbol.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pendlar {

class TDecorder : public TSymbol {
public:
    // The text of the symbol (bytes as encoded), or empty with an error code set. Raises
    // EQRDecodeError when the located corners make no grid.
    std::string Decode(const TPlaneBoolean& binary);
    // The same from an already sampled module matrix (n × n, [column][row], dark = true),
    // n being 4v + 17 for a version v of 1 to 40; any other size fails with code 2.
    std::string DecodeMatrix(const TPlaneBoolean& matrix);

    void SetCornerRadius(int modules) { reader_.SetCornerRadius(modules); }
    void SetForcedVersion(int version) { reader_.SetForcedVersion(version); }

    const TImageReader& Reader() const { return reader_; }
    // The codewords as read from the symbol, interleaved.
    const std::vector<std::uint8_t>& Codewords() const { return codewords_; }
    // The data codewords after correction, block after block.
    const std::vector<std::uint8_t>& DataCodewords() const { return data_; }
    const std::vector<std::vector<std::uint8_t>>& Blocks() const { return blocks_; }
    // Which copy of the format information was used: 1 or 2 (0 when neither).
    int FormatCopy() const { return formatCopy_; }

private:
    void Reset();
    bool ReadFormat();
    void Unmask();
    void ReadCodewords();
    bool CorrectBlocks();

    TImageReader reader_;
    TReedSolomon reedSolomon_;
    std::vector<std::uint8_t> codewords_;
    std::vector<std::uint8_t> data_;
    std::vector<std::vector<std::uint8_t>> blocks_;
    int formatCopy_ = 0;
};

} // namespace pendlar
