#include "intake/ImageFile.h"

#include "intake/ImageCodecs.h"
#include "util/FileSystem.h"

#include <cstring>

namespace pendlar {

using codec::SetError;

namespace codec {

bool IsGreyRamp(const Bitmap& image) {
    if (image.Format() == PixelFormat::Rgb24)
        return false;
    const std::size_t entries = std::size_t{1} << BitsPerPixel(image.Format());
    const std::vector<std::uint32_t>& pal = image.Palette();
    if (pal.size() < entries)
        return false;
    for (std::size_t i = 0; i < entries; ++i) {
        std::uint32_t v = static_cast<std::uint32_t>(i * 255 / (entries - 1));
        if (pal[i] != ((v << 16) | (v << 8) | v))
            return false;
    }
    return true;
}

bool PaletteIsGrey(const Bitmap& image) {
    if (image.Format() == PixelFormat::Rgb24)
        return false;
    for (std::uint32_t c : image.Palette())
        if (((c >> 16) & 0xFF) != (c & 0xFF) || ((c >> 8) & 0xFF) != (c & 0xFF))
            return false;
    return true;
}

} // namespace codec

ImageFormat DetectImageFormat(std::string_view c) {
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(c[i]); };
    if (c.size() >= 3 && at(0) == 0xFF && at(1) == 0xD8 && at(2) == 0xFF)
        return ImageFormat::Jpeg;
    if (c.size() >= 8 && std::memcmp(c.data(), "\x89PNG\r\n\x1A\n", 8) == 0)
        return ImageFormat::Png;
    if (c.size() >= 4 && ((c.substr(0, 2) == "II" && (at(2) == 42 || at(2) == 43) && at(3) == 0) ||
                          (c.substr(0, 2) == "MM" && at(2) == 0 && (at(3) == 42 || at(3) == 43))))
        return ImageFormat::Tiff;
    if (c.size() >= 2 && c.substr(0, 2) == "BM")
        return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

ImageFormat ImageFormatFromExtension(std::string_view path) {
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return ImageFormat::Unknown;
    std::string ext(path.substr(dot + 1));
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    if (ext == "jpg" || ext == "jpeg" || ext == "jpe")
        return ImageFormat::Jpeg;
    if (ext == "tif" || ext == "tiff")
        return ImageFormat::Tiff;
    if (ext == "bmp")
        return ImageFormat::Bmp;
    if (ext == "png")
        return ImageFormat::Png;
    return ImageFormat::Unknown;
}

std::optional<Bitmap> DecodeImage(std::string_view content, std::string* error,
                                  const ImageLoadLimits& limits) {
    if (content.empty()) {
        SetError(error, "the file is empty");
        return std::nullopt;
    }
    switch (DetectImageFormat(content)) {
    case ImageFormat::Jpeg:
        return codec::DecodeJpeg(content, limits, error);
    case ImageFormat::Png:
        return codec::DecodePng(content, limits, error);
    case ImageFormat::Tiff:
        return codec::DecodeTiff(content, limits, error);
    case ImageFormat::Bmp:
        return codec::DecodeBmp(content, limits, error);
    case ImageFormat::Unknown:
        break;
    }
    SetError(error, "not a JPEG, TIFF, BMP or PNG file");
    return std::nullopt;
}

std::optional<std::string> EncodeImage(const Bitmap& image, ImageFormat format,
                                       const ImageSaveOptions& options, std::string* error) {
    switch (format) {
    case ImageFormat::Jpeg:
        return codec::EncodeJpeg(image, options.JpegQuality, error);
    case ImageFormat::Png:
        return codec::EncodePng(image, error);
    case ImageFormat::Tiff:
        return codec::EncodeTiff(image, error);
    case ImageFormat::Bmp:
        return codec::EncodeBmp(image, error);
    case ImageFormat::Unknown:
        break;
    }
    SetError(error, "unknown image file type (use .jpg, .tif, .bmp or .png)");
    return std::nullopt;
}

namespace {

std::optional<std::string> ReadImageBytes(const std::string& sjisPath, std::string* error) {
    std::optional<std::string> content = ReadWholeFile(sjisPath);
    if (!content)
        SetError(error, "cannot read the file " + sjisPath);
    return content;
}

} // namespace

std::optional<Bitmap> LoadImageFile(const std::string& sjisPath, std::string* error) {
    std::optional<std::string> content = ReadImageBytes(sjisPath, error);
    if (!content)
        return std::nullopt;
    return DecodeImage(*content, error);
}

bool SaveImageFile(const Bitmap& image, const std::string& sjisPath, std::string* error) {
    return SaveImageFile(image, sjisPath, ImageSaveOptions{}, error);
}

bool SaveImageFile(const Bitmap& image, const std::string& sjisPath,
                   const ImageSaveOptions& options, std::string* error) {
    std::optional<std::string> bytes =
        EncodeImage(image, ImageFormatFromExtension(sjisPath), options, error);
    if (!bytes)
        return false;
    if (!WriteFileAtomically(sjisPath, *bytes)) {
        SetError(error, "cannot write the file " + sjisPath);
        return false;
    }
    return true;
}

std::optional<ThumbnailSource> DecodeImageForThumbnail(std::string_view content, int boxWidth,
                                                       int boxHeight, std::string* error,
                                                       const ImageLoadLimits& limits) {
    ThumbnailSource out;
    if (DetectImageFormat(content) == ImageFormat::Jpeg) {
        int w = 0, h = 0, denominator = 1;
        if (codec::JpegSize(content, &w, &h)) {
            // The largest reduction whose picture still covers the box.
            for (int d : {8, 4, 2}) {
                if ((w + d - 1) / d >= boxWidth && (h + d - 1) / d >= boxHeight) {
                    denominator = d;
                    break;
                }
            }
        }
        std::optional<Bitmap> image =
            codec::DecodeJpeg(content, limits, error, denominator, &out.FullWidth, &out.FullHeight);
        if (!image)
            return std::nullopt;
        out.Image = std::move(*image);
        return out;
    }
    std::optional<Bitmap> image = DecodeImage(content, error, limits);
    if (!image)
        return std::nullopt;
    out.FullWidth = image->Width();
    out.FullHeight = image->Height();
    out.Image = std::move(*image);
    return out;
}

std::optional<ThumbnailSource> LoadImageForThumbnail(const std::string& sjisPath, int boxWidth,
                                                     int boxHeight, std::string* error) {
    std::optional<std::string> content = ReadImageBytes(sjisPath, error);
    if (!content)
        return std::nullopt;
    return DecodeImageForThumbnail(*content, boxWidth, boxHeight, error);
}

} // namespace pendlar
