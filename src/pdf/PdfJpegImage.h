// The JPEG image creator: the picture's JPEG bytes pass through unchanged as a DCTDecode
// stream, so the writer never decodes or re-encodes them.
#pragma once

#include "pdf/PdfImages.h"

namespace pendlar {

class TPdfJpegImage : public TPdfImageCreator {
public:
    std::unique_ptr<TPdfImage> CreateImage(const PdfPicture& picture) override;
};

} // namespace pendlar
