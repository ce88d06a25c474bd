// The BMP codec on arbitrary bytes: no crash, no read outside the input, and whatever
// decodes survives our own encoder and decoder unchanged.
#include "intake/ImageCodecs.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    ImageLoadLimits limits;
    limits.MaxPixels = 1u << 16;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::optional<Bitmap> image = codec::DecodeBmp(bytes, limits, &error);
    if (!image) {
        if (error.empty())
            std::abort();
        return 0;
    }
    std::optional<std::string> again = codec::EncodeBmp(*image, &error);
    if (!again)
        std::abort();
    std::optional<Bitmap> back = codec::DecodeBmp(*again, limits, &error);
    if (!back || !(*back == *image))
        std::abort();
    return 0;
}
