// Page bitmaps of the core shown in Qt widgets.
#pragma once

#include "util/Bitmap.h"

#include <QImage>

namespace pendlar {

// An RGB32 copy of any bitmap.
QImage BitmapToQImage(const Bitmap& bitmap);

} // namespace pendlar
