// One line of a cover-sheet patient list: patient number, name, sex, birth date and
// address, separated by commas, in Shift-JIS. Parse() checks the fields in order and stops
// at the first fault; the fields read before it keep their texts, the rest are empty.
#pragma once

#include <string>

namespace pendlar {

class TCsvLine {
public:
    // Fault codes; 0 is none.
    enum : int {
        kNone = 0,
        kEmptyLine = 1,
        kIdNoUnreadable = 2,
        kIdNoTooLong = 3,
        kNameUnreadable = 4,
        kNameTooLong = 5,
        kSexUnreadable = 6,
        kSexTooLong = 7,
        kBirthUnreadable = 8,
        kBirthTooLong = 9,
        kAddressUnreadable = 10,
        kAddressTooLong = 11,
    };

    // True when the line parsed without fault.
    bool Parse(const std::string& line);

    // The fields of the last line (Shift-JIS, quotes removed).
    const std::string& IdNo() const { return idNo_; }
    const std::string& Name() const { return name_; }
    const std::string& Sex() const { return sex_; }
    const std::string& Birth() const { return birth_; }
    const std::string& Address() const { return address_; }
    // The patient number (1 to 99,999,999) of a line without fault; 0 otherwise.
    long Number() const { return number_; }

    int ErrorCode() const { return errorCode_; }
    // The Shift-JIS message of the fault; empty without one.
    const std::string& ErrorText() const { return errorText_; }

    // The Shift-JIS message of a fault code (empty for 0 and unknown codes).
    static std::string Message(int code);
    // A patient number typed or listed as text: an integer from 1 to 99,999,999, blanks
    // around it allowed, leading zeros allowed. 0 when the text is not one.
    static long ParsePatientNumber(const std::string& text);

private:
    bool Fail(int code);

    std::string idNo_, name_, sex_, birth_, address_;
    long number_ = 0;
    int errorCode_ = kNone;
    std::string errorText_;
};

} // namespace pendlar
