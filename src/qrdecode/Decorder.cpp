#include "qrdecode/Decorder.h"

#include "qrdecode/BCH15.h"
#include "qrdecode/DataBlockReader.h"
#include "qrdecode/QRDecodeError.h"
#include "qrdecode/SymbolTables.h"

namespace pendlar {
namespace {

constexpr std::uint16_t kFormatMask = 0x5412;

bool MaskCondition(int pattern, int i, int j) {
    switch (pattern) {
    case 0:
        return (i + j) % 2 == 0;
    case 1:
        return i % 2 == 0;
    case 2:
        return j % 3 == 0;
    case 3:
        return (i + j) % 3 == 0;
    case 4:
        return (i / 2 + j / 3) % 2 == 0;
    case 5:
        return (i * j) % 2 + (i * j) % 3 == 0;
    case 6:
        return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default:
        return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

} // namespace

void TDecorder::Reset() {
    SetErrorCode(kNoError);
    codewords_.clear();
    data_.clear();
    blocks_.clear();
    formatCopy_ = 0;
}

std::string TDecorder::Decode(const TPlaneBoolean& binary) {
    Reset();

    const int located = reader_.Read(binary);
    if (located != 0) {
        SetErrorCode(located);
        return {};
    }
    std::string text = DecodeMatrix(reader_.Matrix());
    // A grid that is off by a module somewhere gives a matrix beyond correction; the other
    // ways of placing it are tried before the symbol is called unreadable. Each matrix
    // must pass the same format and Reed-Solomon checks as the first.
    while (ErrorCode() == kUnreadable) {
        try {
            if (!reader_.ReadAgain(binary))
                break;
        } catch (const EQRDecodeError&) {
            SetErrorCode(kUnreadable);
            break;
        }
        text = DecodeMatrix(reader_.Matrix());
    }
    return text;
}

std::string TDecorder::DecodeMatrix(const TPlaneBoolean& matrix) {
    Reset();

    const int n = matrix.Width();
    NewSymbol(n == matrix.Height() && (n - 17) % 4 == 0 ? (n - 17) / 4 : 0);
    TArrangement& a = *Arrangement();
    if (a.Status().ErrorCode() != kNoError) {
        SetErrorCode(a.Status().ErrorCode());
        return {};
    }
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y)
            a.SetRaw(x, y, matrix.At(x, y) ? 1 : 0);

    if (!ReadFormat()) {
        SetErrorCode(kUnreadable);
        return {};
    }
    Unmask();
    ReadCodewords();
    if (!CorrectBlocks()) {
        SetErrorCode(kUnreadable);
        return {};
    }
    std::string text;
    TDataBlockReader segments(data_, Version());
    if (!segments.Read(text)) {
        SetErrorCode(kUnreadable);
        return {};
    }
    return text;
}

// The copy beside the top-left finder first; when it is farther than three bits from
// every code, the copy split between the other two finders. A guessed format would
// unmask the data wrongly, so with neither copy readable the symbol is unreadable.
bool TDecorder::ReadFormat() {
    const TArrangement& a = *Arrangement();
    const int n = a.Size();
    auto word = [&](const int(&positions)[15][2]) {
        std::uint16_t w = 0;
        for (int bit = 0; bit < 15; ++bit)
            if (a.Raw(positions[bit][0], positions[bit][1]))
                w = static_cast<std::uint16_t>(w | (1u << bit));
        return static_cast<std::uint16_t>(w ^ kFormatMask);
    };
    const int first[15][2] = {{8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4}, {8, 5}, {8, 7}, {8, 8},
                              {7, 8}, {5, 8}, {4, 8}, {3, 8}, {2, 8}, {1, 8}, {0, 8}};
    int second[15][2];
    for (int bit = 0; bit < 8; ++bit) {
        second[bit][0] = n - 1 - bit;
        second[bit][1] = 8;
    }
    for (int bit = 8; bit < 15; ++bit) {
        second[bit][0] = 8;
        second[bit][1] = n - 15 + bit;
    }

    for (int copy = 1; copy <= 2; ++copy) {
        const TBCH15_5 format(word(copy == 1 ? first : second));
        if (!format.Error()) {
            SetFormat(format.Level(), format.MaskPattern());
            formatCopy_ = copy;
            return true;
        }
    }
    return false;
}

void TDecorder::Unmask() {
    TArrangement& a = *Arrangement();
    const int n = a.Size();
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y) {
            const bool inverted =
                a.Kind(x, y) == TModule::kData && MaskCondition(MaskPattern(), y, x);
            a.SetMask(x, y, inverted ? 1 : 0);
            a.SetUnmasked(x, y, a.Raw(x, y) ^ (inverted ? 1 : 0));
        }
}

// Two-module-wide columns from the right edge, upwards and downwards in turn, stepping
// over the vertical timing column; every data module gives the next bit.
void TDecorder::ReadCodewords() {
    const TArrangement& a = *Arrangement();
    const int n = a.Size();
    unsigned value = 0;
    int bits = 0;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int step = 0; step < n; ++step) {
            const int y = upward ? n - 1 - step : step;
            for (int x = right; x >= right - 1; --x) {
                if (a.Kind(x, y) != TModule::kData)
                    continue;
                value = (value << 1) | a.Unmasked(x, y);
                if (++bits == 8) {
                    codewords_.push_back(static_cast<std::uint8_t>(value));
                    value = 0;
                    bits = 0;
                }
            }
        }
    }
}

bool TDecorder::CorrectBlocks() {
    const int total = static_cast<int>(codewords_.size());
    const int blockCount = BlockCount(Version(), Level());
    const int ecc = EccCodewordsPerBlock(Version(), Level());
    if (blockCount <= 0 || ecc <= 0 || total < blockCount * (ecc + 1))
        return false;
    const int shortLength = total / blockCount;
    const int longBlocks = total % blockCount;
    const int shortData = shortLength - ecc;
    auto dataLength = [&](int block) {
        return block < blockCount - longBlocks ? shortData : shortData + 1;
    };

    blocks_.assign(static_cast<std::size_t>(blockCount), {});
    for (int b = 0; b < blockCount; ++b)
        blocks_[static_cast<std::size_t>(b)].resize(static_cast<std::size_t>(dataLength(b) + ecc));
    std::size_t next = 0;
    for (int j = 0; j <= shortData; ++j)
        for (int b = 0; b < blockCount; ++b)
            if (j < dataLength(b))
                blocks_[static_cast<std::size_t>(b)][static_cast<std::size_t>(j)] =
                    codewords_[next++];
    for (int k = 0; k < ecc; ++k)
        for (int b = 0; b < blockCount; ++b)
            blocks_[static_cast<std::size_t>(b)][static_cast<std::size_t>(dataLength(b) + k)] =
                codewords_[next++];

    const int capacity = (ecc - MisdecodeProtection(Version(), Level())) / 2;
    for (int b = 0; b < blockCount; ++b) {
        auto& block = blocks_[static_cast<std::size_t>(b)];
        if (!reedSolomon_.Correct(block, ecc, capacity))
            return false;
        data_.insert(data_.end(), block.begin(), block.begin() + dataLength(b));
    }
    return true;
}

} // namespace pendlar
