// A JPEG picture as the image layer hands it to the PDF writer: its size in pixels and its
// complete file bytes, which go into the PDF unchanged.
#pragma once

#include <string>

namespace pendlar {

struct JpegPicture {
    int Width = 0;
    int Height = 0;
    std::string Bytes;
};

} // namespace pendlar
