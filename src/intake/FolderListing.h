// The file list of the scanner folder: the plain files whose names match the masks of a
// dialog filter, without regard to case, sorted by name without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pendlar {

class TRegistory;

// The intake filter of the enabled page types: "ファイル形式|*.jpg;*.Jpeg;…" (Shift-JIS),
// or empty when no type is enabled.
std::string BuildTypeFilter(const TRegistory& settings);

// The masks of a filter "Name|*.a;*.b|Name2|*.c": every mask of every pattern part, in order,
// empty masks left out.
std::vector<std::string> FilterMasks(std::string_view filter);

// A file name against a mask of * and ? (ASCII letters compared without regard to case; the
// second byte of a double-byte character is never folded).
bool MatchesMask(std::string_view name, std::string_view mask);

// Names (Shift-JIS, no folder) of the plain files of `sjisFolder` that match any mask: regular
// files that are neither hidden nor symbolic links. Sorted by name without regard to case,
// names equal but for case in byte order. Empty when the folder cannot be listed.
std::vector<std::string> ListFolderFiles(const std::string& sjisFolder,
                                         const std::vector<std::string>& masks);

// Case-insensitive name order used by the listing.
bool NameLessNoCase(std::string_view a, std::string_view b);

} // namespace pendlar
