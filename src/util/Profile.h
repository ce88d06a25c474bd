// Where this user's files live.
//
// Without a profile the settings file is $XDG_CONFIG_HOME/Orvane/Pendlar15.conf and the
// data folder (word lists, key file, Temp) is $XDG_DATA_HOME/pendlar. A profile folder,
// given by --profile DIR or PENDLAR_PROFILE, holds both, so the demo and the tests never
// touch the user's own files. All paths returned here are Shift-JIS, without a trailing "/".
#pragma once

#include <string>

namespace pendlar {

// Sets the profile folder (UTF-8, as typed on the command line); empty clears it, and
// PENDLAR_PROFILE is then consulted again.
void SetProfileDir(const std::string& utf8Dir);

// The profile folder in force, or "" when none is set.
std::string ProfileDir();

// The settings file.
std::string SettingsFilePath();

// The per-user data folder.
std::string DataFolder();

// The user's home folder followed by "/", the stand-in for the "C:\" of the stored defaults.
std::string HomeFolder();

// The read-only program files (manual, icons): the installed share/pendlar folder, or the
// source tree's data folder when the program runs from the build tree.
std::string ProgramDataFolder();

} // namespace pendlar
