#include "settings/Registory.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsTable.h"
#include "util/Profile.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace pendlar {
namespace {

class RegistoryTest : public ::testing::Test {
protected:
    void SetUp() override { SetProfileDir(dir.Path().string()); }
    void TearDown() override { SetProfileDir(""); }

    std::string ConfPath() const { return (dir.Path() / "Pendlar15.conf").string(); }
    std::string SavedText() const { return test::ReadFile(ConfPath()); }
    void WriteConf(const std::string& text) const { test::WriteFile(ConfPath(), text); }

    // The saved file with one line removed or replaced.
    static std::string Edited(const std::string& text, const std::string& name,
                              const std::string& replacement) {
        std::regex line("(^|\n)" + name + ":[^\n]*\n");
        return std::regex_replace(text, line, "$1" + replacement,
                                  std::regex_constants::format_first_only);
    }

    test::TempDir dir;
};

// A value for every entry that differs from its default.
SettingValue Changed(const SettingEntry& e, const SettingValue& old, int index) {
    switch (e.Type) {
    case SettingType::String:
        // Japanese, a backslash, a line break and a dangling lead byte must all survive.
        return SjisOf("値\\") + std::to_string(index) + "\n\x82";
    case SettingType::Integer:
        return std::get<std::int64_t>(old) == -index - 7 ? std::int64_t{index}
                                                         : std::int64_t{-index - 7};
    case SettingType::Boolean:
        return std::int64_t{std::get<std::int64_t>(old) ? 0 : 1};
    case SettingType::Float:
        return 0.1 * index + 1e-17;
    case SettingType::Binary: {
        std::vector<std::uint8_t> bytes(e.BinarySize);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(index * 31 + i);
        if (bytes.size() == TCoverItemRecord::kSize)
            bytes[14] = 20; // a font-name length within the record
        return bytes;
    }
    }
    return {};
}

TEST_F(RegistoryTest, SavingAndLoadingGivesBackEveryField) {
    TRegistory saved;
    int index = 0;
    for (const auto& e : SettingsTable())
        e.Set(saved, Changed(e, e.Get(TRegistory()), ++index));
    saved.SaveSettings();

    TRegistory loaded;
    loaded.LoadSettings();
    for (const auto& e : SettingsTable())
        EXPECT_EQ(e.Get(loaded), e.Get(saved)) << e.Name;
}

TEST_F(RegistoryTest, TableHasEveryValueInStoredOrder) {
    std::vector<std::string> names;
    for (const auto& e : SettingsTable())
        names.push_back(e.Name);
    ASSERT_EQ(names.size(), 96u);
    EXPECT_EQ(names.front(), "FileOpenDir");
    EXPECT_EQ(names[14], "UseIryoData");
    EXPECT_EQ(names[84], "PolicyHelpFile");
    EXPECT_EQ(names[85], "UseIryoData");
    EXPECT_EQ(names.back(), "PdfInsType");
}

TEST_F(RegistoryTest, Defaults) {
    TRegistory r;
    const std::string home = HomeFolder();
    EXPECT_EQ(home.back(), '/');
    EXPECT_EQ(r.ScannerDir, home);
    EXPECT_EQ(r.DatabasePath, home);
    EXPECT_GE(r.DatabasePath.size(), 3u); // the database lookup relies on it
    EXPECT_EQ(r.PolicyHelpFile, home + "Policy.pdf");
    EXPECT_EQ(r.KaCode, "0");
    EXPECT_EQ(r.Quality, 80);
    EXPECT_EQ(r.PrintDensity, 600.0);
    EXPECT_EQ(r.PanelDensity, 76.2);
    EXPECT_EQ(r.ShowImage, 5);

    auto item = r.labelSex.ToBytes();
    const std::uint8_t expected[50] = {232,  0,    0,    0,    144,  0,    0,    0,    1,    128,
                                       0x08, 0x00, 0x00, 0xFF, 15,   0x82, 0x6c, 0x82, 0x72, 0x20,
                                       0x82, 0x6f, 0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4e,
                                       0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                                       0,    0,    0,    0,    0,    9,    0,    0,    0,    0};
    EXPECT_EQ(std::vector<std::uint8_t>(item.begin(), item.end()),
              std::vector<std::uint8_t>(expected, expected + 50));
    auto qr = r.QRCodeImage.ToBytes();
    EXPECT_EQ(std::vector<std::uint8_t>(qr.begin(), qr.end()),
              (std::vector<std::uint8_t>{64, 0, 0, 0, 72, 0, 0, 0, 2, 0, 0, 0}));
}

TEST_F(RegistoryTest, MissingFileGivesDefaultsAndFirstSaveWritesEverything) {
    TRegistory r;
    r.Quality = 99;
    r.LoadSettings();
    EXPECT_EQ(r.Quality, 80);
    r.SaveSettings();
    std::string text = SavedText();
    for (const auto& e : SettingsTable())
        EXPECT_NE(text.find(std::string("\n") + e.Name + ":"), std::string::npos) << e.Name;
}

TEST_F(RegistoryTest, LoadRulesForMissingAndMalformedValues) {
    TRegistory base;
    base.Quality = 55;
    base.CsvFolder = "/data/csv/";
    base.lblSex.Left = 999;
    base.SaveSettings();
    const std::string saved = SavedText();

    struct Case {
        const char* what;
        std::string name, replacement;
        bool allDefaults;
    } cases[] = {
        {"missing integer", "PdfInsType", "", true},
        {"missing boolean", "Koyomi", "", true},
        {"missing float", "PanelDensity", "", true},
        {"wrong type", "Quality", "Quality:string=55\n", true},
        {"float given as int", "PrintDensity", "PrintDensity:int=600\n", true},
        {"unparsable integer", "Quality", "Quality:int=5x\n", true},
        {"integer beyond 32 bits", "Quality", "Quality:int=4294967296\n", true},
        {"binary longer than its record", "QRCodeImage",
         "QRCodeImage:binary=40000000480000000200000000\n", true},
        {"bad hex", "QRCodeImage", "QRCodeImage:binary=4g\n", true},
        {"bad escape", "Target", "Target:string=\\q\n", true},
        {"line that is no value", "Target", "garbage\n", true},
        {"missing string", "CsvFolder", "", false},
        {"missing binary", "lblSex", "", false},
        {"number read as boolean", "Koyomi", "Koyomi:int=7\n", false},
        {"bool written as int kind", "Quality", "Quality:bool=55\n", false},
    };
    for (const auto& c : cases) {
        WriteConf(Edited(saved, c.name, c.replacement));
        TRegistory r;
        r.lblSex.Left = 1234; // a missing binary keeps what the field held
        r.LoadSettings();
        SCOPED_TRACE(c.what);
        if (c.allDefaults) {
            EXPECT_EQ(r.Quality, 80);
            EXPECT_EQ(r.lblSex.Left, 144);
        } else {
            EXPECT_EQ(r.Quality, 55);
            EXPECT_EQ(r.CsvFolder, c.name == "CsvFolder" ? "" : "/data/csv/");
            EXPECT_EQ(r.lblSex.Left, c.name == "lblSex" ? 1234 : 999);
        }
    }
    WriteConf(Edited(saved, "Koyomi", "Koyomi:int=7\n"));
    TRegistory r;
    r.LoadSettings();
    EXPECT_TRUE(r.Koyomi);
}

TEST_F(RegistoryTest, ShortBinaryOverwritesOnlyItsBytes) {
    TRegistory base;
    base.SaveSettings();
    WriteConf(Edited(SavedText(), "QRCodeImage", "QRCodeImage:binary=05000000\n"));
    TRegistory r;
    r.LoadSettings();
    EXPECT_EQ(r.QRCodeImage, (TQRPositionRecord{5, 72, 2}));
}

TEST_F(RegistoryTest, MissingSectionGivesDefaults) {
    WriteConf("[Other]\nQuality:int=3\n");
    TRegistory r;
    r.Quality = 1;
    r.LoadSettings();
    EXPECT_EQ(r.Quality, 80);
}

TEST_F(RegistoryTest, FileCutShortLoadsAsDefaults) {
    TRegistory base;
    base.Quality = 61;
    base.SaveSettings();
    std::string text = SavedText();
    for (std::size_t cut : {std::size_t{0}, std::size_t{10}, text.size() / 2, text.size() - 3}) {
        WriteConf(text.substr(0, cut));
        TRegistory r;
        r.LoadSettings();
        EXPECT_EQ(r.Quality, 80) << cut;
    }
}

TEST_F(RegistoryTest, FailedSaveLeavesNothingBehind) {
    // A settings path that cannot be replaced (here a folder in its place) and a profile
    // folder that cannot be created: no message, no exception, no stray temporary file.
    std::filesystem::create_directories(dir.Path() / "Pendlar15.conf" / "keep");
    TRegistory r;
    EXPECT_FALSE(r.SaveSettings());
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Pendlar15.conf" / "keep"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);

    test::WriteFile(dir.Path() / "plainfile", "x");
    SetProfileDir((dir.Path() / "plainfile" / "profile").string());
    EXPECT_FALSE(r.SaveSettings());
    EXPECT_EQ(test::ReadFile(dir.Path() / "plainfile"), "x");
}

TEST_F(RegistoryTest, ToolSavesAssignmentsAndReportsASaveThatFailed) {
    auto tool = [&](const std::string& args, std::string& out) {
        out.clear();
        return test::RunCommand(std::string(PENDLAR_TOOL) + " settings --profile '" +
                                    dir.Path().string() + "' " + args + " 2>&1",
                                &out);
    };
    std::string out;
    ASSERT_EQ(tool("--set Quality=90 --set 'CsvFolder=/データ/'", out), 0) << out;
    TRegistory r;
    r.LoadSettings();
    EXPECT_EQ(r.Quality, 90);
    EXPECT_EQ(r.CsvFolder, SjisOf("/データ/"));
    ASSERT_EQ(tool("", out), 0);
    EXPECT_NE(out.find("\nQuality=90\n"), std::string::npos);

    // A settings file that cannot be replaced: the tool must not claim it saved.
    std::filesystem::remove(ConfPath());
    std::filesystem::create_directories(dir.Path() / "Pendlar15.conf" / "keep");
    EXPECT_EQ(tool("--set Quality=70", out), 1);
    EXPECT_NE(out.find("could not be written"), std::string::npos) << out;
    EXPECT_EQ(tool("--set Quality=x", out), 2);
}

TEST(Registory, CodesAreCutByBytes) {
    TRegistory r;
    r.SetHPCode("12345678901234567890");
    EXPECT_EQ(r.HPCode, "1234567890123456");
    r.SetKaCode("12345");
    EXPECT_EQ(r.KaCode, "1234");
    r.SetKaCode(SjisOf("内科外科")); // a cut by bytes, even inside a character
    EXPECT_EQ(r.KaCode, SjisOf("内科"));
    r.SetKaCode("1");
    EXPECT_EQ(r.KaCode, "1");
}

TEST(Registory, CoverItemRecordRoundTrip) {
    TCoverItemRecord item;
    item.Left = -5;
    item.Top = 70000;
    item.Print = 0;
    item.Colour = 0x00123456;
    item.FontName = SjisOf("ＭＳ 明朝");
    item.Size = 12;
    item.Style = 0x0F;
    EXPECT_EQ(TCoverItemRecord::FromBytes(item.ToBytes()), item);

    auto bytes = item.ToBytes();
    bytes[14] = 200; // a damaged length byte reads at most the 30 bytes there are
    EXPECT_EQ(TCoverItemRecord::FromBytes(bytes).FontName.size(), 30u);
}

} // namespace
} // namespace pendlar
