// file-chart: files the scanner folder's pages as one chart, through the same flows as the
// main window's buttons: the intake (取込), the patient number from the option or the QR
// code of the first page, the confirmation (確認, with the billing record when UseIryoData
// is on), the sub-number choice (選択) and the save (保存, or the add to a stored chart).
// Prints the chart-saved line on success; exit 1 with the first message on failure.
#include "Command.h"

#include "intake/DicomImage.h"
#include "intake/ImageFile.h"
#include "intake/PageIntake.h"
#include "intake/PatientNumber.h"
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
#include "util/CaruteDate.h"
#include "util/DirFile.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::tool {
namespace {

constexpr const char* kName = "file-chart";

// The database path is taken from the settings only: a tool has nobody to ask.
class NoPrompt : public DatabasePathPrompt {
public:
    std::optional<std::string> AskDatabasePath(const std::string&) override { return std::nullopt; }
};

std::optional<QRFrameRect> ParseFrame(const std::string& text) {
    int v[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i < 3) != (comma != std::string::npos))
            return std::nullopt;
        const std::optional<int> n =
            ParseInt(text.substr(start, i < 3 ? comma - start : std::string::npos), 0, 1000000);
        if (!n)
            return std::nullopt;
        v[i] = *n;
        start = comma + 1;
    }
    if (v[0] >= v[2] || v[1] >= v[3])
        return std::nullopt;
    return QRFrameRect{v[0], v[1], v[2], v[3]};
}

// The first failure the flows showed: a warning or error box, else status panel 1. The
// window names the faulty field in its status bar; without a window it follows the message
// in brackets, so that an administrator can mend the record or the settings.
int FirstFailure(const ScriptedUserInterface& ui, std::size_t from, const char* fallback) {
    for (std::size_t i = from; i < ui.Messages.size(); ++i) {
        const auto& m = ui.Messages[i];
        if (m.Icon == MsgIcon::Error || m.Icon == MsgIcon::Warning) {
            std::string text = SjisToUtf8(m.Text);
            for (char& c : text)
                if (c == '\n')
                    c = ' ';
            if (!ui.Status[1].empty() && ui.Status[1] != m.Text) {
                text += " (";
                if (!ui.Status[0].empty())
                    text += SjisToUtf8(ui.Status[0]) + ": ";
                text += SjisToUtf8(ui.Status[1]) + ")";
            }
            return Fail(text);
        }
    }
    if (!ui.Status[1].empty())
        return FailSjis(ui.Status[1]);
    return Fail(fallback);
}

int RunFileChart(Args& args) {
    const std::optional<std::string> patientText = args.TakeOption("patient");
    const std::optional<std::string> frameText = args.TakeOption("qr-frame");
    const std::optional<std::string> subText = args.TakeOption("sub");
    if (args.MissingValue())
        return UsageError(kName, "an option lacks its value");
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError(kName, "unknown option " + *unknown);
    if (!args.Rest().empty())
        return UsageError(kName, "unexpected argument " + args.Rest().front());
    if (!subText)
        return UsageError(kName, "--sub is required");
    if (patientText.has_value() == frameText.has_value())
        return UsageError(kName, "give either --patient N or --qr-frame L,T,R,B");
    std::optional<QRFrameRect> frame;
    if (frameText && !(frame = ParseFrame(*frameText)))
        return UsageError(kName, "--qr-frame takes L,T,R,B with L < R and T < B");

    TRegistory settings;
    settings.LoadSettings();
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
    intake.ScannerReadClick(false);
    if (intake.Pages().empty())
        return FirstFailure(ui, 0, "the scanner folder holds no pages");

    std::string patient;
    if (patientText) {
        patient = *patientText;
    } else {
        const std::string first = intake.PageFile(intake.Pages().front().Path);
        std::string error;
        const std::optional<Bitmap> page = LoadImageFile(first, &error);
        if (!page)
            return Fail(SjisToUtf8(first) + ": " + error);
        if (!QRFrameFits(*frame, page->Width(), page->Height()))
            return FailSjis(SjisOf("QR枠が画像範囲を越えています。"));
        if (!decoder.Decode(MakeQRCrop(*page, *frame)))
            return decoder.ErrorText().empty() ? Fail("the QR code cannot be read")
                                               : FailSjis(decoder.ErrorText());
        patient = decoder.Text();
        if (!ParseInt32(patient))
            return FailSjis(SjisOf("QRCode数値エラー"));
    }

    ChartRecord record;
    FilingState state;
    PlainFilingWindow window(record, state);
    window.ClearRecord();
    TDirFile dirFile;
    ChartPdfComposer composer(settings, calendar, ui, &dicom);
    const TProtectData protect;
    FilingContext context{.Settings = settings,
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
                          .Protect = &protect};

    window.PatientText = patient;
    std::size_t before = ui.Messages.size();
    PidBtnClick(context);
    if (!window.IsEnabled(FilingControl::SubNoBtn))
        return FirstFailure(ui, before, "the patient number was not confirmed");

    const std::optional<std::string> sub = Utf8ToSjis(*subText);
    window.SubNoText = sub.value_or(*subText);
    before = ui.Messages.size();
    SubNoBtnClick(context);
    if (!window.IsEnabled(FilingControl::SaveButton))
        return FirstFailure(ui, before, "the chart cannot be saved");

    const std::size_t savedBefore = logs.Save.Lines().size();
    const std::size_t messagesBefore = ui.Messages.size();
    SaveChart(context);
    const bool wroteLine = logs.Save.Lines().size() > savedBefore;
    // An add that only replaces the keywords writes no chart-saved line; it ends with the
    // information "保存しました。" like a stored chart.
    bool reportedSaved = false;
    for (std::size_t i = messagesBefore; i < ui.Messages.size(); ++i)
        if (ui.Messages[i].Icon == MsgIcon::Information)
            reportedSaved = true;
    if (!wroteLine && !reportedSaved)
        return FirstFailure(ui, messagesBefore, "the chart was not saved");
    for (std::size_t i = savedBefore; i < logs.Save.Lines().size(); ++i)
        std::printf("%s\n", SjisToUtf8(logs.Save.Lines()[i]).c_str());
    return kOk;
}

PENDLAR_TOOL_COMMAND(kName, "[--profile DIR] [--patient N | --qr-frame L,T,R,B] --sub S",
                     RunFileChart);

} // namespace
} // namespace pendlar::tool
