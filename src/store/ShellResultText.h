// The texts for the result codes of opening a file with the desktop's default program,
// shared by the help command and the chart open and print commands.
#pragma once

#include <string>

namespace pendlar {

// The text of a failure code, or "" for success (above 32) and for codes without a text.
std::string ShellResultText(int code);

} // namespace pendlar
