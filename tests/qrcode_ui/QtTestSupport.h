// Shared by the window tests: the one QApplication of the test program (offscreen), and
// pictures between Qt and the decoder.
#pragma once

#include "util/Bitmap.h"

#include <QImage>

namespace pendlar::test {

// An Rgb24 bitmap of a Qt picture.
Bitmap BitmapOf(const QImage& image);

} // namespace pendlar::test
