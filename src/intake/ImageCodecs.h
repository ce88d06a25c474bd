// The format codecs behind ImageFile.h, one per file format. Each decoder takes the whole
// file content and checks every length and offset against it; each encoder returns the
// whole file content. Failures come back as nullopt with a short English text.
#pragma once

#include "intake/ImageFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace pendlar::codec {

std::optional<Bitmap> DecodeBmp(std::string_view content, const ImageLoadLimits& limits,
                                std::string* error);
std::optional<std::string> EncodeBmp(const Bitmap& image, std::string* error);

// scaleDenominator 1, 2, 4 or 8: the picture is decoded at that fraction of its size.
// fullWidth/fullHeight, when given, receive the size of the picture itself.
std::optional<Bitmap> DecodeJpeg(std::string_view content, const ImageLoadLimits& limits,
                                 std::string* error, int scaleDenominator = 1,
                                 int* fullWidth = nullptr, int* fullHeight = nullptr);
// The size of a JPEG picture from its header, without decoding it.
bool JpegSize(std::string_view content, int* width, int* height);
std::optional<std::string> EncodeJpeg(const Bitmap& image, int quality, std::string* error);

std::optional<Bitmap> DecodePng(std::string_view content, const ImageLoadLimits& limits,
                                std::string* error);
std::optional<std::string> EncodePng(const Bitmap& image, std::string* error);

std::optional<Bitmap> DecodeTiff(std::string_view content, const ImageLoadLimits& limits,
                                 std::string* error);
std::optional<std::string> EncodeTiff(const Bitmap& image, std::string* error);

// Shared small helpers of the codecs.
inline void SetError(std::string* error, const std::string& text) {
    if (error)
        *error = text;
}

// True when the palette is the plain grey ramp a Bitmap of that format gets by default
// (black to white in 2, 16 or 256 steps).
bool IsGreyRamp(const Bitmap& image);

// Every palette entry grey (red = green = blue).
bool PaletteIsGrey(const Bitmap& image);

} // namespace pendlar::codec
