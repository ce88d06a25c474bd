// dicom-info FILE: the header listing of a DICOM file, one line per element.
// dicom-png FILE OUT.png: frame 1 of a DICOM file as a PNG picture.
#include "Command.h"

#include "intake/DicomImage.h"
#include "intake/ImageFile.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::tool {
namespace {

// The reader's message boxes, answered at once and echoed on standard error.
struct Messages {
    ScriptedUserInterface Ui;
    Messages() {
        Ui.OnMessage = [](const ScriptedUserInterface::ShownMessage& m) {
            std::fprintf(stderr, "pendlar-tool: %s\n", SjisToUtf8(m.Text).c_str());
        };
    }
    // The failure line: the reader's last message, or what went wrong when it said nothing.
    std::string Last(const std::string& otherwise) const {
        return Ui.Messages.empty() ? otherwise : SjisToUtf8(Ui.Messages.back().Text);
    }
};

int ReadHeader(TDicomImage& reader, Messages& messages, const std::string& path) {
    if (!reader.Read(FileNameToSjisPath(path))) {
        if (messages.Ui.Messages.empty())
            return Fail("not a DICOM file, or its header could not be read: " + path);
        return kFailed; // the reason is already on standard error
    }
    return kOk;
}

int RunDicomInfo(Args& args) {
    if (args.UnknownOption())
        return UsageError("dicom-info", "unknown option " + *args.UnknownOption());
    if (args.Rest().size() != 1)
        return UsageError("dicom-info");
    Messages messages;
    TDicomImage reader(messages.Ui);
    const std::string& path = args.Rest()[0];
    int status = ReadHeader(reader, messages, path);
    if (status != kOk)
        return status;
    for (const std::string& line : reader.TextLines())
        if (!line.empty())
            std::printf("%s\n", SjisToUtf8(line).c_str());
    return kOk;
}

int RunDicomPng(Args& args) {
    if (args.UnknownOption())
        return UsageError("dicom-png", "unknown option " + *args.UnknownOption());
    if (args.Rest().size() != 2)
        return UsageError("dicom-png");
    Messages messages;
    TDicomImage reader(messages.Ui);
    const std::string& path = args.Rest()[0];
    int status = ReadHeader(reader, messages, path);
    if (status != kOk)
        return status;
    if (!reader.ImageUsable())
        return kFailed; // the reader showed why
    if (!reader.Render(1, true, FileNameToSjisPath(path)))
        return Fail("the picture of this DICOM file cannot be shown: " + path);
    std::string error;
    if (!SaveImageFile(reader.Image(), FileNameToSjisPath(args.Rest()[1]), &error))
        return FailSjis(error);
    return kOk;
}

PENDLAR_TOOL_COMMAND("dicom-info", "FILE", RunDicomInfo);
PENDLAR_TOOL_COMMAND("dicom-png", "FILE OUT.png", RunDicomPng);

} // namespace
} // namespace pendlar::tool
