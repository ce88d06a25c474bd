#include "qrcode/Segmentation.h"

#include "qrcode/QRTables.h"

namespace pendlar {

bool IsQRAlphanumeric(unsigned char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
        return true;
    switch (c) {
    case ' ':
    case '$':
    case '%':
    case '*':
    case '+':
    case '-':
    case '.':
    case '/':
    case ':':
        return true;
    default:
        return false;
    }
}

int QRKanjiValue(std::string_view data, std::size_t pos) {
    if (pos + 1 >= data.size())
        return -1;
    const unsigned lead = static_cast<unsigned char>(data[pos]);
    const unsigned trail = static_cast<unsigned char>(data[pos + 1]);
    if (!IsQRTrailByte(static_cast<unsigned char>(trail)))
        return -1;
    unsigned code = (lead << 8) | trail;
    if (lead >= 0x81 && lead <= 0x9F)
        code -= 0x8140;
    else if (lead >= 0xE0 && lead <= 0xEB && code <= 0xEBBF)
        code -= 0xC140;
    else
        return -1;
    return static_cast<int>((code >> 8) * 0xC0 + (code & 0xFF));
}

QRDataMode QRCharClass(std::string_view data, std::size_t pos, std::size_t* charBytes) {
    if (charBytes)
        *charBytes = 1;
    const unsigned char c = static_cast<unsigned char>(data[pos]);
    if (c >= '0' && c <= '9')
        return qrNumeric;
    if (IsQRAlphanumeric(c))
        return qrAlphanumeric;
    if (QRKanjiValue(data, pos) >= 0) {
        if (charBytes)
            *charBytes = 2;
        return qrKanji;
    }
    return qrByte;
}

long QRSegmentCost(QRDataMode mode, std::size_t length, int version) {
    const long k = static_cast<long>(length);
    long bits = 4 + QRCharCountBits(mode, version);
    switch (mode) {
    case qrNumeric:
        bits += 10 * (k / 3) + (k % 3 == 1 ? 4 : (k % 3 == 2 ? 7 : 0));
        break;
    case qrAlphanumeric:
        bits += 11 * (k / 2) + 6 * (k % 2);
        break;
    case qrByte:
        bits += 8 * k;
        break;
    case qrKanji:
        bits += 13 * (k / 2);
        break;
    }
    return bits;
}

namespace {

// Bytes of the run of class-`mode` characters starting at `pos`.
std::size_t RunLength(std::string_view data, std::size_t pos, QRDataMode mode) {
    std::size_t start = pos;
    while (pos < data.size()) {
        std::size_t n = 1;
        if (QRCharClass(data, pos, &n) != mode)
            break;
        pos += n;
    }
    return pos - start;
}

} // namespace

std::vector<QRSegment> SegmentQRData(std::string_view data, int version) {
    std::vector<QRSegment> segments;
    std::size_t pos = 0;
    while (pos < data.size()) {
        QRSegment seg;
        seg.Offset = pos;
        seg.Mode = QRCharClass(data, pos);
        std::size_t length = 0;
        for (;;) {
            length += RunLength(data, pos + length, seg.Mode);
            const std::size_t next = pos + length;
            if (next >= data.size() || seg.Mode == qrKanji)
                break;
            const QRDataMode c = QRCharClass(data, next);
            if (c == qrKanji)
                break;
            const std::size_t run = RunLength(data, next, c);
            if (c < seg.Mode) {
                // A more compact run: a segment of its own pays for a new header, and for
                // one more when this mode has to start again after it.
                long ending =
                    QRSegmentCost(seg.Mode, length, version) + QRSegmentCost(c, run, version);
                const std::size_t after = next + run;
                if (after < data.size() && QRCharClass(data, after) == seg.Mode)
                    ending += QRSegmentCost(seg.Mode, 0, version);
                if (ending < QRSegmentCost(seg.Mode, length + run, version))
                    break;
                length += run;
                continue;
            }
            // A wider run: either end here, or widen this segment to take it in.
            if (QRSegmentCost(seg.Mode, length, version) + QRSegmentCost(c, run, version) >=
                QRSegmentCost(c, length + run, version)) {
                seg.Mode = c;
                length += run;
            }
            break;
        }
        seg.Length = length;
        segments.push_back(seg);
        pos += length;
    }
    return segments;
}

bool SuitsQRMode(std::string_view data, QRDataMode mode) {
    switch (mode) {
    case qrNumeric:
        for (unsigned char c : data)
            if (c < '0' || c > '9')
                return false;
        return true;
    case qrAlphanumeric:
        for (unsigned char c : data)
            if (!IsQRAlphanumeric(c))
                return false;
        return true;
    case qrByte:
        return true;
    case qrKanji:
        if (data.size() % 2 != 0)
            return false;
        for (std::size_t i = 0; i < data.size(); i += 2)
            if (QRKanjiValue(data, i) < 0)
                return false;
        return true;
    }
    return false;
}

} // namespace pendlar
