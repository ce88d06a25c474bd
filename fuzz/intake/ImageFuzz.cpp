// The JPEG, PNG and TIFF wrappers (and BMP) on arbitrary bytes, through the same entry
// points the intake uses: full decode, thumbnail decode and the resize after it.
#include "intake/ImageFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    ImageLoadLimits limits;
    limits.MaxPixels = 1u << 16;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::optional<Bitmap> image = DecodeImage(bytes, &error, limits);
    if (!image && error.empty())
        std::abort();
    if (image && (image->Empty() || image->Data().size() != image->Stride() * image->Height()))
        std::abort();
    std::optional<ThumbnailSource> thumb = DecodeImageForThumbnail(bytes, 24, 24, &error, limits);
    if (thumb) {
        Bitmap small = ResizeImage(thumb->Image, 24, 17);
        if (small.Width() != 24 || small.Height() != 17)
            std::abort();
    }
    return 0;
}
