// Loading and saving page images: JPEG, TIFF, BMP and PNG files to and from a Bitmap.
//
// A load never crashes and never throws for bad input: it returns nullopt and, when asked,
// a short English text that says what was wrong. Pictures keep their natural depth where
// the Bitmap has one: bilevel pages stay Bits1, palette images stay indexed (Bits1, Bits4
// or Bits8 with their palette), grey images become Bits8 with a grey palette, everything
// else Rgb24. Transparent parts are laid on white, as a page lies on paper.
//
// The format of a file to load is told by its content; the format of a file to save by
// its extension. Saving encodes the whole file in memory first and then replaces the
// target in one step, so a failed save never leaves half a file.
#pragma once

#include "util/Bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pendlar {

enum class ImageFormat { Unknown, Jpeg, Tiff, Bmp, Png };

// The format of file content, from its first bytes.
ImageFormat DetectImageFormat(std::string_view content);

// The format of a file name's extension (.jpg .jpeg .jpe .tif .tiff .bmp .png, any case).
ImageFormat ImageFormatFromExtension(std::string_view sjisPath);

// Limits of one load. Pictures larger than MaxPixels are refused before any pixel
// memory is taken, so a small hostile file cannot ask for gigabytes.
struct ImageLoadLimits {
    std::uint64_t MaxPixels = 400'000'000; // a 600 dpi A3 page in colour has 70 million
};

std::optional<Bitmap> LoadImageFile(const std::string& sjisPath, std::string* error = nullptr);
bool SaveImageFile(const Bitmap& image, const std::string& sjisPath, std::string* error = nullptr);

struct ImageSaveOptions {
    int JpegQuality = 90; // 1-100; values outside are clamped
};
bool SaveImageFile(const Bitmap& image, const std::string& sjisPath,
                   const ImageSaveOptions& options, std::string* error = nullptr);

// Decoding and encoding in memory; the file functions above are built on these.
std::optional<Bitmap> DecodeImage(std::string_view content, std::string* error = nullptr,
                                  const ImageLoadLimits& limits = {});
std::optional<std::string> EncodeImage(const Bitmap& image, ImageFormat format,
                                       const ImageSaveOptions& options = {},
                                       std::string* error = nullptr);

// A page decoded for its thumbnail. JPEG files are decoded at 1/2, 1/4 or 1/8 of their
// size (the decoder's DCT scaling) when the result still covers the box; other formats
// are decoded whole. FullWidth and FullHeight are the size of the page itself.
struct ThumbnailSource {
    Bitmap Image;
    int FullWidth = 0;
    int FullHeight = 0;
};

// Decodes a page so that its image is at least boxWidth x boxHeight where the page is
// (or the whole page when it is smaller), ready for ResizeImage.
std::optional<ThumbnailSource> LoadImageForThumbnail(const std::string& sjisPath, int boxWidth,
                                                     int boxHeight, std::string* error = nullptr);
std::optional<ThumbnailSource> DecodeImageForThumbnail(std::string_view content, int boxWidth,
                                                       int boxHeight, std::string* error = nullptr,
                                                       const ImageLoadLimits& limits = {});

// A resized copy. Shrinking averages every source pixel that falls into a target pixel
// (weighted by the part that falls in), so thin lines and text stay visible in a
// thumbnail; enlarging interpolates linearly. The result is Bits8 with a grey palette when
// every colour of the source is grey, Rgb24 otherwise. An empty source or a size below 1
// gives an empty bitmap.
Bitmap ResizeImage(const Bitmap& source, int width, int height);

} // namespace pendlar
