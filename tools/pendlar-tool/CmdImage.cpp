// image-convert IN OUT [--quality N]: loads a page image (JPEG, TIFF, BMP, PNG; the format
// from the content) and saves it in the format of OUT's extension.
#include "Command.h"

#include "intake/ImageFile.h"
#include "util/Sjis.h"

#include <cstdio>
#include <cstdlib>

namespace pendlar::tool {
namespace {

int RunImageConvert(Args& args) {
    std::optional<std::string> quality = args.TakeOption("quality");
    if (args.MissingValue())
        return UsageError("image-convert", "--quality needs a number");
    if (args.UnknownOption())
        return UsageError("image-convert", "unknown option " + *args.UnknownOption());
    if (args.Rest().size() != 2)
        return UsageError("image-convert");
    ImageSaveOptions options;
    if (quality) {
        char* end = nullptr;
        long q = std::strtol(quality->c_str(), &end, 10);
        if (quality->empty() || *end != '\0' || q < 1 || q > 100)
            return UsageError("image-convert", "--quality must be 1 to 100");
        options.JpegQuality = static_cast<int>(q);
    }
    std::string error;
    std::optional<Bitmap> image = LoadImageFile(FileNameToSjisPath(args.Rest()[0]), &error);
    if (!image)
        return FailSjis(error);
    if (!SaveImageFile(*image, FileNameToSjisPath(args.Rest()[1]), options, &error))
        return FailSjis(error);
    std::printf("%d x %d\n", image->Width(), image->Height());
    return kOk;
}

PENDLAR_TOOL_COMMAND("image-convert", "IN OUT [--quality N]", RunImageConvert);

} // namespace
} // namespace pendlar::tool
