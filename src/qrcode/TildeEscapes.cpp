#include "qrcode/TildeEscapes.h"

#include "qrcode/Segmentation.h"
#include "util/Sjis.h"

namespace pendlar {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::optional<std::string> DecodeTildeEscapes(std::string_view code) {
    std::string out;
    std::size_t pos = 0;
    while (pos < code.size()) {
        const unsigned char c = static_cast<unsigned char>(code[pos]);
        // A double-byte character is copied whole: its trail byte may be 0x7E, which is a
        // tilde only when it stands alone (the second byte of "×" is one).
        if (IsLeadByte(c) && pos + 1 < code.size() &&
            IsQRTrailByte(static_cast<unsigned char>(code[pos + 1]))) {
            out.append(code.substr(pos, 2));
            pos += 2;
            continue;
        }
        if (c != '~') {
            out.push_back(static_cast<char>(c));
            ++pos;
            continue;
        }
        const std::size_t close = code.find('~', pos + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view inner = code.substr(pos + 1, close - pos - 1);
        if (inner.empty()) {
            out.push_back('~');
        } else {
            if (inner.size() % 2 != 0)
                return std::nullopt;
            for (std::size_t i = 0; i < inner.size(); i += 2) {
                const int hi = HexValue(inner[i]), lo = HexValue(inner[i + 1]);
                if (hi < 0 || lo < 0)
                    return std::nullopt;
                out.push_back(static_cast<char>(hi * 16 + lo));
            }
        }
        pos = close + 1;
    }
    return out;
}

bool HoldsControlBytes(std::string_view data) {
    for (unsigned char c : data)
        if (c <= 0x08 || c == 0x0B || c == 0x0C || (c >= 0x0E && c <= 0x1F))
            return true;
    return false;
}

} // namespace pendlar
