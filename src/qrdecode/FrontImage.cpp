#include "qrdecode/FrontImage.h"

#include <cstdint>

namespace pendlar {

const TPlaneBoolean& TFrontImage::Binarise(const TPlaneInteger& colours) {
    const int w = colours.Width();
    const int h = colours.Height();
    grey_.Reset(w, h);
    binary_.Reset(w, h);
    threshold_ = 0;
    if (w == 0 || h == 0)
        return binary_;

    auto grey = [&](int x, int y) {
        const std::uint32_t c = static_cast<std::uint32_t>(colours.At(x, y));
        const int r = static_cast<int>(c & 0xFF);
        const int g = static_cast<int>((c >> 8) & 0xFF);
        const int b = static_cast<int>((c >> 16) & 0xFF);
        return (30 * r + 59 * g + 11 * b) / 100;
    };

    // The middle row's sum is divided by W - 1, not W, which lifts the threshold a little
    // above the row's mean. A crop one pixel wide cannot hold a symbol; dividing by one
    // there keeps it from faulting.
    std::int64_t sum = 0;
    for (int x = 0; x < w; ++x)
        sum += grey(x, h / 2);
    threshold_ = static_cast<int>(sum / (w > 1 ? w - 1 : 1));

    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int g = grey(x, y);
            grey_.Set(x, y, g);
            binary_.Set(x, y, g + offset_ < threshold_);
        }
    return binary_;
}

} // namespace pendlar
