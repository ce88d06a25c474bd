// file-chart: files the scanner folder's pages as one chart, through the same flows as the
// main window's buttons: the intake (取込), the patient number from the option or the QR
// code of the first page, the confirmation (確認, with the billing record when UseIryoData
// is on), the sub-number choice (選択) and the save (保存, or the add to a stored chart).
// Prints the chart-saved line on success; exit 1 with the first message on failure.
#include "Command.h"
#include "FilingStation.h"

#include "intake/ImageFile.h"
#include "intake/PageIntake.h"
#include "intake/PatientNumber.h"
#include "qrdecode/QRDecode.h"
#include "util/Sjis.h"

#include <optional>
#include <string>

namespace pendlar::tool {
namespace {

constexpr const char* kName = "file-chart";

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

int RunFileChart(Args& args) {
    const std::optional<std::string> patientText = args.TakeOption("patient");
    const std::optional<std::string> frameText = args.TakeOption("qr-frame");
    const std::optional<std::string> subText = args.TakeOption("sub");
    if (std::optional<int> refused = RejectLeftovers(args, kName))
        return *refused;
    if (!subText)
        return UsageError(kName, "--sub is required");
    if (patientText.has_value() == frameText.has_value())
        return UsageError(kName, "give either --patient N or --qr-frame L,T,R,B");
    std::optional<QRFrameRect> frame;
    if (frameText && !(frame = ParseFrame(*frameText)))
        return UsageError(kName, "--qr-frame takes L,T,R,B with L < R and T < B");

    TRegistory settings;
    settings.LoadSettings();
    FilingStation station(settings);
    if (!station.OpenDatabase())
        return station.FirstFailure(0, "the database cannot be opened");
    PageIntake& intake = station.Intake;
    intake.ScannerReadClick(false);
    if (intake.Pages().empty())
        return station.FirstFailure(0, "the scanner folder holds no pages");

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
        TQRDecode& decoder = station.Decoder;
        if (!decoder.Decode(MakeQRCrop(*page, *frame)))
            return decoder.ErrorText().empty() ? Fail("the QR code cannot be read")
                                               : FailSjis(decoder.ErrorText());
        patient = decoder.Text();
        if (!ParseInt32(patient))
            return FailSjis(SjisOf("QRCode数値エラー"));
    }

    const std::optional<std::string> sub = Utf8ToSjis(*subText);
    if (std::optional<int> failed =
            station.ConfirmAndChoose(patient, sub.value_or(*subText), "the chart cannot be saved"))
        return *failed;
    return station.Save("the chart was not saved");
}

PENDLAR_TOOL_COMMAND(kName, "[--profile DIR] [--patient N | --qr-frame L,T,R,B] --sub S",
                     RunFileChart);

} // namespace
} // namespace pendlar::tool
