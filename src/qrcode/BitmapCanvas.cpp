#include "qrcode/BitmapCanvas.h"

#include <algorithm>

namespace pendlar {

BitmapCanvas::BitmapCanvas(Bitmap& picture, TextRenderer text)
    : picture_(picture), text_(std::move(text)) {}

void BitmapCanvas::Reset(int width, int height) {
    picture_ = Bitmap(width, height, PixelFormat::Rgb24);
}

void BitmapCanvas::FillRect(long long x, long long y, long long width, long long height,
                            Rgb colour) {
    if (picture_.Format() != PixelFormat::Rgb24)
        return;
    const long long x0 = std::max(0LL, x), y0 = std::max(0LL, y);
    const long long x1 = std::min<long long>(picture_.Width(), x + width);
    const long long y1 = std::min<long long>(picture_.Height(), y + height);
    for (long long row = y0; row < y1; ++row) {
        std::uint8_t* p = picture_.Row(static_cast<int>(row)) + 3 * x0;
        for (long long col = x0; col < x1; ++col) {
            *p++ = colour.R;
            *p++ = colour.G;
            *p++ = colour.B;
        }
    }
}

TextExtent BitmapCanvas::MeasureText(const std::string& sjis) {
    if (!text_ || sjis.empty())
        return {};
    const Bitmap rendered = text_(sjis, Rgb{});
    return {rendered.Width(), rendered.Height()};
}

void BitmapCanvas::DrawText(long long x, long long y, const std::string& sjis, Rgb background) {
    if (!text_ || sjis.empty() || picture_.Format() != PixelFormat::Rgb24)
        return;
    const Bitmap rendered = text_(sjis, background);
    for (int ry = 0; ry < rendered.Height(); ++ry) {
        const long long py = y + ry;
        if (py < 0 || py >= picture_.Height())
            continue;
        for (int rx = 0; rx < rendered.Width(); ++rx) {
            const long long px = x + rx;
            if (px >= 0 && px < picture_.Width())
                picture_.SetPixel(static_cast<int>(px), static_cast<int>(py),
                                  rendered.Pixel(rx, ry));
        }
    }
}

Bitmap BitmapCanvas::Filled(int width, int height, Rgb colour) {
    Bitmap b(width, height, PixelFormat::Rgb24);
    BitmapCanvas(b).FillRect(0, 0, b.Width(), b.Height(), colour);
    return b;
}

Bitmap BitmapCanvas::Rotated(const Bitmap& picture, int angle) {
    if (picture.Empty() || (angle != 90 && angle != 180 && angle != 270))
        return picture;
    const Bitmap src = picture.ToRgb24();
    const int w = src.Width(), h = src.Height();
    Bitmap out(angle == 180 ? w : h, angle == 180 ? h : w, PixelFormat::Rgb24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = src.Pixel(x, y);
            if (angle == 90)
                out.SetPixel(h - 1 - y, x, c);
            else if (angle == 180)
                out.SetPixel(w - 1 - x, h - 1 - y, c);
            else
                out.SetPixel(y, w - 1 - x, c);
        }
    return out;
}

} // namespace pendlar
