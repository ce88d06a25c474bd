// Image creators: they turn a picture into an image external object (an unregistered
// TPdfImage stream) that the document registers with AddImage and the canvas draws with
// DrawXObject. Creators are found by name: "Pdf-Bitmap" and "Pdf-Jpeg".
#pragma once

#include "pdf/JpegPicture.h"
#include "pdf/PdfTypes.h"
#include "util/Bitmap.h"

#include <memory>
#include <stdexcept>
#include <string_view>
#include <variant>

namespace pendlar {

// A bitmap that cannot be turned into an image.
class EPdfInvalidImageFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a creator is given: a bitmap or a JPEG picture, borrowed for the call.
using PdfPicture = std::variant<const Bitmap*, const JpegPicture*>;

class TPdfImageCreator {
public:
    virtual ~TPdfImageCreator() = default;
    virtual std::unique_ptr<TPdfImage> CreateImage(const PdfPicture& picture) = 0;
};

// Copies the pixels uncompressed: 1-, 4- and 8-bit bitmaps as 8-bit indexed pixels with a
// 256-entry palette, others as 24-bit RGB.
class TPdfBitmapImage : public TPdfImageCreator {
public:
    std::unique_ptr<TPdfImage> CreateImage(const PdfPicture& picture) override;
};

// The creator registered under `name`, or null.
std::unique_ptr<TPdfImageCreator> CreateImageCreator(std::string_view name);

// Finds the creator by name and lets it make the image.
std::unique_ptr<TPdfImage> CreateImageFrom(const PdfPicture& picture, std::string_view name);

} // namespace pendlar
