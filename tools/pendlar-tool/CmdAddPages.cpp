// add-pages: adds the scanner folder's pages to a stored chart through the same flows as
// the main window: the add intake (追加取込), the confirmation (確認), the sub-number choice
// (選択, which must find the stored chart) and the save in mode add. The settings decide
// what is added (PdfHeader, PdfImage, PdfKeyWord) and where (PdfInsType, or --front /
// --end). Prints the chart-saved line on success; exit 1 with the first message on failure.
#include "Command.h"
#include "FilingStation.h"

#include "util/Sjis.h"

#include <optional>
#include <string>

namespace pendlar::tool {
namespace {

constexpr const char* kName = "add-pages";

int RunAddPages(Args& args) {
    const std::optional<std::string> patientText = args.TakeOption("patient");
    const std::optional<std::string> subText = args.TakeOption("sub");
    const bool front = args.TakeFlag("front");
    const bool end = args.TakeFlag("end");
    if (std::optional<int> refused = RejectLeftovers(args, kName))
        return *refused;
    if (!patientText || !subText)
        return UsageError(kName, "--patient and --sub are required");
    if (front && end)
        return UsageError(kName, "give at most one of --front and --end");

    TRegistory settings;
    settings.LoadSettings();
    if (front || end)
        settings.PdfInsType = front ? 0 : 1;
    FilingStation station(settings);
    if (!station.OpenDatabase())
        return station.FirstFailure(0, "the database cannot be opened");
    station.Intake.ScannerReadClick(true);
    if (settings.PdfImage && station.Intake.Pages().empty())
        return station.FirstFailure(0, "the scanner folder holds no pages");

    const std::optional<std::string> patient = Utf8ToSjis(*patientText);
    const std::optional<std::string> sub = Utf8ToSjis(*subText);
    if (std::optional<int> failed = station.ConfirmAndChoose(
            patient.value_or(*patientText), sub.value_or(*subText), "the chart cannot be extended"))
        return *failed;
    if (station.State.Mode != ChartFilingMode::Add)
        return Fail("no chart is stored under this patient and sub number");
    return station.Save("the pages were not added");
}

PENDLAR_TOOL_COMMAND(kName, "[--profile DIR] --patient N --sub S [--front|--end]", RunAddPages);

} // namespace
} // namespace pendlar::tool
