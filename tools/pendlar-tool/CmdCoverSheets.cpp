// cover-sheets: prints cover sheets for the lines of a patient list into a PDF file, with
// the layout of the settings and the drawing code of the cover-sheet window.
#include "Command.h"

#include "qrcode/CsvLine.h"
#include "qrcode/ui/CoverSheetPrinter.h"
#include "settings/Registory.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace pendlar::tool {
namespace {

constexpr const char* kName = "cover-sheets";

std::optional<int> LineNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

int RunCoverSheets(Args& args) {
    const std::optional<std::string> range = args.TakeOption("lines");
    const std::optional<std::string> single = args.TakeOption("line");
    if (args.MissingValue())
        return UsageError(kName, "an option needs a value");
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError(kName, "unknown option " + *unknown);
    if (args.Rest().size() != 2)
        return UsageError(kName, "give LIST.txt and OUT.pdf");
    if (range && single)
        return UsageError(kName, "give --lines or --line, not both");

    const std::string listPath = FileNameToSjisPath(args.Rest()[0]);
    const std::optional<std::vector<std::string>> lines = ReadLines(listPath);
    if (!lines)
        return Fail("ファイル読み込みでエラーが発生しました。");
    if (lines->empty())
        return Fail("ファイルにはデータがありません。");
    const int count = static_cast<int>(lines->size());

    int first = 1, last = count;
    if (range) {
        const std::size_t dash = range->find('-');
        const std::optional<int> a = LineNumber(range->substr(0, dash));
        const std::optional<int> b =
            dash == std::string::npos ? std::nullopt : LineNumber(range->substr(dash + 1));
        if (!a || !b || *a < 1 || *b < 1 || *a > count || *b > count)
            return UsageError(kName, "--lines takes A-B, lines 1 to " + std::to_string(count));
        if (*b < *a)
            return Fail("範囲指定に誤りがあります。");
        first = *a;
        last = *b;
    } else if (single) {
        const std::optional<int> n = LineNumber(*single);
        if (!n || *n < 1 || *n > count)
            return UsageError(kName, "--line takes a line from 1 to " + std::to_string(count));
        first = last = *n;
    }

    // A list with any faulty line is not printed at all, as in the cover-sheet window.
    TCsvLine parser;
    for (int i = 0; i < count; ++i)
        if (!parser.Parse((*lines)[static_cast<std::size_t>(i)]))
            return Fail(args.Rest()[0] + ":" + std::to_string(i + 1) + ": " +
                        SjisToUtf8(parser.ErrorText()));

    TRegistory settings;
    settings.LoadSettings();

    // The tool's standard error carries its own message only; Qt's remarks about the
    // desktop it runs without are dropped.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg || type == QtCriticalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char arg0[] = "pendlar-tool";
    char* argv[] = {arg0, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance())
        app = std::make_unique<QGuiApplication>(argc, argv);

    std::vector<CoverSheetPage> pages;
    for (int n = first; n <= last; ++n) {
        parser.Parse((*lines)[static_cast<std::size_t>(n - 1)]);
        bool shown = false;
        pages.push_back(CoverSheetFor(
            settings,
            {parser.IdNo(), parser.Name(), parser.Sex(), parser.Birth(), parser.Address()},
            parser.Number(), &shown));
        // A sheet whose symbol is missing or cut off cannot be read back at the intake.
        if (!shown)
            return Fail("*** QRCodeの使用はできません。");
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(args.Rest()[1]));
    printer.setCreator("Quilmo Pendlar");
    SetUpCoverPrinter(printer, settings);
    QPainter painter;
    if (!painter.begin(&printer))
        return Fail("cannot write " + args.Rest()[1]);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            printer.newPage();
        PrintCoverSheet(painter, pages[i], settings);
    }
    if (!painter.end())
        return Fail("cannot write " + args.Rest()[1]);
    return kOk;
}

PENDLAR_TOOL_COMMAND(kName, "[--profile DIR] LIST.txt OUT.pdf [--lines A-B | --line N]",
                     RunCoverSheets);

} // namespace
} // namespace pendlar::tool
