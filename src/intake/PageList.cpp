#include "intake/PageList.h"

#include "intake/ImageFile.h"

#include <algorithm>
#include <cstring>

namespace pendlar {

int ThumbnailSide(int imSize) {
    return 32 * std::clamp(imSize, 0, 4) + 64;
}

void ThumbnailImageList::Reset(int side) {
    images_.clear();
    side_ = side;
}

int ThumbnailImageList::Add(Bitmap image) {
    images_.push_back(std::move(image));
    return static_cast<int>(images_.size()) - 1;
}

bool ThumbnailImageList::Replace(int index, Bitmap image) {
    if (index < 0 || index >= Count())
        return false;
    images_[static_cast<std::size_t>(index)] = std::move(image);
    return true;
}

const Bitmap* ThumbnailImageList::Image(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return &images_[static_cast<std::size_t>(index)];
}

Bitmap MakeThumbnailBitmap(const Bitmap& source, int pageWidth, int pageHeight, int side,
                           bool stretch) {
    Bitmap out(side, side, PixelFormat::Rgb24);
    std::fill(out.Data().begin(), out.Data().end(), std::uint8_t{255});
    if (source.Empty() || pageWidth <= 0 || pageHeight <= 0)
        return out;

    int w = side, h = side;
    if (!stretch) {
        const double wr = static_cast<double>(pageWidth) / side;
        const double hr = static_cast<double>(pageHeight) / side;
        const double s = wr > hr ? static_cast<double>(side) / pageWidth
                                 : static_cast<double>(side) / pageHeight;
        w = static_cast<int>(pageWidth * s);
        h = static_cast<int>(pageHeight * s);
    }
    // A page hundreds of times longer than wide still gets a visible line.
    w = std::clamp(w, 1, side);
    h = std::clamp(h, 1, side);
    const int x0 = (side - w) / 2;
    const int y0 = (side - h) / 2;

    const Bitmap scaled = ResizeImage(source, w, h);
    if (scaled.Empty())
        return out;
    const Bitmap rgb = scaled.Format() == PixelFormat::Rgb24 ? Bitmap() : scaled.ToRgb24();
    const Bitmap& src = rgb.Empty() ? scaled : rgb;
    for (int y = 0; y < h; ++y)
        std::memcpy(out.Row(y0 + y) + static_cast<std::size_t>(x0) * 3, src.Row(y),
                    static_cast<std::size_t>(w) * 3);
    return out;
}

} // namespace pendlar
