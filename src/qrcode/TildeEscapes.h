// The ~-escapes of a code text: "~~" is one tilde, "~4142~" the bytes 0x41 0x42.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pendlar {

// The bytes of `code` with its escapes decoded; nullopt when a tilde has no closing tilde,
// an odd number of characters stands between two tildes, or they are not hexadecimal.
std::optional<std::string> DecodeTildeEscapes(std::string_view code);

// True when the data hold a control byte other than TAB, LF and CR.
bool HoldsControlBytes(std::string_view data);

} // namespace pendlar
