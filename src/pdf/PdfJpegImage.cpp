#include "pdf/PdfJpegImage.h"

namespace pendlar {

std::unique_ptr<TPdfImage> TPdfJpegImage::CreateImage(const PdfPicture& picture) {
    const JpegPicture* const* held = std::get_if<const JpegPicture*>(&picture);
    if (held == nullptr || *held == nullptr)
        throw EPdfInvalidValue("only jpeg image is allowed.");
    const JpegPicture& jpeg = **held;
    auto image = std::make_unique<TPdfImage>();
    image->Stream() = jpeg.Bytes;
    TPdfDictionary* attributes = image->Attributes();
    attributes->PutName("Type", "XObject");
    attributes->PutName("Subtype", "Image");
    // Every JPEG the system writes is encoded from a colour bitmap.
    attributes->PutName("ColorSpace", "DeviceRGB");
    attributes->PutNumber("Width", jpeg.Width);
    attributes->PutNumber("Height", jpeg.Height);
    attributes->PutNumber("BitsPerComponent", 8);
    attributes->LookupArray("Filter")->Append(new TPdfName("DCTDecode"));
    return image;
}

} // namespace pendlar
