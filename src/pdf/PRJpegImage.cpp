#include "pdf/PRJpegImage.h"

namespace pendlar {

bool TPRJpegImage::TakesPicture(const TPRPicture& picture) const {
    return std::holds_alternative<std::monostate>(picture) ||
           std::holds_alternative<JpegPicture>(picture);
}

bool TPRJpegImage::HasPicture() const {
    const JpegPicture* jpeg = std::get_if<JpegPicture>(&picture_);
    return jpeg != nullptr && !jpeg->Bytes.empty() && jpeg->Width > 0 && jpeg->Height > 0;
}

std::string TPRJpegImage::UnusedImageName(TPdfDoc& doc) {
    for (int tries = 0; tries < 65535; ++tries) {
        std::string name = Name() + std::to_string(Random(65535));
        if (doc.GetXObject(name) == nullptr)
            return name;
    }
    throw std::runtime_error("image count over max value..");
}

void TPRJpegImage::Print(TPRCanvas& canvas, const TRect& rect) {
    if (!Printable())
        return;
    TPRImage::Print(canvas, rect);
}

} // namespace pendlar
