// The texts that come from outside into the intake: decoded QR texts, file names and the
// masks of a type filter. No crash, and the results keep their promises: an accepted number
// is one the integer rule accepts, a name read from a file name is digits only, and a
// name always matches the mask "*" and itself.
#include "intake/FolderListing.h"
#include "intake/PatientNumber.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    const std::string name = input.substr(0, cut);
    const std::string mask = cut == std::string::npos ? std::string() : input.substr(cut + 1);

    (void)ParseInt32(input);
    const int position = size > 0 ? data[0] % 16 : 1;
    if (auto number = PatientNumberFromFileName(name, position)) {
        if (number->empty() || number->size() > 8 || !ParseInt32(*number))
            std::abort();
        for (char c : *number)
            if (c < '0' || c > '9')
                std::abort();
    }
    (void)MatchesMask(name, mask);
    if (!MatchesMask(name, "*"))
        std::abort();
    if (name.find_first_of("*?") == std::string::npos && !MatchesMask(name, name))
        std::abort();
    (void)FilterMasks(input);
    if (NameLessNoCase(name, mask) && NameLessNoCase(mask, name))
        std::abort();
    return 0;
}
