// The JPEG image item: like the bitmap item, but its picture is a JPEG whose bytes go into
// the document unchanged (a DCTDecode image), so a scanned page is never decoded again.
#pragma once

#include "pdf/PReport.h"

namespace pendlar {

class TPRJpegImage : public TPRImage {
public:
    explicit TPRJpegImage(std::string name = {}) : TPRImage(std::move(name)) {}

    void Print(TPRCanvas& canvas, const TRect& rect) override;

protected:
    bool TakesPicture(const TPRPicture& picture) const override;
    const char* WrongPictureMessage() const override { return "only jpeg image is allowed."; }
    bool HasPicture() const override;
    const char* CreatorName() const override { return "Pdf-Jpeg"; }
    // Every try draws a new number.
    std::string UnusedImageName(TPdfDoc& doc) override;
};

} // namespace pendlar
