// Drives the QR encoder with arbitrary texts and settings. The first bytes choose the
// settings, the rest is the code text. Every paint must either draw or decline cleanly;
// a split that fails its own check is a fault.
#include "qrcode/QRCodeCore.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kSettings = 10;
    if (size < kSettings)
        return 0;
    auto at = [&](size_t i) { return static_cast<int>(data[i]); };
    pendlar::QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    qr.SetEclevel(at(1) % 4);
    qr.SetEmode(at(2) % 5 - 1);
    qr.SetMasktype(at(3) % 9 - 1);
    qr.SetCount(1 + at(4) * 4 % 1024);
    // Many symbols of a large version take long to encode; small ones cover the same code.
    qr.SetVersion(1 + at(0) % (qr.Count() > 4 ? 10 : 40));
    qr.SetMode(static_cast<pendlar::TQRMode>(at(5) % 3));
    qr.SetColumn(1 + at(6) % 20);
    qr.SetPxmag(1 + (at(7) & 1));
    qr.SetAngle(90 * ((at(7) >> 2) & 3));
    // Large sets are drawn on the small control only, to keep each run quick.
    qr.SetMatch((at(7) & 16) != 0 && qr.Count() <= 32);
    qr.SetTransparent((at(7) & 32) != 0);
    qr.SetSymbolDebug((at(7) & 64) != 0);
    qr.SetClearOption((at(7) & 128) != 0);
    qr.SetBinaryOperation((at(8) & 1) != 0);
    qr.SetSymbolSpaceUp(at(8) >> 4);
    qr.SetSymbolSpaceLeft(at(9) & 15);
    qr.SetSymbolLeft((at(9) >> 4) - 8);
    qr.SetCommentUp((at(8) & 2) ? "up" : "");
    qr.SetCommentDown((at(8) & 4) ? "down" : "");
    qr.SetNumbering(static_cast<pendlar::TNumbering>(at(9) % 4));
    qr.SetControlSize(64, 48);
    qr.CommentRenderer = [](const std::string& text, pendlar::Rgb background) {
        return pendlar::BitmapCanvas::Filled(static_cast<int>(text.size()) * 3, 5, background);
    };
    qr.SetCode(std::string(reinterpret_cast<const char*>(data) + kSettings, size - kSettings));
    try {
        qr.SetSymbolEnabled(true);
        if ((at(8) & 8) != 0)
            qr.PBM();
    } catch (const std::runtime_error&) {
        std::abort(); // the split must always pass its own check
    }
    // A set that shows was encoded symbol by symbol; each must have a matrix of its version.
    if (qr.SymbolDisped() && !qr.SymbolDebug()) {
        const pendlar::QRSymbol first = qr.EncodeSymbol(1);
        if (!first.Ok || first.Matrix.Side() != 17 + 4 * qr.Version())
            std::abort();
    }
    return 0;
}
