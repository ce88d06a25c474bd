// The database-path dialog as the flows see it, so that they run without a window in tests.
#pragma once

#include <optional>
#include <string>

namespace pendlar {

class DatabasePathPrompt {
public:
    virtual ~DatabasePathPrompt() = default;
    // Shows the dialog modally. The path the person accepted (Shift-JIS, unchecked), or
    // nullopt on Cancel. `currentPath` is the setting in force, for the file chooser.
    virtual std::optional<std::string> AskDatabasePath(const std::string& currentPath) = 0;
};

} // namespace pendlar
