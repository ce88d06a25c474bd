// Saving a new chart, opening and erasing it, and the same road through pendlar-tool.
#include "FilingDesk.h"

#include "store/ChartChoice.h"
#include "store/ChartFiling.h"
#include "store/SaveChart.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

namespace pendlar::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr const char* kName = "HP1234_1234567_0_2024_5_3_0.pdf";

std::string Folder(const FilingDesk& d) {
    return d.ChartsDir() + "/01/23/45/67";
}

std::size_t PlainFiles(const std::string& folder) {
    std::size_t n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        n += e.is_regular_file();
    return n;
}

// Every file below a folder (hidden ones too), as paths relative to it.
Strings FilesBelow(const std::string& folder) {
    Strings files;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec))
        if (e.is_regular_file())
            files.push_back(fs::relative(e.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

// Confirmed, chosen and ready to save: three pages of patient 1234567, sub number 0.
void Ready(FilingDesk& d) {
    d.ScanPages(3);
    d.Confirm("1234567");
    d.Select("0");
    ASSERT_TRUE(d.Window.IsEnabled(FilingControl::SaveButton))
        << testing::PrintToString(d.MessagesUtf8());
    d.Ui.Messages.clear();
}

TEST(SaveNewChart, FilesTheChartUnderItsExactNameRowAndLine) {
    FilingDesk desk;
    desk.Settings.KeyWordUse = true;
    desk.Settings.UseKeyLabel = {true, false, true, false, false, false, false, false};
    Ready(desk);
    const std::string sixty(60, 'k');
    desk.Window.Fields["KeyBox1"].Text = SjisOf("胃'の\"潰瘍\"");
    desk.Window.Fields["KeyBox2"].Text = sixty;
    desk.Window.Fields["KeyBox3"].Text = SjisOf("再診");

    desk.Save();

    EXPECT_EQ(desk.MessagesUtf8(), Strings{"保存しました。"});
    EXPECT_EQ(desk.Ui.Messages[0].Icon, MsgIcon::Information);
    EXPECT_EQ(SjisToUtf8(desk.Ui.Status[1]), "保存しました。");
    const std::string path = Folder(desk) + "/" + kName;
    EXPECT_EQ(FilesBelow(desk.ChartsDir()), Strings{"01/23/45/67/" + std::string(kName)});
    EXPECT_EQ(ReadFile(path).substr(0, 8), "%PDF-1.2");

    const std::vector<Row> rows = desk.Rows();
    ASSERT_EQ(rows.size(), 1u);
    Row expected = {{"CARUTENO", "1234567"},
                    {"CARUTESUBNO", "0"},
                    {"CARUTEDATE", "2024/05/03 9:05:07"},
                    {"FILEPATH", path},
                    {"INETPATH", path},
                    {"FILENAME", kName},
                    {"KEY1", SjisOf("胃'の\"潰瘍\"")},
                    {"KEY2", sixty.substr(0, 48)},
                    {"KEY3", SjisOf("再診")},
                    {"KEY4", ""},
                    {"KEY5", ""},
                    {"KEY6", ""},
                    {"KEY7", ""},
                    {"KEY8", ""}};
    EXPECT_EQ(rows[0], expected);
    // The line keeps the whole keywords, quotes and all, of the keys in use only.
    EXPECT_EQ(desk.Logs.Save.Lines(), Strings{"7," + path + ",\"" + SjisOf("胃'の\"潰瘍\"") +
                                              "\",\"" + SjisOf("再診") + "\""});
    EXPECT_EQ(PlainFiles(desk.ScanDir()), 0u);
    EXPECT_TRUE(desk.Intake.Pages().empty());
    EXPECT_EQ(desk.State.Mode, ChartFilingMode::None);
    EXPECT_FALSE(desk.Window.IsEnabled(FilingControl::SaveButton));
    EXPECT_TRUE(desk.Window.IsEnabled(FilingControl::PrintBtn));
    EXPECT_TRUE(desk.Window.IsEnabled(FilingControl::EraseBtn));

    // 印刷 hands the stored path to the shell.
    PrintBtnClick(desk.Context);
    EXPECT_EQ(desk.Ui.ShellOpened, Strings{path});
}

TEST(SaveNewChart, FileNameFromTheSettings) {
    TRegistory s;
    s.HPCode = "";
    s.KaCode = "3";
    s.WriteDate = false;
    s.NyuGai = false;
    const TDateTime jan9 = EncodeDate(2025, 1, 9);
    EXPECT_EQ(ChartFileName(s, 7, 12, jan9), "HP_7_12_3.pdf");
    s.WriteDate = true;
    s.NyuGai = true;
    s.HeaderOut = 0;
    EXPECT_EQ(ChartFileName(s, 7, 12, jan9), "HP_7_12_2025_1_9_3.pdf");
    s.HeaderOut = 2;
    EXPECT_EQ(ChartFileName(s, 7, 12, jan9), "HP_7_12_2025_1_9_3N.pdf");
}

TEST(SaveNewChart, ChartFolderFromTheSettings) {
    struct Case {
        const char* Target;
        std::array<const char*, 8> Levels; // L1Front, L1Back, … L4Front, L4Back
        const char* Folder;
    } cases[] = {
        {"/srv/Charts/", {"", "", "", "", "", "", "", ""}, "/srv/Charts/01/23/45/67"},
        {"/srv/Charts", {"", "", "", "", "", "", "", ""}, "/srv/Charts/01/23/45/67"},
        {"/srv/Charts", {"P", "x", "", "", "", "", "", ""}, "/srv/Charts/P01x/23/45/67"},
        {"/srv/Charts",
         {"P", "x", "Q", "y", "R", "z", "S", "w"},
         "/srv/Charts/P01x/Q23y/R45z/S67w"},
    };
    for (const Case& c : cases) {
        TRegistory s;
        s.Target = c.Target;
        std::string* levels[] = {&s.L1Front, &s.L1Back, &s.L2Front, &s.L2Back,
                                 &s.L3Front, &s.L3Back, &s.L4Front, &s.L4Back};
        for (int i = 0; i < 8; ++i)
            *levels[i] = c.Levels[static_cast<std::size_t>(i)];
        TDirFile dirFile;
        EXPECT_EQ(ChartFolder(s, dirFile, 1234567), c.Folder) << c.Target;
    }
}

// FILEPATH holds 255 bytes: a chart whose path is longer would be registered under a path
// that names no file, so it is not filed at all.
TEST(SaveNewChart, APathLongerThanItsColumnIsRefusedBeforeAnythingIsWritten) {
    const std::size_t nameAndLevels = std::string("/01/23/45/67/").size() + std::strlen(kName);
    for (std::size_t length : {std::size_t{255}, std::size_t{256}}) {
        SCOPED_TRACE(length);
        FilingDesk desk;
        const std::string base = desk.ChartsDir() + "/";
        desk.Settings.Target = base + std::string(length - nameAndLevels - base.size(), 'x');
        Ready(desk);
        desk.Save();
        const std::string path = desk.Settings.Target + "/01/23/45/67/" + kName;
        ASSERT_EQ(path.size(), length);
        if (length == 255) {
            EXPECT_EQ(desk.MessagesUtf8(), Strings{"保存しました。"});
            ASSERT_EQ(desk.Rows().size(), 1u);
            EXPECT_EQ(desk.Rows()[0].at("FILEPATH"), path);
            continue;
        }
        EXPECT_EQ(desk.MessagesUtf8(), Strings{"システムエラーです。\n管理者へ連絡して下さい。"});
        EXPECT_EQ(desk.ErrorLogUtf8(),
                  Strings{"*** " + path +
                          " System:File Path is longer than the Database column (255 bytes)"});
        EXPECT_EQ(SjisToUtf8(desk.Ui.Status[1]), "書き込みに失敗しました。");
        EXPECT_TRUE(FilesBelow(desk.ChartsDir()).empty());
        EXPECT_TRUE(desk.Rows().empty());
        EXPECT_EQ(desk.State.Mode, ChartFilingMode::New);
        EXPECT_FALSE(desk.Window.IsEnabled(FilingControl::SaveButton));
        EXPECT_EQ(PlainFiles(desk.ScanDir()), 3u);
    }
}

TEST(SaveNewChart, TheLastPatientAndSubNumberAreFiled) {
    FilingDesk desk;
    desk.ScanPages(3);
    desk.Confirm("99999999");
    desk.Select("999");
    desk.Ui.Messages.clear();
    desk.Save();
    EXPECT_EQ(desk.MessagesUtf8(), Strings{"保存しました。"});
    EXPECT_EQ(FilesBelow(desk.ChartsDir()),
              Strings{"99/99/99/99/HP1234_99999999_999_2024_5_3_0.pdf"});
    const std::vector<Row> rows = desk.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("CARUTENO"), "99999999");
    EXPECT_EQ(rows[0].at("CARUTESUBNO"), "999");
}

// One row per failure of the save and erase tables: what the person sees, what the logs
// hold, and that nothing is left half done.
struct FailureCase {
    const char* Name;
    std::function<void(FilingDesk&)> Arrange; // after Ready
    std::function<void(FilingDesk&)> Act;
    Strings Messages;
    Strings ErrorLog;
    std::size_t Rows;         // rows in PDF_PATH afterwards
    Strings ChartFiles;       // below the charts folder
    std::size_t ScannerFiles; // pages left in the scanner folder
    bool SaveEnabled;
    std::size_t SaveLogLines = 0;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.Name;
}

const std::string kChart = std::string("01/23/45/67/") + kName;
const char* const kStored = "stored/chart_1234567_0.pdf";

void Save(FilingDesk& d) {
    d.Save();
}

// A stored chart of the patient, chosen for erasing.
void StoredAndChosen(FilingDesk& d) {
    d.PutChart(1234567, 0);
    d.Confirm("1234567");
    d.Select("0");
    d.Ui.Messages.clear();
}

void Erase(FilingDesk& d) {
    EraseBtnClick(d.Context);
}

void Print(FilingDesk& d) {
    PrintBtnClick(d.Context);
}

// The chosen chart's row names no file (a row damaged by hand or by another program).
void StoredWithoutPath(FilingDesk& d) {
    StoredAndChosen(d);
    ASSERT_TRUE(d.Db.CaruteDatabase.Execute("UPDATE PDF_PATH SET FILEPATH = '';"));
}

class SaveAndEraseFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(SaveAndEraseFailures, ReportAndLeaveNothingHalfDone) {
    const FailureCase& c = GetParam();
    FilingDesk desk;
    Ready(desk);
    c.Arrange(desk);
    c.Act(desk);

    EXPECT_EQ(desk.MessagesUtf8(), c.Messages);
    Strings log = c.ErrorLog;
    for (std::string& line : log)
        if (std::size_t at = line.find("<folder>"); at != std::string::npos)
            line.replace(at, 8, Folder(desk));
    EXPECT_EQ(desk.ErrorLogUtf8(), log);
    EXPECT_EQ(desk.Rows().size(), c.Rows);
    Strings files = FilesBelow(desk.ChartsDir());
    for (const std::string& f : FilesBelow((desk.Dir.Path() / "stored").string()))
        files.push_back("stored/" + f);
    EXPECT_EQ(files, c.ChartFiles);
    EXPECT_EQ(PlainFiles(desk.ScanDir()), c.ScannerFiles);
    EXPECT_EQ(desk.Window.IsEnabled(FilingControl::SaveButton), c.SaveEnabled);
    EXPECT_EQ(desk.Logs.Save.Lines().size(), c.SaveLogLines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveAndEraseFailures,
    testing::Values(
        FailureCase{"PatientNotANumber",
                    [](FilingDesk& d) { d.Window.PatientText = "12a"; },
                    Save,
                    {"患者番号エラー\n数字？"},
                    {"** ID Number Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"PatientZero",
                    [](FilingDesk& d) { d.Window.PatientText = "0"; },
                    Save,
                    {"患者番号エラー\n値の範囲？"},
                    {"** ID Number Range Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"PatientNegative",
                    [](FilingDesk& d) { d.Window.PatientText = "-5"; },
                    Save,
                    {"患者番号エラー\n値の範囲？"},
                    {"** ID Number Range Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"PatientPastTheLastNumber",
                    [](FilingDesk& d) { d.Window.PatientText = "100000000"; },
                    Save,
                    {"患者番号エラー\n値の範囲？"},
                    {"** ID Number Range Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"SubNotANumber",
                    [](FilingDesk& d) { d.Window.SubNoText = "x"; },
                    Save,
                    {"連番エラー\n数字？"},
                    {"** SubID Number Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"SubTooLarge",
                    [](FilingDesk& d) { d.Window.SubNoText = "1000"; },
                    Save,
                    {"連番エラー\n値の範囲？"},
                    {"** SubID Number Range Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"SubNegative",
                    [](FilingDesk& d) { d.Window.SubNoText = "-1"; },
                    Save,
                    {"連番エラー\n値の範囲？"},
                    {"** SubID Number Range Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"NumberTypedAfterTheConfirmation",
                    [](FilingDesk& d) { d.Window.PatientText = "1234568"; },
                    Save,
                    {"患者番号または連番が確認後に変更されています。\n確認と選択をやり直してくださ"
                     "い。"},
                    {"** ID Number Changed Error : Save"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"OutpatientCheckFails",
                    [](FilingDesk& d) { d.Settings.HeaderOut = 1; },
                    Save,
                    {"データエラー\n保存ができません\n修正して保存してください。\n修正項目は、画面"
                     "の下に表示しています。"},
                    {"* 外来 Data Error : New"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"RequiredKeywordEmpty",
                    [](FilingDesk& d) {
                        d.Settings.KeyWordUse = true;
                        d.Settings.UseKeyLabel = {true,  true,  false, false,
                                                  false, false, false, false};
                        d.Window.Fields["KeyBox1"].Text = "a";
                    },
                    Save,
                    {"キーワードエラー\n保存ができません"},
                    {"* Keyword Data Error : New"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{
            "FileOnDiskButNotRegistered",
            [](FilingDesk& d) { WriteFile(Folder(d) + "/" + kName, "someone else's file"); },
            Save,
            {"システムエラーです。\n管理者へ連絡して下さい。"},
            {"*** <folder>/" + std::string(kName) +
             " System:File is not registed in Database but Existed ,so OverWrite "
             "raising)"},
            0,
            {kChart},
            3,
            false},
        FailureCase{"FolderCannotBeMade",
                    [](FilingDesk& d) {
                        // A file where the first level folder must go.
                        WriteFile(d.ChartsDir() + "/01", "");
                    },
                    Save,
                    {},
                    {},
                    0,
                    {"01"},
                    3,
                    false},
        FailureCase{"DatabaseTurnsReadOnlyWhileThePdfIsWritten",
                    [](FilingDesk& d) { d.Ui.OnEvents = [&d] { d.SetReadOnly(true); }; },
                    Save,
                    {"データベースエラー\n書き込みに失敗しました。"},
                    {"*** DataBase Write Error : New"},
                    0,
                    {},
                    3,
                    true},
        FailureCase{"EraseRefusedWhileWriteInhibitIsOn",
                    [](FilingDesk& d) {
                        d.Settings.WriteInhibit = true;
                        StoredAndChosen(d);
                    },
                    Erase,
                    {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?",
                     "書込禁止設定です。\nFileの削除に失敗しました。"},
                    {"*** File Delete Error : 消去"},
                    1,
                    {kStored},
                    3,
                    false},
        FailureCase{"EraseAnsweredNo",
                    [](FilingDesk& d) {
                        StoredAndChosen(d);
                        d.Ui.MessageAnswers = {MsgResult::Yes, MsgResult::No};
                    },
                    Erase,
                    {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?"},
                    {},
                    1,
                    {kStored},
                    3,
                    true},
        FailureCase{"EraseOfARowWithoutItsFile",
                    [](FilingDesk& d) {
                        StoredAndChosen(d);
                        fs::remove(d.Dir.Path() / kStored);
                    },
                    Erase,
                    {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?",
                     "File unmatched エラー"},
                    {"*** File is not Exist Error : 消去"},
                    1,
                    {},
                    3,
                    true},
        FailureCase{"EraseOfAReadOnlyChart",
                    [](FilingDesk& d) {
                        StoredAndChosen(d);
                        fs::permissions(d.Dir.Path() / kStored, fs::perms::owner_read |
                                                                    fs::perms::group_read |
                                                                    fs::perms::others_read);
                    },
                    Erase,
                    {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?",
                     "Fileの削除に失敗しました。"},
                    {"*** File Delete Error : 消去"},
                    1,
                    {kStored},
                    3,
                    false},
        FailureCase{"EraseOfARowWithoutAPath",
                    StoredWithoutPath,
                    Erase,
                    {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?",
                     "DB System (2) エラー"},
                    {"*** File Path Error : 消去"},
                    1,
                    {kStored},
                    3,
                    true},
        FailureCase{"PrintOfARowWithoutItsFile",
                    [](FilingDesk& d) {
                        StoredAndChosen(d);
                        fs::remove(d.Dir.Path() / kStored);
                    },
                    Print,
                    {"ファイルが見つかりません。"},
                    {"*** File is not Exist Error : 印刷"},
                    1,
                    {},
                    3,
                    true},
        FailureCase{"PrintOfARowWithoutAPath",
                    StoredWithoutPath,
                    Print,
                    {"File Path エラー"},
                    {"*** File Path Error : 印刷"},
                    1,
                    {kStored},
                    3,
                    true},
        FailureCase{"EraseWhileTheDatabaseIsReadOnly",
                    [](FilingDesk& d) {
                        StoredAndChosen(d);
                        d.SetReadOnly(true);
                    },
                    Erase,
                    {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?",
                     "データベースエラー"},
                    {"*** Database Error : 消去"},
                    1,
                    {kStored},
                    3,
                    false},
        FailureCase{"EraseRemovesFileAndRow",
                    StoredAndChosen,
                    Erase,
                    {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?"},
                    {},
                    0,
                    {},
                    3,
                    false,
                    1}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.Name; });

// The flows on a stored chart when their query cannot run (the table has gone): each shows
// its own box with the Abort button and adds its own error-log line.
TEST(StoredChartFlows, AQueryThatCannotRunShowsItsBoxAndLine) {
    struct Case {
        const char* Name;
        const char* Table; // renamed away before the act
        std::function<void(FilingDesk&)> Act;
        Strings Messages; // the flow's own box last; print adds the general error message
        const char* LogLine;
        std::size_t Total;
    } cases[] = {
        {"sub-number choice",
         "PDF_PATH",
         [](FilingDesk& d) { d.Select("0"); },
         {"DB System エラー"},
         "*** Database System Error : 連番",
         1},
        {"print", "PDF_PATH", Print, {"DB System エラー"}, "*** Database Error : 印刷", 2},
        {"erase",
         "PDF_PATH",
         Erase,
         {"このファイルを消去しますか?\n患者番号 1234567 連番 0", "本当に消去しますか?",
          "DB System エラー"},
         "*** Database Error : 消去",
         3},
        {"add",
         "PDF_PATH",
         [](FilingDesk& d) {
             d.Settings.WriteInhibit = false;
             d.Save();
         },
         {"DB System エラー"},
         "*** DataBase Read Error : Add Execute",
         1},
        {"confirmation, the chart list",
         "PDF_PATH",
         [](FilingDesk& d) { d.Confirm("7654321"); },
         {"DB System エラー"},
         "*** Id No Search Database Error",
         1},
        {"confirmation, the billing record",
         "PDF_DATA",
         [](FilingDesk& d) {
             d.Settings.UseIryoData = true;
             d.Confirm("7654321");
         },
         {"DB System エラー(医事)"},
         "*** 医事 Database Read Error",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FilingDesk desk;
        StoredAndChosen(desk);
        desk.Logs.Error.Clear();
        ASSERT_TRUE(desk.Db.CaruteDatabase.Execute(std::string("ALTER TABLE ") + c.Table +
                                                   " RENAME TO GONE;"));
        c.Act(desk);
        Strings messages = desk.MessagesUtf8();
        ASSERT_EQ(messages.size(), c.Total) << testing::PrintToString(messages);
        messages.resize(c.Messages.size());
        EXPECT_EQ(messages, c.Messages);
        EXPECT_EQ(desk.Ui.Messages[c.Messages.size() - 1].Buttons, MsgButtons::Abort);
        EXPECT_EQ(desk.ErrorLogUtf8(), Strings{c.LogLine});
        EXPECT_TRUE(fs::exists(desk.Dir.Path() / kStored));
    }
}

TEST(SaveNewChart, RetryAfterTheDatabaseCameBack) {
    FilingDesk desk;
    Ready(desk);
    desk.Ui.OnEvents = [&desk] { desk.SetReadOnly(true); };
    desk.Save();
    ASSERT_EQ(desk.State.Mode, ChartFilingMode::New);
    ASSERT_EQ(desk.Intake.Pages().size(), 3u);

    desk.Ui.OnEvents = nullptr;
    desk.SetReadOnly(false);
    desk.Save();
    EXPECT_EQ(desk.MessagesUtf8(),
              (Strings{"データベースエラー\n書き込みに失敗しました。", "保存しました。"}));
    EXPECT_EQ(desk.Rows().size(), 1u);
    EXPECT_EQ(FilesBelow(desk.ChartsDir()), Strings{kChart});
    EXPECT_EQ(desk.Logs.Save.Lines().size(), 1u);
}

TEST(SaveNewChart, ASecondPressWhileSavingIsIgnored) {
    FilingDesk desk;
    Ready(desk);
    int presses = 0;
    desk.Ui.OnEvents = [&] {
        if (presses++ == 0)
            desk.Save();
    };
    desk.Save();
    EXPECT_GT(presses, 0);
    EXPECT_EQ(desk.MessagesUtf8(), Strings{"保存しました。"});
    EXPECT_EQ(desk.Rows().size(), 1u);
}

TEST(SaveNewChart, ThePdfWriterFailingLeavesNoFileAndKeepsTheMode) {
    FilingDesk desk;
    Ready(desk);
    // Stretched onto a page this large, the images would not fit in memory: the writer
    // refuses with its exception.
    desk.Settings.Stretch = true;
    desk.Settings.PdfPageWidth = desk.Settings.PdfPageHeight = 100000;
    desk.Save();
    ASSERT_EQ(desk.Ui.Messages.size(), 1u);
    EXPECT_EQ(desk.Ui.Messages[0].Icon, MsgIcon::Error);
    EXPECT_EQ(FilesBelow(desk.ChartsDir()), Strings{});
    EXPECT_TRUE(desk.Rows().empty());
    EXPECT_EQ(desk.State.Mode, ChartFilingMode::New);
    EXPECT_TRUE(desk.Window.IsEnabled(FilingControl::SaveButton));
}

TEST(FileChartTool, FilesFromTheQRCodeAndPassesQpdf) {
    TempDir dir;
    const std::string tool = PENDLAR_TOOL;
    const std::string profile = (dir.Path() / "profile").string();
    const std::string scan = (dir.Path() / "scan").string();
    const std::string charts = (dir.Path() / "charts").string();
    fs::create_directories(scan);
    ASSERT_EQ(RunCommand(tool + " db-create '" + dir.Path().string() + "'"), 0);
    ASSERT_EQ(RunCommand(tool + " qr-make 1234567 --pxmag 8 --out '" + scan + "/a1.png'"), 0);
    FilingDesk pages; // only for its page images
    pages.ScanPages(2);
    for (const char* name : {"page1.png", "page2.png"})
        fs::copy_file(fs::path(pages.ScanDir()) / name,
                      fs::path(scan) / ("b_" + std::string(name)));
    ASSERT_EQ(RunCommand(tool + " settings --profile '" + profile + "' --set 'DatabasePath=" +
                         dir.Path().string() + "/QuilmoCaruteDb.sqb' --set 'ScannerDir=" + scan +
                         "/' --set 'Target=" + charts +
                         "' --set HPCode=1234 --set UseIryoData=0 > /dev/null"),
              0);

    std::string out;
    const std::string env = "SOURCE_DATE_EPOCH=1714727107 ";
    ASSERT_EQ(RunCommand(env + tool + " file-chart --profile '" + profile +
                             "' --qr-frame 0,0,230,230 --sub 0",
                         &out),
              0);
    const std::string path = charts + "/01/23/45/67/" + kName;
    EXPECT_EQ(out, "7," + path + "\n");
    EXPECT_EQ(PlainFiles(scan), 0u);
    if (HaveProgram("qpdf")) {
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "' > /dev/null"), 0);
    }

    std::string found;
    ASSERT_EQ(RunCommand(tool + " find --profile '" + profile + "' --patient 1234567", &found), 0);
    EXPECT_NE(found.find("\t1234567\t0\t" + path + "\t"), std::string::npos) << found;

    // More pages for the same sub number: added at the end of the stored chart.
    for (const char* name : {"page1.png", "page2.png"})
        fs::copy_file(fs::path(pages.ScanDir()) / name,
                      fs::path(scan) / ("c_" + std::string(name)));
    ASSERT_EQ(RunCommand(tool + " settings --profile '" + profile +
                         "' --set WriteInhibit=0 --set PdfInsType=1 > /dev/null"),
              0);
    std::string added;
    ASSERT_EQ(
        RunCommand(env + tool + " file-chart --profile '" + profile + "' --patient 1234567 --sub 0",
                   &added),
        0);
    EXPECT_EQ(added, "7," + path + "\n");
    if (HaveProgram("qpdf")) {
        std::string pageCount;
        EXPECT_EQ(RunCommand("qpdf --show-npages '" + path + "'", &pageCount), 0);
        // FirstPage is off: the first page of each batch counts as its cover sheet.
        EXPECT_EQ(pageCount, "3\n") << "two pages, then one more";
    }

    // Nothing left to file: the tool says why and fails.
    std::string again;
    EXPECT_EQ(
        RunCommand(tool + " file-chart --profile '" + profile + "' --patient 1234567 --sub 1 2>&1",
                   &again),
        1);
    EXPECT_NE(again.find("読込みファイルが指定されていません。"), std::string::npos) << again;
}

// A scan station without a clerk: the billing record fills the header page and the keyword
// the settings require, exactly as 確認 does in the window.
TEST(FileChartTool, TakesTheHeaderAndTheKeywordsFromTheBillingRecord) {
    TempDir dir;
    const std::string tool = PENDLAR_TOOL;
    const std::string profile = (dir.Path() / "profile").string();
    const std::string scan = (dir.Path() / "scan").string();
    const std::string charts = (dir.Path() / "charts").string();
    fs::create_directories(scan);
    FilingDesk pages;
    pages.ScanPages(2);
    for (const char* name : {"page1.png", "page2.png"})
        fs::copy_file(fs::path(pages.ScanDir()) / name, fs::path(scan) / name);
    ASSERT_EQ(RunCommand(tool + " db-create '" + dir.Path().string() + "'"), 0);
    fs::create_directories(profile);
    WriteFile(fs::path(profile) / "iji.key", "StationKey2026\n");
    WriteFile(dir.Path() / "record.txt",
              "PName=山田 太郎\nPKana=ﾔﾏﾀﾞ ﾀﾛｳ\nPsex=0\nPBirth=1950/03/20\n"
              "Padress=東京都千代田区丸の内1-1-1\nPtel=03-1234-5678\n"
              "Gbyoname1=本態性高血圧症\nGshoshinbi1=2024/01/15\n");
    ASSERT_EQ(RunCommand(tool + " iji-put --profile '" + profile + "' '" + dir.Path().string() +
                         "' 1234567 '" + (dir.Path() / "record.txt").string() + "'"),
              0);
    ASSERT_EQ(RunCommand(tool + " settings --profile '" + profile + "' --set 'DatabasePath=" +
                         dir.Path().string() + "/QuilmoCaruteDb.sqb' --set 'ScannerDir=" + scan +
                         "/' --set 'Target=" + charts +
                         "' --set HPCode=1234 --set UseIryoData=1 --set HeaderOut=1"
                         " --set KeyWordUse=1 --set UseKeyLabel1=1 --set IjiItem1=13"
                         " --set FirstPage=1 > /dev/null"),
              0);

    std::string out;
    ASSERT_EQ(RunCommand(tool + " file-chart --profile '" + profile + "' --patient 1234567 --sub 0",
                         &out),
              0)
        << out;
    std::string found;
    ASSERT_EQ(RunCommand(tool + " find --profile '" + profile + "' --key1 高血圧", &found), 0);
    EXPECT_NE(found.find("\t1234567\t0\t"), std::string::npos) << found;
    EXPECT_NE(found.find("\t本態性高血圧症"), std::string::npos) << found;
    if (HaveProgram("pdftotext")) {
        const std::string pdf =
            fs::directory_iterator(fs::path(charts) / "01/23/45/67")->path().string();
        std::string text;
        ASSERT_EQ(RunCommand("pdftotext -f 1 -l 1 '" + pdf + "' -", &text), 0);
        EXPECT_NE(text.find("山田"), std::string::npos) << text;
    }
}

} // namespace
} // namespace pendlar::test
