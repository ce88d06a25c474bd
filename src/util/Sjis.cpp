#include "util/Sjis.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace pendlar {
namespace {

// One iconv descriptor per conversion; the descriptors are never shared between threads
// because each call opens its own.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns false when it stopped at a bad or incomplete
    // sequence. `in` and `inLeft` then point at the offending byte.
    bool Run(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[4096];
        while (inLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

template <typename Replace>
std::string ConvertWithReplacement(const char* to, const char* from, std::string_view text,
                                   Replace replacement) {
    Converter conv(to, from);
    std::string out;
    const char* in = text.data();
    std::size_t left = text.size();
    while (!conv.Run(in, left, out)) {
        out += replacement;
        ++in;
        --left;
    }
    return out;
}

} // namespace

std::string SjisToUtf8(std::string_view sjis) {
    return ConvertWithReplacement("UTF-8", "CP932", sjis, "\xEF\xBF\xBD");
}

std::u16string SjisToUtf16(std::string_view sjis) {
    std::string bytes =
        ConvertWithReplacement("UTF-16LE", "CP932", sjis, std::string("\xFD\xFF", 2));
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::optional<std::string> Utf8ToSjis(std::string_view utf8) {
    Converter conv("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    if (!conv.Run(in, left, out))
        return std::nullopt;
    return out;
}

std::string Utf8ToSjisLossy(std::string_view utf8) {
    Converter conv("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (!conv.Run(in, left, out)) {
        // Skip the whole UTF-8 sequence of the character that has no Shift-JIS form.
        out += '?';
        do {
            ++in;
            --left;
        } while (left > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
    }
    return out;
}

std::string FirstBytes(std::string_view text, std::size_t n) {
    return std::string(text.substr(0, n));
}

std::string CutAtCharBoundary(std::string_view text, std::size_t n) {
    if (text.size() <= n)
        return std::string(text);
    std::size_t i = 0;
    while (i < n) {
        std::size_t width = IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + width > n)
            break;
        i += width;
    }
    return std::string(text.substr(0, i));
}

std::string SjisPathToFileName(std::string_view sjisPath) {
    return SjisToUtf8(sjisPath);
}

std::string FileNameToSjisPath(std::string_view fileName) {
    return Utf8ToSjisLossy(fileName);
}

} // namespace pendlar
