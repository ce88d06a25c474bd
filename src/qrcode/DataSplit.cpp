#include "qrcode/DataSplit.h"

#include "qrcode/Segmentation.h"
#include "util/Sjis.h"

#include <stdexcept>
#include <string>

namespace pendlar {

QRSplit SplitQRData(std::string_view data, int count, TQRMode mode) {
    const std::size_t len = data.size();
    if (static_cast<std::size_t>(count) > len)
        count = static_cast<int>(len);
    if (count < 1)
        count = 1;
    if (count > kQRMaxCount)
        count = kQRMaxCount;

    // Which bytes are the second byte of a double-byte character, read from the start.
    std::vector<bool> trail(len + 1, false);
    for (std::size_t i = 0; i < len;) {
        if (IsLeadByte(static_cast<unsigned char>(data[i])) && i + 1 < len &&
            IsQRTrailByte(static_cast<unsigned char>(data[i + 1]))) {
            trail[i + 1] = true;
            i += 2;
        } else {
            ++i;
        }
    }

    const std::size_t c = static_cast<std::size_t>(count);
    std::size_t n = len / c;
    if (n * c < len && (n + 1) * (c - 1) < len)
        ++n;

    QRSplit split;
    split.Offsets.assign(1, 0);
    while (split.Offsets.size() < c) {
        const std::size_t prev = split.Offsets.back();
        std::size_t start = prev + n;
        if (start < len && trail[start])
            start = start - 1 > prev ? start - 1 : start + 1;
        if (start >= len)
            break;
        split.Offsets.push_back(start);
    }
    split.Count = static_cast<int>(split.Offsets.size());
    split.Offsets.push_back(len);

    if (split.Count == 1)
        split.Mode = qrSingle;
    else if (split.Count > kQRMaxConnect)
        split.Mode = qrPlus;
    else
        split.Mode = mode == qrSingle ? qrConnect : mode;

    if (split.Mode == qrConnect && len / static_cast<std::size_t>(split.Count) <= 7089) {
        unsigned parity = 0;
        for (unsigned char b : data)
            parity ^= b;
        split.Parity = static_cast<int>(parity);
        split.ParitySet = true;
    }
    return split;
}

namespace {

[[noreturn]] void Illegal(const std::string& item, long value) {
    throw std::runtime_error("Illegal " + item + " : " + std::to_string(value));
}

} // namespace

void CheckQRSplit(long len, int count, int mode, int column,
                  const std::vector<std::size_t>& offsets) {
    if (len < 0)
        Illegal("Len", len);
    if (count < 1 || count > kQRMaxCount)
        Illegal("Count", count);
    if (column < 1 || column > kQRMaxCount)
        Illegal("Column", column);
    if (mode < qrSingle || mode > qrPlus)
        Illegal("Mode", mode);
    const bool fits = mode == qrSingle    ? count == 1
                      : mode == qrConnect ? count >= 2 && count <= kQRMaxConnect
                                          : count >= 2;
    if (!fits || (len > 0 && count > len))
        Illegal("Count", count);
    const std::size_t ends = static_cast<std::size_t>(count) + 1;
    for (std::size_t i = 0; i < ends; ++i) {
        const long value = i < offsets.size() ? static_cast<long>(offsets[i]) : -1;
        const bool bad = i >= offsets.size() || (i == 0 && value != 0) ||
                         (i > 0 && len > 0 && value <= static_cast<long>(offsets[i - 1])) ||
                         (i + 1 == ends && value != len);
        if (bad)
            Illegal("Offset[" + std::to_string(i) + "]", value);
    }
}

} // namespace pendlar
