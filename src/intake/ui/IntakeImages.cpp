#include "intake/ui/IntakeImages.h"

namespace pendlar {

QImage BitmapToQImage(const Bitmap& bitmap) {
    if (bitmap.Empty())
        return {};
    QImage out(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Rgb c = bitmap.Pixel(x, y);
            row[x] = qRgb(c.R, c.G, c.B);
        }
    }
    return out;
}

} // namespace pendlar
