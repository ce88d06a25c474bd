#include "intake/ImageControl.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace pendlar {
namespace {

// Raw pixel values on a row: a palette index for the indexed formats, 0xRRGGBB for Rgb24.
template <PixelFormat F> inline std::uint32_t Get(const std::uint8_t* row, int x) {
    if constexpr (F == PixelFormat::Bits1) {
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    } else if constexpr (F == PixelFormat::Bits4) {
        return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    } else if constexpr (F == PixelFormat::Bits8) {
        return row[x];
    } else {
        const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
}

// Output rows start zeroed, so the packed formats only need to set bits.
template <PixelFormat F> inline void Put(std::uint8_t* row, int x, std::uint32_t v) {
    if constexpr (F == PixelFormat::Bits1) {
        if (v)
            row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
    } else if constexpr (F == PixelFormat::Bits4) {
        row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? (v & 0x0F) : (v << 4));
    } else if constexpr (F == PixelFormat::Bits8) {
        row[x] = static_cast<std::uint8_t>(v);
    } else {
        std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
        p[0] = static_cast<std::uint8_t>(v >> 16);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v);
    }
}

enum class Turn { Left, Right, Half };

// Walks the output in square blocks so that both the rows read and the rows written stay
// in the cache; a page turned a pixel at a time down whole columns would not.
template <PixelFormat F, Turn T> void TurnRows(const Bitmap& in, Bitmap& out) {
    const int w = in.Width();
    const int h = in.Height();
    if constexpr (T == Turn::Half) {
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* src = in.Row(h - 1 - y);
            std::uint8_t* dst = out.Row(y);
            for (int x = 0; x < w; ++x)
                Put<F>(dst, x, Get<F>(src, w - 1 - x));
        }
        return;
    } else {
        constexpr int kBlock = 64;
        const int ow = out.Width();  // = h
        const int oh = out.Height(); // = w
        for (int by = 0; by < oh; by += kBlock) {
            const int ey = std::min(by + kBlock, oh);
            for (int bx = 0; bx < ow; bx += kBlock) {
                const int ex = std::min(bx + kBlock, ow);
                for (int oy = by; oy < ey; ++oy) {
                    std::uint8_t* dst = out.Row(oy);
                    for (int ox = bx; ox < ex; ++ox) {
                        // Left: out(y, W-1-x) = in(x, y)  =>  out(ox, oy) = in(W-1-oy, ox).
                        // Right: out(H-1-y, x) = in(x, y) =>  out(ox, oy) = in(oy, H-1-ox).
                        std::uint32_t v;
                        if constexpr (T == Turn::Left)
                            v = Get<F>(in.Row(ox), w - 1 - oy);
                        else
                            v = Get<F>(in.Row(h - 1 - ox), oy);
                        Put<F>(dst, ox, v);
                    }
                }
            }
        }
    }
}

template <Turn T> void TurnAny(const Bitmap& in, Bitmap& out) {
    if (in.Empty()) {
        out = Bitmap();
        return;
    }
    if constexpr (T == Turn::Half)
        out = Bitmap(in.Width(), in.Height(), in.Format());
    else
        out = Bitmap(in.Height(), in.Width(), in.Format());
    out.Palette() = in.Palette();
    switch (in.Format()) {
    case PixelFormat::Bits1:
        TurnRows<PixelFormat::Bits1, T>(in, out);
        break;
    case PixelFormat::Bits4:
        TurnRows<PixelFormat::Bits4, T>(in, out);
        break;
    case PixelFormat::Bits8:
        TurnRows<PixelFormat::Bits8, T>(in, out);
        break;
    case PixelFormat::Rgb24:
        TurnRows<PixelFormat::Rgb24, T>(in, out);
        break;
    }
}

} // namespace

void TImageUnit::RotateLeft(const Bitmap& in) {
    TurnAny<Turn::Left>(in, out_);
}

void TImageUnit::RotateRight(const Bitmap& in) {
    TurnAny<Turn::Right>(in, out_);
}

void TImageUnit::Rotate180(const Bitmap& in) {
    TurnAny<Turn::Half>(in, out_);
}

Bitmap TImageUnit::TakeImage() {
    Bitmap b = std::move(out_);
    out_ = Bitmap();
    return b;
}

Bitmap MatchPaletteOf(const Bitmap& image, const Bitmap& like) {
    if (image.Format() != PixelFormat::Rgb24 || like.Format() == PixelFormat::Rgb24 ||
        like.Palette().empty())
        return image;
    std::unordered_map<std::uint32_t, std::uint32_t> index;
    const std::vector<std::uint32_t>& palette = like.Palette();
    for (std::size_t i = 0; i < palette.size(); ++i)
        index.emplace(palette[i] & 0xFFFFFFu, static_cast<std::uint32_t>(i));

    Bitmap out(image.Width(), image.Height(), like.Format());
    out.Palette() = palette;
    // Pages are mostly runs of one colour: remember the last look-up.
    std::uint32_t lastColour = 0xFFFFFFFFu, lastIndex = 0;
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* src = image.Row(y);
        std::uint8_t* dst = out.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t c = Get<PixelFormat::Rgb24>(src, x);
            if (c != lastColour) {
                auto it = index.find(c);
                if (it == index.end())
                    return image;
                lastColour = c;
                lastIndex = it->second;
            }
            switch (out.Format()) {
            case PixelFormat::Bits1:
                Put<PixelFormat::Bits1>(dst, x, lastIndex);
                break;
            case PixelFormat::Bits4:
                Put<PixelFormat::Bits4>(dst, x, lastIndex);
                break;
            default:
                Put<PixelFormat::Bits8>(dst, x, lastIndex);
                break;
            }
        }
    }
    return out;
}

} // namespace pendlar
