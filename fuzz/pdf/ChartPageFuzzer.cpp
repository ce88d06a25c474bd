// Any file content goes through the page-image stage of the chart composition: the JPEG
// decode that cuts or fits while it decodes, the resampler and the encoder. The first
// byte chooses the page area and the stretching; JPEG content is decoded by the stage
// itself, anything else is read as a small bitmap of the chosen format. Every page that
// is made must be a JPEG of the size its placement promises.
#include "intake/ImageFile.h"
#include "pdf/chart/PageImage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    if (size < 4)
        return 0;
    const std::uint8_t mode = data[0];
    PageImageSettings settings;
    settings.Stretch = (mode & 1) != 0;
    settings.AvailableWidth = 1 + (mode >> 1 & 7) * 40;
    settings.AvailableHeight = 1 + (mode >> 4 & 7) * 40;
    settings.Quality = 40 + (mode >> 7) * 70;
    std::string_view content(reinterpret_cast<const char*>(data + 1), size - 1);

    if (DetectImageFormat(content) == ImageFormat::Jpeg) {
        std::optional<PixelImage> pixels = PlacePagePixels(content, settings);
        if (!pixels)
            return 0;
        Require(pixels->Width >= 1 && pixels->Height >= 1);
        Require(pixels->Width <= settings.AvailableWidth &&
                pixels->Height <= settings.AvailableHeight);
        Require(pixels->Data.size() ==
                static_cast<std::size_t>(pixels->Width) * pixels->Height * pixels->Channels);
        std::optional<JpegPicture> jpeg = EncodeBaselineJpeg(*pixels, settings.Quality);
        Require(jpeg && jpeg->Width == pixels->Width && jpeg->Height == pixels->Height);
        return 0;
    }

    // A small bitmap: format, size and pixels from the input.
    const PixelFormat formats[] = {PixelFormat::Bits1, PixelFormat::Bits4, PixelFormat::Bits8,
                                   PixelFormat::Rgb24};
    Bitmap image(1 + data[1] % 64, 1 + data[2] % 64, formats[data[3] % 4]);
    for (std::size_t i = 0; i < image.Data().size() && 4 + i < size; ++i)
        image.Data()[i] = data[4 + i];
    for (std::size_t i = 0; i < image.Palette().size() && 4 + i < size; i += 3)
        image.Palette()[i] ^= static_cast<std::uint32_t>(data[4 + i]) << (8 * (i % 3));
    std::optional<JpegPicture> jpeg = ComposePageImage(image, settings);
    Require(jpeg.has_value());
    PagePlacement p = PlacePageImage(image.Width(), image.Height(), settings.AvailableWidth,
                                     settings.AvailableHeight, settings.Stretch);
    Require(jpeg->Width == p.Width && jpeg->Height == p.Height);
    return 0;
}
