// A workstation for the window tests: a fresh profile, the real windows of the program with
// a scripted person, and helpers to wait for the event loop and to act on modal dialogs.
#pragma once

#include "app/AppWindows.h"
#include "app/MainUnit.h"
#include "settings/Registory.h"
#include "util/ScriptedUserInterface.h"

#include "TempDir.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace pendlar::test {

// The one QApplication of the test process (offscreen, Japanese set-up as in the program).
void EnsureApplication();

// Runs the event loop until `done` holds or `ms` have passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int ms = 5000);

// Runs `action` on the next modal window that opens, from inside its own event loop.
void OnNextModal(std::function<void(QWidget*)> action);
// Drops the actions still waiting for their dialog (a test that failed before it came).
void CancelModalActions();

class Station {
public:
    Station();
    ~Station();

    TempDir Dir;
    ScriptedUserInterface UI;
    std::unique_ptr<ApplicationWindows> Windows;

    // Writes the settings file of the profile before a start.
    void StoreSettings(const std::function<void(TRegistory&)>& change);
    // The settings as the next start would load them.
    TRegistory StoredSettings() const;
    // A new database in the profile's "db" folder, DatabasePath pointing at it.
    std::string MakeDatabase(const std::string& sqlAfter = "");

    // Creates the windows (without showing them).
    TMainForm& Create();
    // Creates the windows when needed, shows the main window and waits for the start-up.
    TMainForm& Start();
    // Ends this run: the windows go away as at the end of the program.
    void Stop() { Windows.reset(); }
    TMainForm& Main() { return *Windows->MainForm; }
    // The error-log lines in UTF-8.
    std::vector<std::string> ErrorLog();

private:
    std::optional<std::string> savedHome_;
};

} // namespace pendlar::test
