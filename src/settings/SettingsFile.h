// The settings file: human-readable UTF-8 text standing in for the registry key.
//
//   # comment
//   [Software/Orvane/Pendlar15]
//   ScannerDir:string=/home/clerk/scan/
//   JpegType:bool=1
//   Sequence:int=0
//   PrintDensity:float=600
//   QRCodeImage:binary=400000004800000002000000
//
// Strings are stored as UTF-8 with "\\", "\n", "\r", "\t" and "\xHH" escapes; a byte that
// is not part of a valid Shift-JIS character is kept as "\xHH", so every Shift-JIS value
// reads back byte for byte. "int" and "bool" are the same kind of value (a 32-bit number,
// as in the registry); floats are the shortest text that reads back the same double;
// binary values are lower-case hex.
#pragma once

#include "settings/Registory.h"
#include "settings/SettingsTable.h"

#include <string>
#include <string_view>

namespace pendlar {

// The whole file text for the current fields, every value in table order.
std::string FormatSettingsFile(const TRegistory& settings);

// Loads the fields from a file text with the store's rules: no section gives the defaults,
// a missing string reads as "", a missing binary value leaves its field unchanged, and any
// other missing value, a value of another type, an unparsable value or a binary value
// longer than its record fails the load. Returns false, with every field at its default,
// on failure.
bool LoadSettingsText(TRegistory& settings, std::string_view text);

// One value as the file and pendlar-tool write it (strings as escaped UTF-8).
std::string FormatSettingValue(const SettingEntry& entry, const SettingValue& value);

// Parses one value of an entry from its text; false when the text is not of the entry's form.
bool ParseSettingValue(const SettingEntry& entry, std::string_view text, SettingValue& value);

} // namespace pendlar
