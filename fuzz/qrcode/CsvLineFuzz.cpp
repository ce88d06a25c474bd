// Feeds arbitrary bytes to the patient-list line parser as one line. Whatever the line,
// the parser must end with a known fault code and its own message, keep only fields that
// passed their checks, and give the same answer again after another line was parsed.
#include "qrcode/CsvLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using pendlar::TCsvLine;
    const std::string line(reinterpret_cast<const char*>(data), size);
    TCsvLine parser;
    const bool ok = parser.Parse(line);
    const int code = parser.ErrorCode();
    Require(code >= TCsvLine::kNone && code <= TCsvLine::kAddressTooLong);
    Require(ok == (code == TCsvLine::kNone));
    Require(parser.ErrorText() == TCsvLine::Message(code));
    Require(ok || !parser.ErrorText().empty());

    // A field is kept only once it passed its length check; the number only without fault.
    Require(parser.IdNo().size() <= 10);
    Require(parser.Name().size() < 100 && parser.Sex().size() < 7);
    Require(parser.Birth().size() < 25 && parser.Address().size() < 100);
    const std::size_t kept = parser.IdNo().size() + parser.Name().size() + parser.Sex().size() +
                             parser.Birth().size() + parser.Address().size();
    Require(kept <= line.size());
    if (ok) {
        Require(parser.Number() >= 1 && parser.Number() <= 99999999);
        Require(parser.Number() == TCsvLine::ParsePatientNumber(parser.IdNo()));
    } else {
        Require(parser.Number() == 0);
    }

    // Nothing of an earlier line survives into the next parse.
    const std::string idNo = parser.IdNo(), name = parser.Name(), address = parser.Address();
    parser.Parse("1,a,b,c,d");
    Require(parser.Parse(line) == ok && parser.ErrorCode() == code);
    Require(parser.IdNo() == idNo && parser.Name() == name && parser.Address() == address);

    // Plain fields written back as a line read the same.
    if (ok) {
        std::string plain = parser.IdNo() + "," + parser.Name() + "," + parser.Sex() + "," +
                            parser.Birth() + "," + parser.Address();
        bool simple = true;
        for (unsigned char c : plain)
            simple = simple && c < 0x80;
        if (simple && plain.find('"') == std::string::npos) {
            TCsvLine again;
            // Only as many commas as fields: a comma inside a field was quoted.
            std::size_t commas = 0;
            for (char c : plain)
                commas += c == ',';
            if (commas == 4) {
                Require(again.Parse(plain));
                Require(again.Name() == parser.Name() && again.Sex() == parser.Sex() &&
                        again.Birth() == parser.Birth() && again.Address() == parser.Address());
            }
        }
    }
    return 0;
}
