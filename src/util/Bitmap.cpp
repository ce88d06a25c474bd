#include "util/Bitmap.h"

namespace pendlar {

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : width_(width < 0 ? 0 : width), height_(height < 0 ? 0 : height), format_(format) {
    stride_ = (static_cast<std::size_t>(width_) * BitsPerPixel(format) + 7) / 8;
    data_.assign(stride_ * static_cast<std::size_t>(height_), 0);
    if (format != PixelFormat::Rgb24) {
        std::size_t entries = std::size_t{1} << BitsPerPixel(format);
        palette_.resize(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            std::uint32_t v = static_cast<std::uint32_t>(i * 255 / (entries - 1));
            palette_[i] = (v << 16) | (v << 8) | v;
        }
    }
}

Rgb Bitmap::Pixel(int x, int y) const {
    const std::uint8_t* row = Row(y);
    std::uint32_t index = 0;
    switch (format_) {
    case PixelFormat::Rgb24:
        return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    case PixelFormat::Bits8:
        index = row[x];
        break;
    case PixelFormat::Bits4:
        index = (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
        break;
    case PixelFormat::Bits1:
        index = (row[x / 8] >> (7 - x % 8)) & 1;
        break;
    }
    std::uint32_t c = index < palette_.size() ? palette_[index] : 0;
    return {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
            static_cast<std::uint8_t>(c)};
}

void Bitmap::SetPixel(int x, int y, Rgb c) {
    std::uint8_t* p = Row(y) + 3 * x;
    p[0] = c.R;
    p[1] = c.G;
    p[2] = c.B;
}

Bitmap Bitmap::ToRgb24() const {
    if (format_ == PixelFormat::Rgb24)
        return *this;
    Bitmap out(width_, height_, PixelFormat::Rgb24);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.SetPixel(x, y, Pixel(x, y));
    return out;
}

} // namespace pendlar
