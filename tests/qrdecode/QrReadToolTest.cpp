// pendlar-tool qr-read on image files written by qrencode and ImageMagick.
#include "TempDir.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::RunCommand;

TEST(QrReadToolTest, ReadsFilesAndFramesAndReportsFailures) {
    ASSERT_TRUE(test::HaveProgram("qrencode"));
    ASSERT_TRUE(test::HaveProgram("convert"));
    test::TempDir dir;
    const std::string d = dir.Path().string();
    // A 4-pixel-module symbol with a 20-module margin: 244 × 244, the symbol at 80..163.
    ASSERT_EQ(RunCommand("qrencode -8 -v 1 -l L -s 4 -m 20 -o '" + d + "/sheet.png' 00123"), 0);
    ASSERT_EQ(RunCommand("convert '" + d + "/sheet.png' -quality 85 '" + d + "/sheet.jpg'"), 0);
    test::WriteFile(dir.Path() / "name.sjis", Utf8ToSjis("患者 山田").value());
    ASSERT_EQ(
        RunCommand("qrencode -k -v 2 -l M -s 3 -o '" + d + "/kanji.png' -r '" + d + "/name.sjis'"),
        0);
    ASSERT_EQ(RunCommand("convert -size 120x90 xc:white '" + d + "/blank.png'"), 0);

    struct Case {
        std::string Args;
        int Exit;
        std::string Output; // stdout and stderr, UTF-8
    };
    const std::string tool = std::string(PENDLAR_TOOL) + " qr-read ";
    const Case cases[] = {
        {"'" + d + "/sheet.png'", 0, "00123\n"},
        {"'" + d + "/sheet.jpg' --resolver 20", 0, "00123\n"},
        {"'" + d + "/sheet.png' --frame 60,60,190,190 --warp 3", 0, "00123\n"},
        {"'" + d + "/kanji.png'", 0, "患者 山田\n"},
        // The frame must lie inside the page, as on the patient check.
        {"'" + d + "/sheet.png' --frame 60,60,190,244", 1,
         "pendlar-tool: QR枠が画像範囲を越えています。\n"},
        // Only the top finders inside the frame.
        {"'" + d + "/sheet.png' --frame 60,60,190,130", 1,
         "pendlar-tool: 位置検出パターンがみつかりません。\n"},
        {"'" + d + "/blank.png'", 1, "pendlar-tool: 位置検出パターンがみつかりません。\n"},
        {"'" + d + "/missing.png'", 1, ""},
        {"", 2, ""},
        {"'" + d + "/sheet.png' --frame 60,60,50,190", 2, ""},
        {"'" + d + "/sheet.png' --frame 1,2,3", 2, ""},
        {"'" + d + "/sheet.png' --force-version 41", 2, ""},
        {"'" + d + "/sheet.png' --colour red", 2, ""},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(RunCommand(tool + c.Args + " 2>&1", &out), c.Exit) << c.Args << "\n" << out;
        if (!c.Output.empty()) {
            EXPECT_EQ(out, c.Output) << c.Args;
        }
    }
}

} // namespace
} // namespace pendlar
