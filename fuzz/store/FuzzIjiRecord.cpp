// A billing record of any content decodes to a clean failure or to fields that fit their
// capacities; the input is taken as the plain record, so the fuzzer explores its layout.
#include "store/IjiImport.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    static const TProtectData protect(std::string("AbcdefghijKlmnopqrstUvwxyzAbcdefghijKlmn"));
    std::string plain(reinterpret_cast<const char*>(data), size);
    IjiDecodeResult r = DecodeIjiBlob(protect.Encrypt(plain), protect);
    for (const auto& e : r.Entries)
        if (const auto* text = std::get_if<std::string>(&e.Value))
            if (text->size() >= e.Field->Length)
                std::abort();
    if (!r.Ok() && IjiFailureMessage(r).empty())
        std::abort();
    return 0;
}
