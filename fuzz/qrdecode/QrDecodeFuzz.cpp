// Feeds small arbitrary bitmaps to the QR decoder.
//
// Input: width and height in cells (1-64 each), pixels per cell (1-4), the brightness
// offset, the corner search radius, the forced version (when its high bit is set), then
// one bit per cell, row by row, most significant bit first (1 = dark, missing = light).
// A saved symbol laid out this way decodes, so mutations explore the locator, the format
// and block correction and the segment reader from a readable start.
#include "qrdecode/QRDecode.h"
#include "util/Bitmap.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6)
        return 0;
    const int cellsWide = data[0] % 64 + 1;
    const int cellsHigh = data[1] % 64 + 1;
    const int scale = data[2] % 4 + 1;
    pendlar::TQRDecode decoder;
    decoder.SetResolver(data[3]);
    decoder.SetWarp(data[4] % 8);
    decoder.SetForceVersion(data[5] & 0x80 ? (data[5] & 0x7F) % 41 : 0);
    const std::uint8_t* bits = data + 6;
    const std::size_t bitCount = (size - 6) * 8;

    pendlar::Bitmap image(cellsWide * scale, cellsHigh * scale);
    for (int cy = 0; cy < cellsHigh; ++cy)
        for (int cx = 0; cx < cellsWide; ++cx) {
            const std::size_t bit = static_cast<std::size_t>(cy) * cellsWide + cx;
            const bool dark = bit < bitCount && (bits[bit / 8] >> (7 - bit % 8)) & 1;
            const std::uint8_t v = dark ? 0 : 255;
            for (int y = 0; y < scale; ++y)
                for (int x = 0; x < scale; ++x)
                    image.SetPixel(cx * scale + x, cy * scale + y, {v, v, v});
        }
    const bool decoded = decoder.Decode(image);
    // A decode either gives a text and no error, or fails; never both.
    if (decoded && !decoder.ErrorText().empty())
        __builtin_trap();
    return 0;
}
