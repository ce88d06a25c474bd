// The encoder against independent tools: the module matrix against qrencode's for the same
// data, version, level and mask, and the drawn symbols read back by zbarimg.
#include "QRTestSupport.h"
#include "TempDir.h"
#include "qrcode/QRSymbolEncoder.h"
#include "qrcode/QRTables.h"

#include <gtest/gtest.h>

namespace pendlar {
namespace {

using test::ModuleGrid;

struct OracleCase {
    QRDataMode Mode;
    int Version;
    int Level;
};

std::string DataFilling(QRDataMode mode, int version, int level) {
    // A symbol filled to its capacity, so that qrencode cannot choose a smaller version.
    const std::size_t n = static_cast<std::size_t>(QRCapacity(version, level, mode));
    switch (mode) {
    case qrNumeric:
        return test::SampleDigits(n);
    case qrKanji:
        return test::SampleKanji(n);
    default:
        return test::SampleBytes(n);
    }
}

class QrencodeMatrix : public ::testing::TestWithParam<OracleCase> {};

TEST_P(QrencodeMatrix, EqualsOursWithItsMask) {
    if (!test::HaveProgram("qrencode"))
        GTEST_SKIP() << "qrencode is not installed";
    const OracleCase c = GetParam();
    const std::string data = DataFilling(c.Mode, c.Version, c.Level);
    const std::string flags = c.Mode == qrByte ? "-8" : (c.Mode == qrKanji ? "-k" : "");
    const std::optional<ModuleGrid> theirs = test::QrencodeGrid(data, c.Version, c.Level, flags);
    ASSERT_TRUE(theirs.has_value());

    QRSymbolRequest request;
    request.Data = data;
    request.Version = c.Version;
    request.Eclevel = c.Level;
    request.Masktype = test::MaskOfGrid(*theirs);
    // A fixed mode, and for digits and kanji the automatic choice, which must come to the
    // same single segment.
    for (int emode : {static_cast<int>(c.Mode), -1}) {
        if (emode == -1 && c.Mode == qrByte)
            continue;
        request.Emode = emode;
        const QRSymbol ours = EncodeQRSymbol(request);
        ASSERT_TRUE(ours.Ok) << "emode " << emode;
        EXPECT_EQ(ours.Segments.size(), 1u);
        const ModuleGrid grid = test::GridOf(ours.Matrix);
        int differing = 0;
        for (std::size_t r = 0; r < grid.size(); ++r)
            for (std::size_t col = 0; col < grid.size(); ++col)
                differing += grid[r][col] != (*theirs)[r][col];
        EXPECT_EQ(differing, 0) << "emode " << emode << ", mask " << request.Masktype;
    }
}

std::vector<OracleCase> OracleCases() {
    std::vector<OracleCase> cases;
    for (QRDataMode mode : {qrByte, qrNumeric, qrKanji})
        for (int version : {1, 2, 5, 7, 10, 25, 40})
            for (int level = 0; level < 4; ++level)
                cases.push_back({mode, version, level});
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<OracleCase>& info) {
    static const char* kModes[] = {"Numeric", "Alnum", "Byte", "Kanji"};
    return std::string(kModes[info.param.Mode]) + "_v" + std::to_string(info.param.Version) + "_" +
           "LMQH"[info.param.Level];
}

INSTANTIATE_TEST_SUITE_P(Table, QrencodeMatrix, ::testing::ValuesIn(OracleCases()), CaseName);

} // namespace
} // namespace pendlar
