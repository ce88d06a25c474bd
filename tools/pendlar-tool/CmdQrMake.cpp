// qr-make: draws the QR symbols of a text as a PNG picture, or prints their PBM text.
#include "Command.h"

#include "intake/ImageFile.h"
#include "qrcode/QRCodeCore.h"
#include "util/Sjis.h"

#include <cstdio>
#include <optional>
#include <string>

namespace pendlar::tool {
namespace {

constexpr const char* kName = "qr-make";

// The message the cover-sheet designer shows when the symbol cannot be drawn.
const char* const kCannotEncode = "*** QRCodeの使用はできません。";

int RunQrMake(Args& args) {
    const std::optional<std::string> out = args.TakeOption("out");
    const std::optional<std::string> version = args.TakeOption("version");
    const std::optional<std::string> level = args.TakeOption("level");
    const std::optional<std::string> mode = args.TakeOption("mode");
    const std::optional<std::string> mask = args.TakeOption("mask");
    const std::optional<std::string> pxmag = args.TakeOption("pxmag");
    const std::optional<std::string> count = args.TakeOption("count");
    const bool plus = args.TakeFlag("plus");
    const bool binary = args.TakeFlag("binary");
    const bool pbm = args.TakeFlag("pbm");
    if (args.MissingValue())
        return UsageError(kName, "an option needs a value");
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError(kName, "unknown option " + *unknown);
    if (args.Rest().size() != 1)
        return UsageError(kName, "give exactly one TEXT");
    if (!out && !pbm)
        return UsageError(kName, "give --out FILE.png or --pbm");

    QRCodeCore qr;
    qr.SetSymbolEnabled(false); // one paint at the end, with everything set
    if (version) {
        const std::optional<int> v = ParseInt(*version, 1, 40);
        if (!v)
            return UsageError(kName, "--version takes 1 to 40");
        qr.SetVersion(*v);
    }
    if (level) {
        const std::string levels = "LMQH";
        const std::size_t at = level->size() == 1 ? levels.find((*level)[0]) : std::string::npos;
        if (at == std::string::npos)
            return UsageError(kName, "--level takes L, M, Q or H");
        qr.SetEclevel(static_cast<int>(at));
    }
    if (mode) {
        const char* const modes[] = {"auto", "numeric", "alnum", "byte", "kanji"};
        int chosen = -2;
        for (int i = 0; i < 5; ++i)
            if (*mode == modes[i])
                chosen = i - 1;
        if (chosen == -2)
            return UsageError(kName, "--mode takes auto, numeric, alnum, byte or kanji");
        qr.SetEmode(chosen);
    }
    if (mask) {
        const std::optional<int> m = ParseInt(*mask, -1, 7);
        if (!m)
            return UsageError(kName, "--mask takes -1 to 7");
        qr.SetMasktype(*m);
    }
    if (pxmag) {
        const std::optional<int> p = ParseInt(*pxmag, 1, 10);
        if (!p)
            return UsageError(kName, "--pxmag takes 1 to 10");
        qr.SetPxmag(*p);
    }
    if (count) {
        const std::optional<int> n = ParseInt(*count, 1, 1024);
        if (!n)
            return UsageError(kName, "--count takes 1 to 1024");
        // Mode first: linked symbols asked for more than 16 parts become independent ones
        // at the split, as the control does, instead of being cut down to 16.
        if (*n > 1)
            qr.SetMode(plus ? qrPlus : qrConnect);
        qr.SetCount(*n);
    } else if (plus) {
        return UsageError(kName, "--plus needs --count");
    }

    const std::optional<std::string> text = Utf8ToSjis(args.Rest()[0]);
    if (!text)
        return Fail("the text holds a character that Shift-JIS cannot write");
    qr.SetMatch(true); // the picture is exactly the symbol set
    qr.SetBinaryOperation(binary);
    qr.SetCode(*text);
    if (binary && !qr.BinaryOperation())
        std::fprintf(stderr, "pendlar-tool: the ~ escapes are broken; the text is taken as it "
                             "stands\n");
    qr.SetSymbolEnabled(true);
    if (!qr.SymbolDisped())
        return Fail(kCannotEncode);

    if (pbm) {
        for (const std::string& line : qr.PBM())
            std::printf("%s\n", line.c_str());
        return kOk;
    }
    std::string error;
    if (!SaveImageFile(qr.Picture(), FileNameToSjisPath(*out), &error))
        return Fail(error);
    return kOk;
}

PENDLAR_TOOL_COMMAND(kName,
                     "TEXT (--out FILE.png | --pbm) [--version V] [--level L|M|Q|H] "
                     "[--mode auto|numeric|alnum|byte|kanji] [--mask -1..7] [--pxmag N] "
                     "[--binary] [--count N [--plus]]",
                     RunQrMake);

} // namespace
} // namespace pendlar::tool
