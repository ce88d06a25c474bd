// Numbers typed into the cover-sheet windows' edits.
#pragma once

#include <QString>

#include <optional>

namespace pendlar {

// A decimal number (blanks around it allowed); nullopt when the text is not one.
std::optional<double> TypedNumber(const QString& text);
// An integer (blanks around it allowed); nullopt when the text is not one.
std::optional<long long> TypedInteger(const QString& text);

} // namespace pendlar
