// Any file text loads as a complete, consistent store, and what it saves loads back the same.
#include "settings/Registory.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    TRegistory r;
    LoadSettingsText(r, std::string_view(reinterpret_cast<const char*>(data), size));
    TRegistory again;
    if (!LoadSettingsText(again, FormatSettingsFile(r)))
        std::abort();
    for (const auto& e : SettingsTable())
        if (FormatSettingValue(e, e.Get(again)) != FormatSettingValue(e, e.Get(r)))
            std::abort();
    return 0;
}
