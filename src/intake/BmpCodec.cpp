// Windows and OS/2 bitmap files: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed, with
// bit fields, or run-length encoded (RLE8, RLE4); bottom-up or top-down rows.
//
// Every field of the header is outside input: sizes are checked against the file before
// anything is read or allocated, and run-length codes are clipped to the picture.
#include "intake/ImageCodecs.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

namespace pendlar::codec {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

std::uint16_t U16(std::string_view s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      (static_cast<unsigned char>(s[at + 1]) << 8));
}

std::uint32_t U32(std::string_view s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24);
}

// One colour channel held in a bit field of a 16- or 32-bit pixel.
struct Channel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Max = 0;

    explicit Channel(std::uint32_t mask = 0) : Mask(mask) {
        if (mask != 0) {
            Shift = std::countr_zero(mask);
            Max = mask >> Shift;
        }
    }
    std::uint8_t Get(std::uint32_t pixel) const {
        if (Max == 0)
            return 0;
        std::uint64_t v = (pixel & Mask) >> Shift;
        return static_cast<std::uint8_t>((v * 255 + Max / 2) / Max);
    }
};

void PutIndex(Bitmap& image, int x, int y, int bits, unsigned index) {
    std::uint8_t* row = image.Row(y);
    if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(index);
    } else {
        int shift = (x % 2) ? 0 : 4;
        row[x / 2] =
            static_cast<std::uint8_t>((row[x / 2] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
    }
}

// Run-length codes of RLE8 and RLE4. Rows go bottom-up; pixels the codes skip stay at
// palette entry 0. False when the data ends before the picture does.
bool DecodeRle(std::string_view data, Bitmap& image, int bits) {
    const int w = image.Width(), h = image.Height();
    int x = 0, line = 0; // line counts from the bottom row
    std::size_t p = 0;
    while (p + 2 <= data.size()) {
        unsigned n = static_cast<unsigned char>(data[p]);
        unsigned c = static_cast<unsigned char>(data[p + 1]);
        p += 2;
        if (n > 0) {
            for (unsigned i = 0; i < n; ++i, ++x) {
                if (x < w && line < h) {
                    unsigned index = bits == 8 ? c : ((i % 2) ? (c & 0x0F) : (c >> 4));
                    PutIndex(image, x, h - 1 - line, bits, index);
                }
            }
            continue;
        }
        if (c == 0) { // end of line
            x = 0;
            ++line;
        } else if (c == 1) { // end of picture
            return true;
        } else if (c == 2) { // move right and up
            if (p + 2 > data.size())
                return false;
            x += static_cast<unsigned char>(data[p]);
            line += static_cast<unsigned char>(data[p + 1]);
            p += 2;
        } else { // c literal pixels, padded to a 16-bit boundary
            std::size_t bytes = bits == 8 ? c : (c + 1) / 2;
            std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (p + bytes > data.size())
                return false;
            for (unsigned i = 0; i < c; ++i, ++x) {
                unsigned v = static_cast<unsigned char>(data[p + (bits == 8 ? i : i / 2)]);
                unsigned index = bits == 8 ? v : ((i % 2) ? (v & 0x0F) : (v >> 4));
                if (x < w && line < h)
                    PutIndex(image, x, h - 1 - line, bits, index);
            }
            p += std::min(padded, data.size() - p);
        }
        if (line >= h)
            return true;
    }
    // Some writers leave out the end-of-picture code after the last row.
    return line >= h || (line == h - 1 && x >= w);
}

} // namespace

std::optional<Bitmap> DecodeBmp(std::string_view s, const ImageLoadLimits& limits,
                                std::string* error) {
    auto fail = [&](const char* why) -> std::optional<Bitmap> {
        SetError(error, std::string("BMP file: ") + why);
        return std::nullopt;
    };
    if (s.size() < 26 || s[0] != 'B' || s[1] != 'M')
        return fail("not a bitmap file");
    const std::uint32_t dataOffset = U32(s, 10);
    const std::uint32_t headerSize = U32(s, 14);
    if (headerSize < 12 || headerSize > s.size() - 14)
        return fail("the header is cut off");

    std::int64_t width = 0, height = 0;
    unsigned bits = 0;
    std::uint32_t compression = kRgb, colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    std::size_t paletteAt = 14 + headerSize;
    std::size_t paletteEntrySize = 4;
    if (headerSize == 12) { // OS/2 1.x core header
        width = U16(s, 18);
        height = U16(s, 20);
        bits = U16(s, 24);
        paletteEntrySize = 3;
    } else {
        if (headerSize < 40)
            return fail("unknown header");
        width = static_cast<std::int32_t>(U32(s, 18));
        height = static_cast<std::int32_t>(U32(s, 22));
        bits = U16(s, 28);
        compression = U32(s, 30);
        colorsUsed = U32(s, 46);
        if (headerSize == 64 && compression == kBitFields)
            return fail("OS/2 Huffman compression is not supported");
        if (compression == kBitFields || compression == kAlphaBitFields) {
            // The masks follow a 40-byte header; later headers hold them inside.
            std::size_t at = 14 + 40;
            if (at + 12 > s.size() || (headerSize != 40 && headerSize < 52))
                return fail("the colour masks are cut off");
            if (headerSize == 40) {
                paletteAt += compression == kAlphaBitFields ? 16 : 12;
                if (paletteAt > s.size())
                    return fail("the colour masks are cut off");
            }
            for (int i = 0; i < 3; ++i)
                masks[i] = U32(s, at + 4 * static_cast<std::size_t>(i));
        }
    }

    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0)
        return fail("the picture has no pixels");
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > limits.MaxPixels)
        return fail("the picture is too large");

    const bool rle = compression == kRle8 || compression == kRle4;
    bool bitsOk = false;
    switch (compression) {
    case kRgb:
        bitsOk = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        break;
    case kRle8:
        bitsOk = bits == 8;
        break;
    case kRle4:
        bitsOk = bits == 4;
        break;
    case kBitFields:
    case kAlphaBitFields:
        bitsOk = bits == 16 || bits == 32;
        break;
    default:
        return fail("this compression is not supported");
    }
    if (!bitsOk)
        return fail("this number of bits per pixel is not supported");
    if (rle && topDown)
        return fail("run-length data must be bottom-up");
    if (dataOffset < paletteAt || dataOffset >= s.size())
        return fail("the pixel data offset lies outside the file");

    // Palette: entries up to the pixel data, at most 2^bits of them.
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        std::size_t entries = std::size_t{1} << bits;
        std::size_t wanted = colorsUsed != 0 && colorsUsed < entries ? colorsUsed : entries;
        std::size_t room = (dataOffset - paletteAt) / paletteEntrySize;
        wanted = std::min(wanted, room);
        palette.assign(entries, 0);
        for (std::size_t i = 0; i < wanted; ++i) {
            std::size_t at = paletteAt + i * paletteEntrySize;
            auto b = static_cast<unsigned char>(s[at]);
            auto g = static_cast<unsigned char>(s[at + 1]);
            auto r = static_cast<unsigned char>(s[at + 2]);
            palette[i] = (static_cast<std::uint32_t>(r) << 16) | (g << 8) | b;
        }
    }

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    std::string_view data = s.substr(dataOffset);
    PixelFormat format = bits == 1   ? PixelFormat::Bits1
                         : bits == 4 ? PixelFormat::Bits4
                         : bits == 8 ? PixelFormat::Bits8
                                     : PixelFormat::Rgb24;

    if (rle) {
        Bitmap image(w, h, format);
        image.Palette() = palette;
        if (!DecodeRle(data, image, static_cast<int>(bits)))
            return fail("the run-length data is cut off");
        return image;
    }

    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(w) * bits + 7) / 8;
    const std::uint64_t stride = (rowBytes + 3) & ~std::uint64_t{3};
    // The last row need not carry its padding.
    if (stride * static_cast<std::uint64_t>(h - 1) + rowBytes > data.size())
        return fail("the pixel data is cut off");

    Bitmap image(w, h, format);
    if (bits <= 8)
        image.Palette() = palette;

    Channel red, green, blue;
    if (bits == 16) {
        bool fields = compression != kRgb;
        red = Channel(fields ? masks[0] : 0x7C00);
        green = Channel(fields ? masks[1] : 0x03E0);
        blue = Channel(fields ? masks[2] : 0x001F);
    } else if (bits == 32) {
        bool fields = compression != kRgb;
        red = Channel(fields ? masks[0] : 0x00FF0000);
        green = Channel(fields ? masks[1] : 0x0000FF00);
        blue = Channel(fields ? masks[2] : 0x000000FF);
    }

    for (int y = 0; y < h; ++y) {
        int fileRow = topDown ? y : h - 1 - y;
        const auto* src = reinterpret_cast<const unsigned char*>(data.data()) +
                          stride * static_cast<std::uint64_t>(fileRow);
        std::uint8_t* dst = image.Row(y);
        switch (bits) {
        case 1:
        case 4:
        case 8:
            std::memcpy(dst, src, rowBytes);
            break;
        case 24:
            for (int x = 0; x < w; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
            break;
        case 16:
            for (int x = 0; x < w; ++x) {
                std::uint32_t px = src[2 * x] | (src[2 * x + 1] << 8);
                dst[3 * x] = red.Get(px);
                dst[3 * x + 1] = green.Get(px);
                dst[3 * x + 2] = blue.Get(px);
            }
            break;
        case 32:
            for (int x = 0; x < w; ++x) {
                const unsigned char* q = src + 4 * x;
                std::uint32_t px =
                    q[0] | (q[1] << 8) | (q[2] << 16) | (static_cast<std::uint32_t>(q[3]) << 24);
                dst[3 * x] = red.Get(px);
                dst[3 * x + 1] = green.Get(px);
                dst[3 * x + 2] = blue.Get(px);
            }
            break;
        }
    }
    return image;
}

std::optional<std::string> EncodeBmp(const Bitmap& image, std::string* error) {
    if (image.Empty()) {
        SetError(error, "BMP file: the picture has no pixels");
        return std::nullopt;
    }
    const int bits = BitsPerPixel(image.Format());
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(image.Width()) * bits + 7) / 8;
    const std::uint64_t stride = (rowBytes + 3) & ~std::uint64_t{3};
    const std::uint32_t entries = bits <= 8 ? (1u << bits) : 0;
    const std::uint64_t offset = 14 + 40 + 4ull * entries;
    const std::uint64_t total = offset + stride * static_cast<std::uint64_t>(image.Height());
    if (total > std::numeric_limits<std::uint32_t>::max()) {
        SetError(error, "BMP file: the picture is too large for this format");
        return std::nullopt;
    }

    std::string out;
    out.reserve(total);
    auto u16 = [&](std::uint32_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out += "BM";
    u32(static_cast<std::uint32_t>(total));
    u32(0);
    u32(static_cast<std::uint32_t>(offset));
    u32(40);
    u32(static_cast<std::uint32_t>(image.Width()));
    u32(static_cast<std::uint32_t>(image.Height())); // positive: bottom-up
    u16(1);
    u16(static_cast<std::uint32_t>(bits));
    u32(kRgb);
    u32(static_cast<std::uint32_t>(stride * static_cast<std::uint64_t>(image.Height())));
    u32(2835); // 72 dpi, the common "unknown"
    u32(2835);
    u32(entries);
    u32(0);
    for (std::uint32_t i = 0; i < entries; ++i) {
        std::uint32_t c = i < image.Palette().size() ? image.Palette()[i] : 0;
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
        out.push_back(static_cast<char>((c >> 16) & 0xFF));
        out.push_back(0);
    }
    std::string row(stride, '\0');
    for (int y = image.Height() - 1; y >= 0; --y) {
        const std::uint8_t* src = image.Row(y);
        if (bits == 24) {
            for (int x = 0; x < image.Width(); ++x) {
                row[3 * x] = static_cast<char>(src[3 * x + 2]);
                row[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
                row[3 * x + 2] = static_cast<char>(src[3 * x]);
            }
        } else {
            std::memcpy(row.data(), src, rowBytes);
        }
        out += row;
    }
    return out;
}

} // namespace pendlar::codec
