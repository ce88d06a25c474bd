// add-pages: adds the scanner folder's pages to a stored chart through the same flows as
// the main window: the add intake (追加取込), the confirmation (確認), the sub-number choice
// (選択, which must find the stored chart) and the save in mode add. The settings decide
// what is added (PdfHeader, PdfImage, PdfKeyWord) and where (PdfInsType, or --front /
// --end). Prints the chart-saved line on success; exit 1 with the first message on failure.
#include "Command.h"

#include "intake/DicomImage.h"
#include "intake/PageIntake.h"
#include "logs/Logs.h"
#include "pdf/chart/PdfWriteUnit.h"
#include "qrdecode/QRDecode.h"
#include "record/ChartRecord.h"
#include "settings/Registory.h"
#include "store/ChartChoice.h"
#include "store/ChartDatabase.h"
#include "store/FilingContext.h"
#include "store/PatientConfirm.h"
#include "store/ProtectData.h"
#include "store/SaveChart.h"
#include "store/SecurityPolicyFlows.h"
#include "util/CaruteDate.h"
#include "util/DirFile.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::tool {
namespace {

constexpr const char* kName = "add-pages";

class NoPrompt : public DatabasePathPrompt {
public:
    std::optional<std::string> AskDatabasePath(const std::string&) override { return std::nullopt; }
};

// Nobody is there to choose a policy: preparing one ends as cancelled.
class NoPolicyChoice : public SecurityPolicyChooser {
public:
    std::optional<SecurityPolicy> ChooseSecurityPolicy() override { return std::nullopt; }
};

int FirstFailure(const ScriptedUserInterface& ui, std::size_t from, const char* fallback) {
    for (std::size_t i = from; i < ui.Messages.size(); ++i) {
        const auto& m = ui.Messages[i];
        if (m.Icon == MsgIcon::Error || m.Icon == MsgIcon::Warning) {
            std::string text = SjisToUtf8(m.Text);
            for (char& c : text)
                if (c == '\n')
                    c = ' ';
            return Fail(text);
        }
    }
    if (!ui.Status[1].empty())
        return FailSjis(ui.Status[1]);
    return Fail(fallback);
}

int RunAddPages(Args& args) {
    const std::optional<std::string> patientText = args.TakeOption("patient");
    const std::optional<std::string> subText = args.TakeOption("sub");
    const bool front = args.TakeFlag("front");
    const bool end = args.TakeFlag("end");
    if (args.MissingValue())
        return UsageError(kName, "an option lacks its value");
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError(kName, "unknown option " + *unknown);
    if (!args.Rest().empty())
        return UsageError(kName, "unexpected argument " + args.Rest().front());
    if (!patientText || !subText)
        return UsageError(kName, "--patient and --sub are required");
    if (front && end)
        return UsageError(kName, "give at most one of --front and --end");

    TRegistory settings;
    settings.LoadSettings();
    if (front || end)
        settings.PdfInsType = front ? 0 : 1;
    TLogs logs;
    ScriptedUserInterface ui; // every question is answered with its first button
    TCaruteDate calendar;
    calendar.SetDisplayMode(settings.Koyomi, settings.SKugiri, settings.WKugiri);

    ChartDatabase db;
    NoPrompt prompt;
    if (OpenChartDatabase(db, settings, logs, ui, prompt, nullptr) ==
        OpenDatabaseResult::CloseProgram)
        return FirstFailure(ui, 0, "the database cannot be opened");

    TDicomImage dicom(ui);
    TQRDecode decoder;
    IntakeHost host;
    PageIntake intake(settings, logs, ui, dicom, decoder, host);
    intake.ScannerReadClick(true);
    if (settings.PdfImage && intake.Pages().empty())
        return FirstFailure(ui, 0, "the scanner folder holds no pages");

    ChartRecord record;
    FilingState state;
    PlainFilingWindow window(record, state);
    window.ClearRecord();
    TDirFile dirFile;
    ChartPdfComposer composer(settings, calendar, ui, &dicom);
    const TProtectData protect;
    NoPolicyChoice noChoice;
    SecurityPolicyFlows policy(settings, logs, ui, noChoice);
    FilingContext context{
        .Settings = settings,
        .Logs = logs,
        .Ui = ui,
        .Db = db,
        .Calendar = calendar,
        .DirFile = dirFile,
        .Record = record,
        .Intake = intake,
        .Composer = composer,
        .Window = window,
        .State = state,
        .ApplySecurityPolicy =
            [&policy](const std::string& path) { return policy.ApplySecurityPolicy(path); },
        .Protect = &protect};

    const std::optional<std::string> patient = Utf8ToSjis(*patientText);
    window.PatientText = patient.value_or(*patientText);
    std::size_t before = ui.Messages.size();
    PidBtnClick(context);
    if (!window.IsEnabled(FilingControl::SubNoBtn))
        return FirstFailure(ui, before, "the patient number was not confirmed");

    const std::optional<std::string> sub = Utf8ToSjis(*subText);
    window.SubNoText = sub.value_or(*subText);
    before = ui.Messages.size();
    SubNoBtnClick(context);
    if (!window.IsEnabled(FilingControl::SaveButton))
        return FirstFailure(ui, before, "the chart cannot be extended");
    if (state.Mode != ChartFilingMode::Add)
        return Fail("no chart is stored under this patient and sub number");

    const std::size_t savedBefore = logs.Save.Lines().size();
    const std::size_t messagesBefore = ui.Messages.size();
    SaveChart(context);
    bool reportedSaved = false;
    for (std::size_t i = messagesBefore; i < ui.Messages.size(); ++i)
        if (ui.Messages[i].Icon == MsgIcon::Information)
            reportedSaved = true;
    if (!reportedSaved)
        return FirstFailure(ui, messagesBefore, "the pages were not added");
    for (std::size_t i = savedBefore; i < logs.Save.Lines().size(); ++i)
        std::printf("%s\n", SjisToUtf8(logs.Save.Lines()[i]).c_str());
    return kOk;
}

PENDLAR_TOOL_COMMAND(kName, "[--profile DIR] --patient N --sub S [--front|--end]", RunAddPages);

} // namespace
} // namespace pendlar::tool
