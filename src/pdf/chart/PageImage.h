// One scanned page made ready for its PDF page: decoded, fitted to (or cut to) the area
// the page offers, and encoded again as a baseline JPEG of three components.
//
// Everything here is a pure function of its input, safe to run on worker threads: equal
// input gives equal bytes whatever thread runs it.
//
// Fitting (Stretch on) keeps the aspect and fills the area's width or height; a reduction
// averages every source pixel over the part of the target pixel it covers (so thin pen
// strokes stay visible), an enlargement interpolates linearly. A JPEG that gets smaller
// is first decoded at the smallest DCT scale (in eighths) that still covers the target,
// the decoder's own low-pass reduction, and averaged from there. Without Stretch the page
// keeps its pixels and only its top-left part that fits is kept; a JPEG is then decoded
// only over that part (the rest is entropy-decoded and dropped, so a damaged file is
// refused exactly as a full decode refuses it) and gives the same pixels as a full decode
// followed by the cut.
#pragma once

#include "pdf/JpegPicture.h"
#include "util/Bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

struct PagePlacement {
    int Width = 0;
    int Height = 0;
};

// The size a width x height image gets in an area of availableWidth x availableHeight.
// Never below 1 x 1.
PagePlacement PlacePageImage(int width, int height, int availableWidth, int availableHeight,
                             bool stretch);

// The quality the encoder is given: 50 to 100.
int ClampQuality(int quality);

struct PageImageSettings {
    int AvailableWidth = 634;
    int AvailableHeight = 934;
    bool Stretch = false;
    int Quality = 80; // clamped when used
};

// Decoded pixels: 1 (grey) or 3 (RGB) bytes per pixel, rows top-down without padding.
struct PixelImage {
    int Width = 0;
    int Height = 0;
    int Channels = 3;
    std::vector<std::uint8_t> Data;
};

// A page image from file content (JPEG, PNG, TIFF, BMP); nullopt when it cannot be
// loaded, with a short English reason in `error`.
std::optional<JpegPicture> ComposePageImage(std::string_view content,
                                            const PageImageSettings& settings,
                                            std::string* error = nullptr);
// The same from a bitmap decoded elsewhere (a DICOM frame).
std::optional<JpegPicture> ComposePageImage(const Bitmap& image, const PageImageSettings& settings,
                                            std::string* error = nullptr);

// The stages, for tests and the benchmark.

// The fitted or cut pixels the JPEG is made from.
std::optional<PixelImage> PlacePagePixels(std::string_view content,
                                          const PageImageSettings& settings,
                                          std::string* error = nullptr);
PixelImage PlacePagePixels(const Bitmap& image, const PageImageSettings& settings);
// A resized copy of `source` (area averaging when reducing, linear when enlarging).
PixelImage ResamplePixels(const PixelImage& source, int width, int height);
// The whole picture of a JPEG file, without any cut (CMYK files are not decoded here).
std::optional<PixelImage> DecodeJpegPixels(std::string_view content, std::string* error = nullptr);
// A baseline JPEG of three components at the clamped quality.
std::optional<JpegPicture> EncodeBaselineJpeg(const PixelImage& image, int quality,
                                              std::string* error = nullptr);

} // namespace pendlar
