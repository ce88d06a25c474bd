// The QR decoder as the rest of the program sees it: one object, created once, that reads
// the symbol in a crop and keeps its settings between reads.
//
// Decode(bitmap) binarises the crop, locates and samples the symbol and decodes it. The
// text is the symbol's bytes unchanged (Shift-JIS stays Shift-JIS). A failure is a value:
// Decode returns false and ErrorText() holds the Shift-JIS text of its code (1 symbol not
// located, 3 unreadable or damaged beyond correction). A geometry that breaks down inside
// the locator ends the read as a failure with an empty error text; its English reason is
// kept in InternalError().
#pragma once

#include "qrdecode/Decorder.h"
#include "qrdecode/FrontImage.h"
#include "qrdecode/Planes.h"
#include "util/Bitmap.h"

#include <functional>
#include <string>

namespace pendlar {

class TQRDecode {
public:
    using TNotifyEvent = std::function<void(TQRDecode& sender)>;

    TQRDecode();

    // Radius in modules of the bottom-right corner search; kept within 1..6.
    void SetWarp(int modules);
    int Warp() const { return warp_; }
    // Brightness offset of the binarisation; kept within 1..255. 7 until first set.
    void SetResolver(int offset);
    int Resolver() const { return front_.Offset(); }
    // 0 = find the version (below 15); 1-40 = read every symbol as that version.
    void SetForceVersion(int version);
    int ForceVersion() const { return forceVersion_; }

    // Fired after a decode that gave a text.
    TNotifyEvent OnDecoded;
    // Fired after a decode that failed, whether or not it left an error text.
    TNotifyEvent OnError;

    // True when a text was decoded; Text() then holds it.
    bool Decode(const Bitmap& bitmap);

    // The text of the last decode that ran to its end (empty after a failed one); a decode
    // ended by an internal error leaves it as it was.
    const std::string& Text() const { return text_; }
    // The Shift-JIS error text of the last decode; empty after success or internal error.
    const std::string& ErrorText() const { return decorder_.ErrorText(); }
    int ErrorCode() const { return decorder_.ErrorCode(); }
    const std::string& InternalError() const { return internalError_; }

    // The binarised crop of the last decode.
    const TPlaneBoolean& BinaryImage() const { return front_.Binary(); }
    const TDecorder& Decorder() const { return decorder_; }

private:
    TPlaneInteger colours_; // kept between decodes for its memory only
    TFrontImage front_;
    TDecorder decorder_;
    int warp_ = 1;
    int forceVersion_ = 0;
    std::string text_;
    std::string internalError_;
};

} // namespace pendlar
