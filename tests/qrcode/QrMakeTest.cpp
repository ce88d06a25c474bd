// pendlar-tool qr-make, with zbarimg and our own decoder reading the pictures back.
#include "QRTestSupport.h"
#include "TempDir.h"
#include "qrcode/QRCodeCore.h"
#include "qrcode/QRTables.h"
#include "qrdecode/QRDecode.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

struct ToolRun {
    int Status = -1;
    std::string Out;
};

ToolRun QrMake(const std::string& utf8Text, const std::string& options) {
    ToolRun run;
    run.Status = test::RunCommand(
        std::string(PENDLAR_TOOL) + " qr-make '" + utf8Text + "' " + options + " 2>&1", &run.Out);
    return run;
}

// The texts zbarimg reads in a picture, one per symbol (or per joined linked set).
std::string ZbarRead(const std::filesystem::path& png) {
    std::string out;
    test::RunCommand("zbarimg -q --raw '" + png.string() + "' 2>/dev/null", &out);
    return out;
}

struct ReadBackCase {
    QRDataMode Mode;
    int Version;
    int Level;
};

class QrMakeReadBack : public ::testing::TestWithParam<ReadBackCase> {};

// The case's data (Shift-JIS), filling the symbol to its capacity.
std::string FullData(const ReadBackCase& c) {
    const std::size_t n = static_cast<std::size_t>(QRCapacity(c.Version, c.Level, c.Mode));
    return c.Mode == qrNumeric ? test::SampleDigits(n)
           : c.Mode == qrKanji ? test::SampleKanji(n)
                               : test::SampleBytes(n);
}

TEST_P(QrMakeReadBack, ZbarReadsTheSameText) {
    if (!test::HaveProgram("zbarimg"))
        GTEST_SKIP() << "zbarimg is not installed";
    const ReadBackCase c = GetParam();
    const std::string text = SjisToUtf8(FullData(c));
    static const char* kModes[] = {"numeric", "alnum", "byte", "kanji"};
    test::TempDir dir;
    const auto png = dir.Path() / "symbol.png";
    const ToolRun run = QrMake(text, std::string("--mode ") + kModes[c.Mode] + " --version " +
                                         std::to_string(c.Version) + " --level " + "LMQH"[c.Level] +
                                         " --pxmag 2 --out '" + png.string() + "'");
    ASSERT_EQ(run.Status, 0) << run.Out;
    EXPECT_EQ(ZbarRead(png), text + "\n");
}

// The picture the encoder draws at `pxmag`, read by the decoder the intake uses, with the
// same settings as qr-make gives the encoder. The decoder finds only versions below 15 by
// itself; larger symbols are read as their known version.
void ExpectOurDecoderReads(const ReadBackCase& c, int pxmag) {
    const std::string data = FullData(c);
    QRCodeCore qr;
    qr.SetSymbolEnabled(false);
    qr.SetVersion(c.Version);
    qr.SetEclevel(c.Level);
    qr.SetEmode(c.Mode);
    qr.SetPxmag(pxmag);
    qr.SetMatch(true);
    qr.SetCode(data);
    qr.SetSymbolEnabled(true);
    ASSERT_TRUE(qr.SymbolDisped());
    TQRDecode decoder;
    decoder.SetForceVersion(c.Version < 15 ? 0 : c.Version);
    ASSERT_TRUE(decoder.Decode(qr.Picture()))
        << "pxmag " << pxmag << ": " << SjisToUtf8(decoder.ErrorText()) << decoder.InternalError();
    EXPECT_EQ(decoder.Text(), data) << "pxmag " << pxmag;
    EXPECT_EQ(decoder.Decorder().Version(), c.Version) << "pxmag " << pxmag;
}

// At the magnification zbarimg reads above and at the one of the encoder's own tests. The
// data of the large symbols holds chance finder-like crossings as heavy as the finders.
TEST_P(QrMakeReadBack, OurDecoderReadsTheSameBytes) {
    for (int pxmag : {2, 4})
        ExpectOurDecoderReads(GetParam(), pxmag);
}

// Symbols the decoder once failed at other magnifications: a lower version whose timing
// line alternated by chance at a far larger pitch than the module (v5, v7), finder-like
// crossings in the data (v40).
TEST(QrMake, OurDecoderReadsAtOtherMagnifications) {
    const struct {
        ReadBackCase Case;
        int Pxmag;
    } cases[] = {
        {{qrNumeric, 5, 3}, 3}, {{qrNumeric, 5, 2}, 5}, {{qrKanji, 7, 0}, 1},  {{qrKanji, 7, 0}, 3},
        {{qrKanji, 7, 0}, 5},   {{qrByte, 40, 1}, 1},   {{qrKanji, 40, 2}, 3}, {{qrByte, 25, 0}, 6},
    };
    for (const auto& c : cases)
        ExpectOurDecoderReads(c.Case, c.Pxmag);
}

std::vector<ReadBackCase> ReadBackCases() {
    std::vector<ReadBackCase> cases;
    for (QRDataMode mode : {qrByte, qrNumeric, qrKanji})
        for (int version : {1, 2, 5, 7, 10, 25, 40})
            for (int level = 0; level < 4; ++level)
                cases.push_back({mode, version, level});
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<ReadBackCase>& info) {
    static const char* kModes[] = {"Numeric", "Alnum", "Byte", "Kanji"};
    return std::string(kModes[info.param.Mode]) + "_v" + std::to_string(info.param.Version) + "_" +
           "LMQH"[info.param.Level];
}

INSTANTIATE_TEST_SUITE_P(Table, QrMakeReadBack, ::testing::ValuesIn(ReadBackCases()), CaseName);

TEST(QrMake, SplitSetsReadBack) {
    if (!test::HaveProgram("zbarimg"))
        GTEST_SKIP() << "zbarimg is not installed";
    test::TempDir dir;
    const auto png = dir.Path() / "set.png";
    const std::string text = "患者番号 00012345 / Quilmo Pendlar cover sheet";
    // Linked symbols are joined again by the reader: header, order and parity hold.
    ASSERT_EQ(QrMake(text, "--count 3 --version 2 --pxmag 2 --out '" + png.string() + "'").Status,
              0);
    EXPECT_EQ(ZbarRead(png), text + "\n");
    // Independent symbols are read one by one.
    ASSERT_EQ(
        QrMake("AAAABBBBCC", "--count 3 --plus --pxmag 2 --out '" + png.string() + "'").Status, 0);
    std::string read = ZbarRead(png);
    for (const char* part : {"AAAA\n", "BBBB\n", "CC\n"})
        EXPECT_NE(read.find(part), std::string::npos) << read;
    EXPECT_EQ(read.size(), 13u);
}

TEST(QrMake, EscapesAndPbm) {
    const ToolRun pbm = QrMake("A~41~B", "--binary --mode byte --mask 0 --pbm");
    ASSERT_EQ(pbm.Status, 0);
    EXPECT_EQ(pbm.Out.substr(0, pbm.Out.find('\n', 30)), "P1\n# Single Mode (Count = 1)\n29 29");
    // The same symbol as the plain text AAB.
    EXPECT_EQ(pbm.Out, QrMake("AAB", "--mode byte --mask 0 --pbm").Out);
}

TEST(QrMake, Failures) {
    struct Case {
        std::string Text;
        std::string Options;
        int Status;
        std::string Out; // start of the output
    } cases[] = {
        {std::string(18, '9'), "--mode byte --pbm", 1,
         "pendlar-tool: *** QRCodeの使用はできません。\n"},
        {"abc", "--mode numeric --pbm", 1, "pendlar-tool: *** QRCodeの使用はできません。\n"},
        {"😀", "--pbm", 1, "pendlar-tool: the text holds"},
        {"abc", "", 2, "pendlar-tool qr-make: give --out"},
        {"abc", "--pbm --version 41", 2, "pendlar-tool qr-make: --version"},
        {"abc", "--pbm --level X", 2, "pendlar-tool qr-make: --level"},
        {"abc", "--pbm --mask 8", 2, "pendlar-tool qr-make: --mask"},
        {"abc", "--pbm --mode ascii", 2, "pendlar-tool qr-make: --mode"},
        {"abc", "--pbm --pxmag 0", 2, "pendlar-tool qr-make: --pxmag"},
        {"abc", "--pbm --colour red", 2, "pendlar-tool qr-make: unknown option"},
    };
    for (const Case& c : cases) {
        const ToolRun run = QrMake(c.Text, c.Options);
        EXPECT_EQ(run.Status, c.Status) << c.Options << ": " << run.Out;
        EXPECT_EQ(run.Out.substr(0, c.Out.size()), c.Out) << c.Options;
    }
}

} // namespace
} // namespace pendlar
