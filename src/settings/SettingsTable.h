// The stored values of TRegistory in their fixed order, with their types. The settings
// file, pendlar-tool and the tests walk this one table, so the order, names and types are
// written down once.
#pragma once

#include "settings/Registory.h"

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace pendlar {

enum class SettingType { String, Integer, Boolean, Float, Binary };

// String: Shift-JIS text; Integer and Boolean: a 32-bit number; Float: a double;
// Binary: the record's bytes.
using SettingValue = std::variant<std::string, std::int64_t, double, std::vector<std::uint8_t>>;

struct SettingEntry {
    const char* Name;
    SettingType Type;
    std::size_t BinarySize; // record length of a Binary value, else 0
    SettingValue (*Get)(const TRegistory&);
    void (*Set)(TRegistory&, const SettingValue&);
};

// Every value in read and write order; `UseIryoData` appears twice, as stored.
std::span<const SettingEntry> SettingsTable();

// The entry of a name, or nullptr.
const SettingEntry* FindSetting(const std::string& name);

} // namespace pendlar
