// qr-read: decodes the QR symbol of an image (or of a frame of it) once, as the patient
// check does with the QR frame of a chart's first page.
#include "Command.h"

#include "intake/ImageFile.h"
#include "qrdecode/QRDecode.h"
#include "util/Bitmap.h"
#include "util/Sjis.h"

#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace pendlar::tool {
namespace {

constexpr const char* kName = "qr-read";

// The status text of the patient check for a frame that leaves the page.
constexpr const char* kFrameBeyondImage = "QR枠が画像範囲を越えています。";

struct Frame {
    int Left, Top, Right, Bottom;
};

std::optional<Frame> ParseFrame(const std::string& text) {
    std::vector<int> values;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::optional<int> v = ParseInt(
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), 0,
            INT_MAX);
        if (!v)
            return std::nullopt;
        values.push_back(*v);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (values.size() != 4 || values[2] <= values[0] || values[3] <= values[1])
        return std::nullopt;
    return Frame{values[0], values[1], values[2], values[3]};
}

// The crop the decoder gets: one pixel wider and taller than the frame, the frame's
// pixels in its top-left part and a light extra column and row.
Bitmap CutFrame(const Bitmap& page, const Frame& f) {
    const int w = f.Right - f.Left;
    const int h = f.Bottom - f.Top;
    Bitmap crop(w + 1, h + 1);
    for (int y = 0; y <= h; ++y)
        for (int x = 0; x <= w; ++x)
            crop.SetPixel(x, y,
                          x < w && y < h ? page.Pixel(f.Left + x, f.Top + y) : Rgb{255, 255, 255});
    return crop;
}

int RunQrRead(Args& args) {
    const std::optional<std::string> frameText = args.TakeOption("frame");
    const std::optional<std::string> resolver = args.TakeOption("resolver");
    const std::optional<std::string> warp = args.TakeOption("warp");
    const std::optional<std::string> forceVersion = args.TakeOption("force-version");
    if (args.MissingValue())
        return UsageError(kName, "an option needs a value");
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError(kName, "unknown option " + *unknown);
    if (args.Rest().size() != 1)
        return UsageError(kName, "give exactly one IMAGE");

    TQRDecode decoder;
    // Out-of-range brightness offsets and radii are brought into range by the decoder, as
    // the settings dialog's values are; the forced version must be a version.
    if (resolver) {
        const std::optional<int> v = ParseInt(*resolver, INT_MIN, INT_MAX);
        if (!v)
            return UsageError(kName, "--resolver takes a number");
        decoder.SetResolver(*v);
    }
    if (warp) {
        const std::optional<int> v = ParseInt(*warp, INT_MIN, INT_MAX);
        if (!v)
            return UsageError(kName, "--warp takes a number");
        decoder.SetWarp(*v);
    }
    if (forceVersion) {
        const std::optional<int> v = ParseInt(*forceVersion, 0, 40);
        if (!v)
            return UsageError(kName, "--force-version takes 0 to 40");
        decoder.SetForceVersion(*v);
    }
    std::optional<Frame> frame;
    if (frameText) {
        frame = ParseFrame(*frameText);
        if (!frame)
            return UsageError(kName, "--frame takes L,T,R,B with L < R and T < B");
    }

    std::string error;
    const std::optional<Bitmap> image = LoadImageFile(FileNameToSjisPath(args.Rest()[0]), &error);
    if (!image)
        return Fail(args.Rest()[0] + ": " + error);

    Bitmap crop;
    if (frame) {
        if (frame->Right >= image->Width() || frame->Bottom >= image->Height())
            return Fail(kFrameBeyondImage);
        crop = CutFrame(*image, *frame);
    } else {
        crop = *image;
    }

    if (!decoder.Decode(crop)) {
        if (!decoder.ErrorText().empty())
            return FailSjis(decoder.ErrorText());
        return Fail(decoder.InternalError().empty() ? "the decoder failed"
                                                    : decoder.InternalError());
    }
    const std::string text = SjisToUtf8(decoder.Text());
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    return kOk;
}

PENDLAR_TOOL_COMMAND(kName, "IMAGE [--frame L,T,R,B] [--resolver N] [--warp N] [--force-version N]",
                     RunQrRead);

} // namespace
} // namespace pendlar::tool
