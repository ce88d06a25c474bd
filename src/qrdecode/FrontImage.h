// The first stage of the QR decoder: colour pixels to dark and light.
//
// One global threshold is taken from the middle row, which is enough for a cover sheet:
// one symbol on clean paper. The brightness offset moves the threshold; a larger offset
// makes fewer pixels dark.
#pragma once

#include "qrdecode/Planes.h"

namespace pendlar {

class TFrontImage {
public:
    static constexpr int kDefaultOffset = 7;

    int Offset() const { return offset_; }
    void SetOffset(int offset) { offset_ = offset; }

    // Converts a colour plane (red in the low byte) into the grey and the binary plane and
    // returns the binary one. An empty plane gives empty planes.
    const TPlaneBoolean& Binarise(const TPlaneInteger& colours);

    int Width() const { return grey_.Width(); }
    int Height() const { return grey_.Height(); }
    const TPlaneInteger& Grey() const { return grey_; }
    const TPlaneBoolean& Binary() const { return binary_; }
    int Threshold() const { return threshold_; }

private:
    int offset_ = kDefaultOffset;
    int threshold_ = 0;
    TPlaneInteger grey_;
    TPlaneBoolean binary_;
};

} // namespace pendlar
