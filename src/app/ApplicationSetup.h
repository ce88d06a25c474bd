// What the program sets up once before its windows exist: Japanese translations of Qt's
// own texts (standard buttons, file dialogs), the Japanese locale and an explicit Japanese
// font, and the --profile option.
#pragma once

#include <string>

class QApplication;

namespace pendlar {

// The font family of every window; Qt's own pick may take digits from another font.
constexpr const char* kJapaneseFontFamily = "Noto Sans CJK JP";

void SetUpApplication(QApplication& app);

// Takes "--profile DIR" or "--profile=DIR" out of the arguments and sets the profile.
// False when the option has no folder; `error` then says why.
bool TakeProfileOption(int& argc, char** argv, std::string& error);

} // namespace pendlar
