#include "qrdecode/QRDecode.h"

#include "qrdecode/SymbolTables.h"

#include <algorithm>
#include <exception>

namespace pendlar {

TQRDecode::TQRDecode() {
    decorder_.SetCornerRadius(warp_);
}

void TQRDecode::SetWarp(int modules) {
    warp_ = std::clamp(modules, 1, 6);
    decorder_.SetCornerRadius(warp_);
}

void TQRDecode::SetResolver(int offset) {
    front_.SetOffset(std::clamp(offset, 1, 255));
}

void TQRDecode::SetForceVersion(int version) {
    forceVersion_ = std::clamp(version, 0, kMaxVersion);
}

bool TQRDecode::Decode(const Bitmap& bitmap) {
    internalError_.clear();
    bool decoded = false;
    try {
        const int w = bitmap.Empty() ? 0 : bitmap.Width();
        const int h = bitmap.Empty() ? 0 : bitmap.Height();
        colours_.Reset(w, h);
        for (int y = 0; y < h; ++y) {
            if (bitmap.Format() == PixelFormat::Rgb24) {
                const std::uint8_t* p = bitmap.Row(y);
                for (int x = 0; x < w; ++x, p += 3)
                    colours_.Set(x, y,
                                 static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16)));
            } else {
                for (int x = 0; x < w; ++x) {
                    const Rgb c = bitmap.Pixel(x, y);
                    colours_.Set(x, y, static_cast<std::int32_t>(c.R | (c.G << 8) | (c.B << 16)));
                }
            }
        }
        const TPlaneBoolean& binary = front_.Binarise(colours_);
        decorder_.SetForcedVersion(forceVersion_);
        text_ = decorder_.Decode(binary);
        decoded = decorder_.ErrorCode() == TBase::kNoError;
    } catch (const std::exception& e) {
        // An internal failure leaves no error text; the callers show it as an empty one.
        decorder_.SetErrorCode(TBase::kNoError);
        internalError_ = e.what();
        if (internalError_.empty())
            internalError_ = "Program Error";
    }
    // A failed read must never look like a successful one to a listener: OnDecoded would
    // send it to the text of the previous read.
    if (decoded) {
        if (OnDecoded)
            OnDecoded(*this);
    } else if (OnError) {
        OnError(*this);
    }
    return decoded;
}

} // namespace pendlar
