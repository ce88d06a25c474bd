#include "qrcode/QRSymbolEncoder.h"

#include "qrcode/CodewordBuffer.h"
#include "qrcode/QRTables.h"
#include "qrcode/ReedSolomonEncoder.h"

namespace pendlar {
namespace {

constexpr std::uint32_t kModeIndicator[4] = {0x1, 0x2, 0x4, 0x8};
constexpr std::uint32_t kStructuredAppend = 0x3;

int AlphanumericValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    switch (c) {
    case ' ':
        return 36;
    case '$':
        return 37;
    case '%':
        return 38;
    case '*':
        return 39;
    case '+':
        return 40;
    case '-':
        return 41;
    case '.':
        return 42;
    case '/':
        return 43;
    default: // ':'
        return 44;
    }
}

// Writes one segment whose data suit its mode and whose cost fits the buffer.
void WriteSegment(CodewordBuffer& buf, std::string_view data, QRDataMode mode, int version) {
    const std::size_t k = data.size();
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(data[i]); };
    buf.Append(kModeIndicator[mode], 4);
    const std::uint32_t count = static_cast<std::uint32_t>(mode == qrKanji ? k / 2 : k);
    buf.Append(count, QRCharCountBits(mode, version));
    switch (mode) {
    case qrNumeric:
        for (std::size_t i = 0; i < k; i += 3) {
            const std::size_t n = k - i < 3 ? k - i : 3;
            std::uint32_t v = 0;
            for (std::size_t j = 0; j < n; ++j)
                v = v * 10 + (byte(i + j) - '0');
            buf.Append(v, n == 3 ? 10 : (n == 2 ? 7 : 4));
        }
        break;
    case qrAlphanumeric:
        for (std::size_t i = 0; i < k; i += 2) {
            if (i + 1 < k)
                buf.Append(static_cast<std::uint32_t>(AlphanumericValue(byte(i)) * 45 +
                                                      AlphanumericValue(byte(i + 1))),
                           11);
            else
                buf.Append(static_cast<std::uint32_t>(AlphanumericValue(byte(i))), 6);
        }
        break;
    case qrByte:
        for (std::size_t i = 0; i < k; ++i)
            buf.Append(byte(i), 8);
        break;
    case qrKanji:
        for (std::size_t i = 0; i + 1 < k; i += 2)
            buf.Append(static_cast<std::uint32_t>(QRKanjiValue(data, i)), 13);
        break;
    }
}

} // namespace

std::vector<std::uint8_t> InterleaveQRBlocks(const std::vector<std::uint8_t>& data, int version,
                                             int eclevel) {
    const QRBlockLayout layout = QRBlocks(version, eclevel);
    const int blocks = layout.ShortBlocks + layout.LongBlocks;
    const ReedSolomonEncoder rs(layout.EcPerBlock);
    std::vector<std::vector<std::uint8_t>> dataBlocks, ecBlocks;
    std::size_t pos = 0;
    for (int b = 0; b < blocks; ++b) {
        const std::size_t len =
            static_cast<std::size_t>(layout.ShortBlockData + (b < layout.ShortBlocks ? 0 : 1));
        std::vector<std::uint8_t> block(len, 0);
        for (std::size_t i = 0; i < len && pos + i < data.size(); ++i)
            block[i] = data[pos + i];
        pos += len;
        ecBlocks.push_back(rs.Remainder(block));
        dataBlocks.push_back(std::move(block));
    }
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(layout.TotalCodewords));
    for (std::size_t i = 0; i <= static_cast<std::size_t>(layout.ShortBlockData); ++i)
        for (const auto& block : dataBlocks)
            if (i < block.size())
                out.push_back(block[i]);
    for (std::size_t i = 0; i < static_cast<std::size_t>(layout.EcPerBlock); ++i)
        for (const auto& block : ecBlocks)
            out.push_back(block[i]);
    return out;
}

QRSymbol EncodeQRSymbol(const QRSymbolRequest& r) {
    QRSymbol sym;
    if (r.Version < kQRMinVersion || r.Version > kQRMaxVersion || r.Eclevel < 0 || r.Eclevel > 3 ||
        r.Emode < -1 || r.Emode > 3 || r.Masktype < -1 || r.Masktype > 7)
        return sym;

    CodewordBuffer buf(QRDataCodewords(r.Version, r.Eclevel));
    if (r.Connect) {
        buf.Append(kStructuredAppend, 4);
        buf.Append(static_cast<std::uint32_t>(r.Index), 4);
        buf.Append(static_cast<std::uint32_t>(r.Total - 1), 4);
        buf.Append(r.Parity, 8);
    }

    if (r.Emode < 0) {
        sym.Segments = SegmentQRData(r.Data, r.Version);
    } else {
        const QRDataMode mode = static_cast<QRDataMode>(r.Emode);
        sym.Segments.push_back({mode, 0, r.Data.size()});
        if (!SuitsQRMode(r.Data, mode)) {
            sym.Mode = r.Emode;
            return sym;
        }
    }
    sym.Mode = sym.Segments.empty() ? r.Emode : sym.Segments.back().Mode;
    for (const QRSegment& seg : sym.Segments) {
        if (QRSegmentCost(seg.Mode, seg.Length, r.Version) > buf.RemainingBits())
            return sym;
        WriteSegment(buf, r.Data.substr(seg.Offset, seg.Length), seg.Mode, r.Version);
    }
    buf.Finish();
    sym.DataCodewords = buf.Codewords();
    sym.Codewords = InterleaveQRBlocks(sym.DataCodewords, r.Version, r.Eclevel);

    QRMatrix unmasked(r.Version);
    unmasked.PlaceCodewords(sym.Codewords);
    if (r.Masktype >= 0) {
        sym.Mask = r.Masktype;
        sym.Matrix = unmasked;
        sym.Matrix.ApplyMask(sym.Mask, r.Eclevel);
    } else {
        int best = -1;
        for (int mask = 0; mask < 8; ++mask) {
            QRMatrix candidate = unmasked;
            candidate.ApplyMask(mask, r.Eclevel);
            const int score = candidate.Penalty();
            if (best < 0 || score < best) { // equal scores keep the lower pattern
                best = score;
                sym.Mask = mask;
                sym.Matrix = std::move(candidate);
            }
        }
    }
    sym.Ok = true;
    return sym;
}

} // namespace pendlar
