#include "FilingStation.h"

#include "Command.h"

#include "store/ChartChoice.h"
#include "store/PatientConfirm.h"
#include "store/SaveChart.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::tool {
namespace {

// The database path is taken from the settings only: a tool has nobody to ask.
class NoPrompt : public DatabasePathPrompt {
public:
    std::optional<std::string> AskDatabasePath(const std::string&) override { return std::nullopt; }
};

} // namespace

FilingStation::FilingStation(TRegistory& settings)
    : Settings(settings), context_{.Settings = Settings,
                                   .Logs = Logs,
                                   .Ui = Ui,
                                   .Db = Db,
                                   .Calendar = Calendar,
                                   .DirFile = dirFile_,
                                   .Record = Record,
                                   .Intake = Intake,
                                   .Composer = composer_,
                                   .Window = Window,
                                   .State = State,
                                   .ApplySecurityPolicy =
                                       [this](const std::string& path) {
                                           return policy_.ApplySecurityPolicy(path);
                                       },
                                   .Protect = &protect_} {
    Calendar.SetDisplayMode(Settings.Koyomi, Settings.SKugiri, Settings.WKugiri);
    Window.ClearRecord();
}

bool FilingStation::OpenDatabase() {
    NoPrompt prompt;
    return OpenChartDatabase(Db, Settings, Logs, Ui, prompt, nullptr) !=
           OpenDatabaseResult::CloseProgram;
}

std::optional<int> FilingStation::ConfirmAndChoose(const std::string& patient,
                                                   const std::string& sub, const char* cannotSave) {
    Window.PatientText = patient;
    std::size_t before = Ui.Messages.size();
    PidBtnClick(context_);
    if (!Window.IsEnabled(FilingControl::SubNoBtn))
        return FirstFailure(before, "the patient number was not confirmed");
    Window.SubNoText = sub;
    before = Ui.Messages.size();
    SubNoBtnClick(context_);
    if (!Window.IsEnabled(FilingControl::SaveButton))
        return FirstFailure(before, cannotSave);
    return std::nullopt;
}

int FilingStation::Save(const char* notSaved) {
    const std::size_t savedBefore = Logs.Save.Lines().size();
    const std::size_t messagesBefore = Ui.Messages.size();
    SaveChart(context_);
    // An add that only replaces the keywords writes no chart-saved line; it ends with the
    // information "保存しました。" like a stored chart.
    bool reportedSaved = Logs.Save.Lines().size() > savedBefore;
    for (std::size_t i = messagesBefore; i < Ui.Messages.size(); ++i)
        if (Ui.Messages[i].Icon == MsgIcon::Information)
            reportedSaved = true;
    if (!reportedSaved)
        return FirstFailure(messagesBefore, notSaved);
    for (std::size_t i = savedBefore; i < Logs.Save.Lines().size(); ++i)
        std::printf("%s\n", SjisToUtf8(Logs.Save.Lines()[i]).c_str());
    return kOk;
}

// The window names the faulty field in its status bar; without a window it follows the
// message in brackets, so that an administrator can mend the record or the settings.
int FilingStation::FirstFailure(std::size_t from, const char* fallback) const {
    for (std::size_t i = from; i < Ui.Messages.size(); ++i) {
        const auto& m = Ui.Messages[i];
        if (m.Icon == MsgIcon::Error || m.Icon == MsgIcon::Warning) {
            std::string text = SjisToUtf8(m.Text);
            for (char& c : text)
                if (c == '\n')
                    c = ' ';
            if (!Ui.Status[1].empty() && Ui.Status[1] != m.Text) {
                text += " (";
                if (!Ui.Status[0].empty())
                    text += SjisToUtf8(Ui.Status[0]) + ": ";
                text += SjisToUtf8(Ui.Status[1]) + ")";
            }
            return Fail(text);
        }
    }
    if (!Ui.Status[1].empty())
        return FailSjis(Ui.Status[1]);
    return Fail(fallback);
}

} // namespace pendlar::tool
