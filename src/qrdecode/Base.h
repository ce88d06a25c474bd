// The error code of the decoder's last read and the text shown for it.
#pragma once

#include <string>

namespace pendlar {

class TBase {
public:
    static constexpr int kNoError = 0;
    static constexpr int kNotLocated = 1;  // no finders, no version, no version block
    static constexpr int kUnsupported = 2; // a version outside the tables
    static constexpr int kUnreadable = 3;  // format or data beyond correction

    int ErrorCode() const { return errorCode_; }
    // Codes 0 to 10 are taken; any other value leaves the code as it was.
    void SetErrorCode(int code);
    // The Shift-JIS text of the current code; empty for 0 and for 5 to 10.
    const std::string& ErrorText() const { return TextOf(errorCode_); }
    static const std::string& TextOf(int code);

private:
    int errorCode_ = kNoError;
};

} // namespace pendlar
