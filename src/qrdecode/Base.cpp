#include "qrdecode/Base.h"

#include "util/Sjis.h"

#include <array>

namespace pendlar {

void TBase::SetErrorCode(int code) {
    if (code >= 0 && code <= 10)
        errorCode_ = code;
}

const std::string& TBase::TextOf(int code) {
    // Written here in UTF-8 and converted once; the decoder hands Shift-JIS to its callers.
    static const std::array<std::string, 5> texts = {
        std::string(),
        Utf8ToSjisLossy("位置検出パターンがみつかりません。"),
        Utf8ToSjisLossy("サポートしていない型番です。"),
        Utf8ToSjisLossy("セルの読み込みでエラーが発生しました。"),
        Utf8ToSjisLossy("位置検出パターンが見つかりません。"),
    };
    static const std::string none;
    return code >= 0 && code < static_cast<int>(texts.size())
               ? texts[static_cast<std::size_t>(code)]
               : none;
}

} // namespace pendlar
