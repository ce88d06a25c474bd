// settings: prints the settings as the program loads them, or assigns values and saves.
#include "Command.h"

#include "settings/Registory.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "util/Profile.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::tool {
namespace {

// pendlar-tool speaks UTF-8; the settings file's escaped form is only for the file, so
// strings are printed and read as plain UTF-8 text here.
std::string PrintableValue(const SettingEntry& entry, const SettingValue& value) {
    if (entry.Type == SettingType::String)
        return SjisToUtf8(std::get<std::string>(value));
    return FormatSettingValue(entry, value);
}

bool ParseToolValue(const SettingEntry& entry, const std::string& text, SettingValue& value) {
    if (entry.Type == SettingType::String) {
        std::optional<std::string> sjis = Utf8ToSjis(text);
        if (!sjis)
            return false;
        value = *sjis;
        return true;
    }
    if (entry.Type == SettingType::Binary && text.size() != 2 * entry.BinarySize)
        return false;
    return ParseSettingValue(entry, text, value);
}

int RunSettings(Args& args) {
    std::vector<std::string> assignments = args.TakeAll("set");
    if (args.MissingValue())
        return UsageError("settings", "--set needs Name=value");
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError("settings", "unknown option " + *unknown);
    if (!args.Rest().empty())
        return UsageError("settings", "unexpected argument " + args.Rest().front());

    TRegistory settings;
    settings.LoadSettings();

    if (assignments.empty()) {
        for (const auto& e : SettingsTable())
            std::printf("%s=%s\n", e.Name, PrintableValue(e, e.Get(settings)).c_str());
        return kOk;
    }

    // Every assignment is checked before anything is saved.
    for (const auto& a : assignments) {
        std::size_t eq = a.find('=');
        if (eq == std::string::npos)
            return UsageError("settings", "--set needs Name=value, got " + a);
        const SettingEntry* entry = FindSetting(a.substr(0, eq));
        if (!entry)
            return UsageError("settings", "no setting named " + a.substr(0, eq));
        SettingValue value;
        if (!ParseToolValue(*entry, a.substr(eq + 1), value))
            return UsageError("settings", "value of the wrong form for " + a.substr(0, eq));
        entry->Set(settings, value);
    }
    if (!settings.SaveSettings())
        return Fail("the settings file could not be written: " + SjisToUtf8(SettingsFilePath()));
    return kOk;
}

PENDLAR_TOOL_COMMAND("settings", "[--profile DIR] [--set Name=value ...]", RunSettings);

} // namespace
} // namespace pendlar::tool
