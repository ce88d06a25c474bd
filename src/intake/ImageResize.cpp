// Resizing for thumbnails and views: a separable filter, box (area) weights when shrinking
// and linear weights when enlarging, each computed once per axis.
#include "intake/ImageCodecs.h"
#include "intake/ImageFile.h"

#include <algorithm>
#include <cmath>

namespace pendlar {
namespace {

// For every target index, the source indexes that feed it and their weights (summing to 1).
struct Taps {
    std::vector<int> First;
    std::vector<int> Count;
    std::vector<float> Weight; // Count[i] entries per target index, in order
    std::vector<std::size_t> At;
};

Taps MakeTaps(int source, int target) {
    Taps t;
    t.First.resize(target);
    t.Count.resize(target);
    t.At.resize(target);
    const double scale = static_cast<double>(source) / target;
    for (int i = 0; i < target; ++i) {
        t.At[i] = t.Weight.size();
        if (scale > 1.0) {
            double lo = i * scale, hi = (i + 1) * scale;
            int first = static_cast<int>(std::floor(lo));
            int last = std::min(source - 1, static_cast<int>(std::ceil(hi)) - 1);
            t.First[i] = first;
            t.Count[i] = last - first + 1;
            for (int j = first; j <= last; ++j) {
                double overlap = std::min(hi, j + 1.0) - std::max(lo, static_cast<double>(j));
                t.Weight.push_back(static_cast<float>(std::max(0.0, overlap) / scale));
            }
        } else {
            double s = (i + 0.5) * scale - 0.5;
            s = std::clamp(s, 0.0, static_cast<double>(source - 1));
            int j = static_cast<int>(std::floor(s));
            float f = static_cast<float>(s - j);
            t.First[i] = j;
            if (j + 1 < source && f > 0.0f) {
                t.Count[i] = 2;
                t.Weight.push_back(1.0f - f);
                t.Weight.push_back(f);
            } else {
                t.Count[i] = 1;
                t.Weight.push_back(1.0f);
            }
        }
    }
    return t;
}

// One source row as 8-bit samples, `channels` (1 or 3) per pixel.
void ExpandRow(const Bitmap& src, int y, int channels, const std::vector<std::uint8_t>& lut,
               std::vector<std::uint8_t>& out) {
    const int w = src.Width();
    const std::uint8_t* row = src.Row(y);
    auto put = [&](int x, unsigned index) {
        if (channels == 1) {
            out[x] = lut[index];
        } else {
            out[3 * x] = lut[3 * index];
            out[3 * x + 1] = lut[3 * index + 1];
            out[3 * x + 2] = lut[3 * index + 2];
        }
    };
    switch (src.Format()) {
    case PixelFormat::Rgb24:
        std::copy(row, row + 3 * static_cast<std::size_t>(w), out.begin());
        break;
    case PixelFormat::Bits8:
        for (int x = 0; x < w; ++x)
            put(x, row[x]);
        break;
    case PixelFormat::Bits4:
        for (int x = 0; x < w; ++x)
            put(x, (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F);
        break;
    case PixelFormat::Bits1:
        for (int x = 0; x < w; ++x)
            put(x, (row[x / 8] >> (7 - x % 8)) & 1);
        break;
    }
}

} // namespace

Bitmap ResizeImage(const Bitmap& src, int width, int height) {
    if (src.Empty() || width < 1 || height < 1)
        return Bitmap();
    const bool grey = src.Format() != PixelFormat::Rgb24 && codec::PaletteIsGrey(src);
    const int channels = grey ? 1 : 3;

    // Palette lookup: index -> samples (entries past the palette are black).
    std::vector<std::uint8_t> lut;
    if (src.Format() != PixelFormat::Rgb24) {
        std::size_t entries = std::size_t{1} << BitsPerPixel(src.Format());
        lut.assign(entries * channels, 0);
        for (std::size_t i = 0; i < entries && i < src.Palette().size(); ++i) {
            std::uint32_t c = src.Palette()[i];
            if (grey) {
                lut[i] = static_cast<std::uint8_t>(c & 0xFF);
            } else {
                lut[3 * i] = static_cast<std::uint8_t>(c >> 16);
                lut[3 * i + 1] = static_cast<std::uint8_t>(c >> 8);
                lut[3 * i + 2] = static_cast<std::uint8_t>(c);
            }
        }
    }

    const Taps tx = MakeTaps(src.Width(), width);
    const Taps ty = MakeTaps(src.Height(), height);
    const std::size_t outRow = static_cast<std::size_t>(width) * channels;

    // Horizontal pass over every source row, then the vertical pass over those rows.
    std::vector<float> across(outRow * static_cast<std::size_t>(src.Height()));
    std::vector<std::uint8_t> line(static_cast<std::size_t>(src.Width()) * channels);
    for (int y = 0; y < src.Height(); ++y) {
        ExpandRow(src, y, channels, lut, line);
        float* dst = across.data() + outRow * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            const float* w = tx.Weight.data() + tx.At[x];
            const std::uint8_t* s = line.data() + static_cast<std::size_t>(tx.First[x]) * channels;
            for (int c = 0; c < channels; ++c) {
                float sum = 0;
                for (int k = 0; k < tx.Count[x]; ++k)
                    sum += w[k] * s[k * channels + c];
                dst[x * channels + c] = sum;
            }
        }
    }

    Bitmap out(width, height, grey ? PixelFormat::Bits8 : PixelFormat::Rgb24);
    std::vector<float> acc(outRow);
    for (int y = 0; y < height; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        const float* w = ty.Weight.data() + ty.At[y];
        for (int k = 0; k < ty.Count[y]; ++k) {
            const float* s = across.data() + outRow * static_cast<std::size_t>(ty.First[y] + k);
            for (std::size_t i = 0; i < outRow; ++i)
                acc[i] += w[k] * s[i];
        }
        std::uint8_t* dst = out.Row(y);
        for (std::size_t i = 0; i < outRow; ++i)
            dst[i] = static_cast<std::uint8_t>(std::clamp(std::lround(acc[i]), 0L, 255L));
    }
    return out;
}

} // namespace pendlar
