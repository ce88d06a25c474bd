#include "intake/PatientNumber.h"

#include <algorithm>
#include <limits>

namespace pendlar {

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && text[i + 1] == 'x') {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    // The limit is one more on the negative side.
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (value > limit)
            return std::nullopt;
    }
    const auto v = static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(negative ? -v : v);
}

std::optional<std::string> PatientNumberFromFileName(std::string_view sjisPath, int position) {
    const std::size_t slash = sjisPath.find_last_of('/');
    const std::string_view name =
        slash == std::string_view::npos ? sjisPath : sjisPath.substr(slash + 1);
    std::string digits;
    if (position >= 1) {
        for (std::size_t i = static_cast<std::size_t>(position) - 1;
             i < name.size() && digits.size() < 8 && name[i] >= '0' && name[i] <= '9'; ++i)
            digits += name[i];
    }
    if (!ParseInt32(digits))
        return std::nullopt;
    return digits;
}

bool QRFrameFits(const QRFrameRect& f, int width, int height) {
    return f.Left >= 0 && f.Top >= 0 && f.Left < f.Right && f.Top < f.Bottom && f.Right < width &&
           f.Bottom < height;
}

Bitmap MakeQRCrop(const Bitmap& page, const QRFrameRect& f) {
    const int w = f.Right - f.Left, h = f.Bottom - f.Top;
    Bitmap crop(w + 1, h + 1, PixelFormat::Rgb24);
    std::fill(crop.Data().begin(), crop.Data().end(), std::uint8_t{255});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            crop.SetPixel(x, y, page.Pixel(f.Left + x, f.Top + y));
    return crop;
}

} // namespace pendlar
