// An in-memory raster image, the currency between the image loaders, the QR decoder and
// encoder, the DICOM reader and the PDF writer.
//
// Rows are stored top-down without padding: a row takes (Width * bits + 7) / 8 bytes.
// Indexed formats carry a palette of 0x00RRGGBB entries; for Bits1 a 0 bit is palette
// entry 0. Rgb24 stores R, G, B bytes per pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pendlar {

enum class PixelFormat { Bits1, Bits4, Bits8, Rgb24 };

constexpr int BitsPerPixel(PixelFormat f) {
    switch (f) {
    case PixelFormat::Bits1:
        return 1;
    case PixelFormat::Bits4:
        return 4;
    case PixelFormat::Bits8:
        return 8;
    case PixelFormat::Rgb24:
        return 24;
    }
    return 24;
}

struct Rgb {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class Bitmap {
public:
    Bitmap() = default;
    // A bitmap of the given size, every byte zero. Indexed formats get a grey palette
    // (black to white) of 2, 16 or 256 entries.
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Rgb24);

    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormat Format() const { return format_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    std::size_t Stride() const { return stride_; }

    std::uint8_t* Row(int y) { return data_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* Row(int y) const {
        return data_.data() + static_cast<std::size_t>(y) * stride_;
    }
    std::vector<std::uint8_t>& Data() { return data_; }
    const std::vector<std::uint8_t>& Data() const { return data_; }

    std::vector<std::uint32_t>& Palette() { return palette_; }
    const std::vector<std::uint32_t>& Palette() const { return palette_; }

    // The colour of one pixel, whatever the format. Coordinates must be inside.
    Rgb Pixel(int x, int y) const;
    // Sets one pixel of an Rgb24 bitmap.
    void SetPixel(int x, int y, Rgb c);

    // The same picture as Rgb24.
    Bitmap ToRgb24() const;

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_ = PixelFormat::Rgb24;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> data_;
    std::vector<std::uint32_t> palette_;
};

} // namespace pendlar
