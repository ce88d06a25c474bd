#include "store/ChartAppend.h"

#include "FilingDesk.h"
#include "SmallPdf.h"

#include "intake/ImageFile.h"
#include "store/AcroPDDoc.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>

namespace pendlar {
namespace {

using test::FilingDesk;
using test::PageLabels;
using test::ReadFile;

constexpr long kPatient = 1234567;

bool HaveOracles() {
    return test::HaveProgram("qpdf") && test::HaveProgram("pdftotext") &&
           test::HaveProgram("python3");
}

std::vector<std::string> Files(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    if (std::filesystem::is_directory(folder))
        for (const auto& e : std::filesystem::directory_iterator(folder))
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A document layer that fails at one step: opening the stored chart or the add file
// raises (the layer is unusable), the add file does not open, or the insertion is refused.
class FailingDoc : public CAcroPDDoc {
public:
    enum Step { OpenBase, OpenAdd, RefuseAdd, Insert };
    FailingDoc(Step step, int& made) : step_(step), index_(made++) {}
    bool Open(const std::string& path, const std::vector<std::string>& passwords) override {
        if ((step_ == OpenBase && index_ % 2 == 0) || (step_ == OpenAdd && index_ % 2 == 1))
            throw EAcrobatError("no layer");
        if (step_ == RefuseAdd && index_ % 2 == 1)
            return false;
        return CAcroPDDoc::Open(path, passwords);
    }
    bool InsertPages(int, CAcroPDDoc&, int, int, bool) override { return step_ != Insert; }

private:
    Step step_;
    int index_;
};

// A station with a stored five-page chart (pages B1 … B5, each with its bookmark) under
// patient 1234567, sub number 0, confirmed and selected, so that Save adds to it.
class ChartAppendTest : public ::testing::Test {
public:
    void SetUp() override {
        if (!HaveOracles())
            GTEST_SKIP() << "qpdf, pdftotext or python3 missing";
        SetProfileDir(desk_.Dir.Path().string());
        desk_.Settings.PdfImage = true;
        desk_.Settings.PdfHeader = false;
        desk_.Settings.PdfKeyWord = false;
        desk_.Settings.PdfInsType = 1;
        desk_.Settings.FolderClear = false;
        desk_.Settings.FirstPage = true; // every scanned page goes in, the first one too
        chart_ = desk_.PutChart(kPatient, 0);
        WriteSmallPdf(Chart(), "B", 5);
        desk_.Confirm("1234567");
        desk_.Select("0");
        ASSERT_EQ(desk_.State.Mode, ChartFilingMode::Add);
    }
    void TearDown() override {
        SetProfileDir("");
        CAcroPDDoc::WriteProbe = nullptr;
    }

    static void WriteSmallPdf(const std::filesystem::path& p, const std::string& prefix, int n) {
        test::WriteSmallPdf(p, prefix, n);
    }
    std::filesystem::path Chart() const { return FsPath(chart_); }
    std::filesystem::path TempFolder() const { return desk_.Dir.Path() / "Temp"; }

    // Three scanned pages with the bookmarks S1 … S3.
    void ScanThree() {
        desk_.ScanPages(3);
        for (int i = 0; i < 3; ++i)
            desk_.Intake.Pages()[static_cast<std::size_t>(i)].Caption = "S" + std::to_string(i + 1);
    }

    bool Saved() const {
        const std::vector<std::string> m = desk_.MessagesUtf8();
        return !m.empty() && m.back() == "保存しました。";
    }

    void UseFailingLayer(FailingDoc::Step step) {
        made_ = 0;
        desk_.Context.MakeAcroPDDoc = [this, step] {
            return std::make_unique<FailingDoc>(step, made_);
        };
    }

    FilingDesk desk_;
    std::string chart_;
    int made_ = 0;
};

TEST_F(ChartAppendTest, InsertsAtTheFrontOrAtTheEndWithBothOutlines) {
    struct Case {
        int InsType;
        std::vector<std::string> Pages; // the scanned pages carry no text
        std::string Outline;
    } cases[] = {
        {0, {"", "", "", "B1", "B2", "B3", "B4", "B5"}, "S1>1,S2>2,S3>3,B1>4,B2>5,B3>6,B4>7,B5>8"},
        {1, {"B1", "B2", "B3", "B4", "B5", "", "", ""}, "B1>1,B2>2,B3>3,B4>4,B5>5,S1>6,S2>7,S3>8"},
        {7, {"B1", "B2", "B3", "B4", "B5", "", "", ""}, "B1>1,B2>2,B3>3,B4>4,B5>5,S1>6,S2>7,S3>8"},
    };
    ScanThree();
    for (const Case& c : cases) {
        SCOPED_TRACE("PdfInsType " + std::to_string(c.InsType));
        WriteSmallPdf(Chart(), "B", 5);
        desk_.Settings.PdfInsType = c.InsType;
        const std::size_t lines = desk_.Logs.Save.Lines().size();
        desk_.Save();
        EXPECT_TRUE(Saved()) << desk_.MessagesUtf8().back();
        EXPECT_EQ(SjisToUtf8(desk_.Ui.Status[1]), "保存しました。");
        std::string pages, report;
        test::RunCommand("qpdf --show-npages '" + Chart().string() + "'", &pages);
        EXPECT_EQ(pages, "8\n");
        EXPECT_EQ(PageLabels(Chart()), c.Pages);
        EXPECT_EQ(test::OutlineOf(Chart()), c.Outline);
        EXPECT_TRUE(test::QpdfChecks(Chart(), "", &report)) << report;
        ASSERT_EQ(desk_.Logs.Save.Lines().size(), lines + 1);
        EXPECT_EQ(desk_.Logs.Save.Lines().back(),
                  "7," + chart_); // the stored chart's folder and name
        EXPECT_TRUE(Files(TempFolder()).empty());
        EXPECT_FALSE(desk_.Window.IsEnabled(FilingControl::SaveButton));
        EXPECT_EQ(desk_.State.Mode, ChartFilingMode::Add);
    }
}

TEST_F(ChartAppendTest, TwoAddsInOneRunUseTemp1AndTemp2) {
    ScanThree();
    std::vector<std::vector<std::string>> seen;
    desk_.Ui.OnEvents = [&] {
        if (SjisToUtf8(desk_.Ui.Status[1]) == "元ファイルをオープン中です。")
            seen.push_back(Files(TempFolder()));
    };
    desk_.Save();
    EXPECT_TRUE(Saved()) << ::testing::PrintToString(desk_.MessagesUtf8())
                         << ::testing::PrintToString(desk_.ErrorLogUtf8());
    desk_.Save();
    EXPECT_TRUE(Saved()) << ::testing::PrintToString(desk_.MessagesUtf8())
                         << ::testing::PrintToString(desk_.ErrorLogUtf8());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::vector<std::string>{"Temp1.pdf"});
    EXPECT_EQ(seen[1], std::vector<std::string>{"Temp2.pdf"});
    EXPECT_EQ(PageLabels(Chart()).size(), 11u);
    EXPECT_EQ(desk_.State.AddFileCounter, 3);
}

TEST_F(ChartAppendTest, RefusalsLeaveEverythingAndKeepSaveEnabled) {
    struct Case {
        const char* Name;
        std::function<void(FilingDesk&)> Setup;
        std::string Message, LogLine, Status;
    } cases[] = {
        {"overwrite forbidden", [](FilingDesk& d) { d.Settings.WriteInhibit = true; },
         "上書き禁止設定です。\nキャンセルします。", "* OverWrite Error : Add",
         "上書き禁止設定です。追加はできません。"},
        {"nothing to add",
         [](FilingDesk& d) {
             d.Settings.PdfImage = d.Settings.PdfHeader = d.Settings.PdfKeyWord = false;
         },
         "上書きモードがありません。\nキャンセルします。", "* OverWrite Property Error : Add",
         "上書きボタンのプロパティを設定してください。"},
        {"header check fails",
         [](FilingDesk& d) {
             d.Settings.PdfHeader = true;
             d.Settings.HeaderOut = 1;
         },
         "データエラー\n保存ができません\n修正して追加してください。\n修正項目は、画面の下に"
         "表示しています。",
         "* 外来 Data Error : Add", "患者氏名エラー"},
        {"keyword missing",
         [](FilingDesk& d) {
             d.Settings.KeyWordUse = true;
             d.Settings.UseKeyLabel[2] = true;
         },
         "キーワードエラー\n保存ができません", "* Keyword Data Error : Add", ""},
    };
    ScanThree();
    const std::string before = ReadFile(Chart());
    const std::vector<test::Row> rows = desk_.Rows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TRegistory saved = desk_.Settings;
        c.Setup(desk_);
        desk_.Save();
        desk_.Settings = saved;
        EXPECT_EQ(desk_.MessagesUtf8().back(), c.Message);
        EXPECT_EQ(desk_.ErrorLogUtf8().back(), c.LogLine);
        EXPECT_EQ(SjisToUtf8(desk_.Ui.Status[1]), c.Status);
        EXPECT_TRUE(desk_.Window.IsEnabled(FilingControl::SaveButton));
        EXPECT_EQ(ReadFile(Chart()), before);
        EXPECT_EQ(desk_.Rows(), rows);
        EXPECT_TRUE(Files(TempFolder()).empty());
    }
    EXPECT_TRUE(desk_.Logs.Save.Lines().empty());
}

TEST_F(ChartAppendTest, KeywordsOnlyChangeTheRowAndWriteNoPdf) {
    desk_.Settings.PdfImage = false;
    desk_.Settings.PdfKeyWord = true;
    desk_.Settings.KeyWordUse = true;
    ScanThree();
    const std::string before = ReadFile(Chart());
    desk_.Window.Fields["KeyBox1"].Text = SjisOf("胃'潰瘍");
    desk_.Window.Fields["KeyBox8"].Text = std::string(60, 'k');
    int opened = 0;
    desk_.Context.MakeAcroPDDoc = [&] {
        ++opened;
        return std::make_unique<CAcroPDDoc>();
    };
    desk_.Save();
    EXPECT_TRUE(Saved());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(ReadFile(Chart()), before);
    EXPECT_FALSE(std::filesystem::exists(TempFolder() / "Temp1.pdf"));
    const test::Row row = desk_.Rows().front();
    EXPECT_EQ(SjisToUtf8(row.at("KEY1")), "胃'潰瘍");
    EXPECT_EQ(row.at("KEY8"), std::string(48, 'k'));
    EXPECT_EQ(row.at("KEY2"), "");
    EXPECT_EQ(row.at("CARUTEDATE"), "2024/05/03 9:05:07");
    EXPECT_TRUE(desk_.Logs.Save.Lines().empty());
}

TEST_F(ChartAppendTest, ARefusedKeywordUpdateIsReportedAndThePagesGoInOnce) {
    struct Case {
        const char* Name;
        bool Image;
        bool SaveAgain; // Save offered again (nothing was added yet)
        std::size_t Pages;
        std::size_t SaveLogLines;
    } cases[] = {
        {"keywords only", false, true, 5, 0},
        {"pages and keywords", true, false, 8, 1},
    };
    desk_.Settings.PdfKeyWord = true;
    desk_.Settings.KeyWordUse = true;
    ScanThree();
    desk_.Window.Fields["KeyBox1"].Text = "new";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteSmallPdf(Chart(), "B", 5);
        desk_.Settings.PdfImage = c.Image;
        const std::vector<test::Row> rows = desk_.Rows();
        const std::size_t lines = desk_.Logs.Save.Lines().size();
        desk_.SetReadOnly(true);
        desk_.Save();
        desk_.SetReadOnly(false);
        EXPECT_EQ(desk_.MessagesUtf8().back(), "データベースエラー\n書き込みに失敗しました。");
        EXPECT_EQ(desk_.ErrorLogUtf8().back(), "*** DataBase Write Error : Add");
        EXPECT_EQ(SjisToUtf8(desk_.Ui.Status[1]), "データベースへの書き込みに失敗しました。");
        EXPECT_EQ(desk_.Rows(), rows);
        EXPECT_EQ(PageLabels(Chart()).size(), c.Pages);
        EXPECT_EQ(desk_.Logs.Save.Lines().size(), lines + c.SaveLogLines);
        EXPECT_EQ(desk_.Window.IsEnabled(FilingControl::SaveButton), c.SaveAgain);
    }
}

TEST_F(ChartAppendTest, KeywordUpdateStatementAsTheDatabaseGetsIt) {
    const std::string keys[8] = {"a", "b'c", "", "", "", "", "", "h"};
    EXPECT_EQ(KeywordUpdateStatement(12, 3, "2024/05/03 9:05:07", keys),
              "UPDATE PDF_PATH SET \nCARUTEDATE = '2024/05/03 9:05:07',\n"
              "KEY1       = 'a',\nKEY2       = 'b''c',\nKEY3       = '',\nKEY4       = '',\n"
              "KEY5       = '',\nKEY6       = '',\nKEY7       = '',\nKEY8       = 'h' \n"
              "WHERE CARUTENO = 12 AND CARUTESUBNO = 3;");
}

TEST_F(ChartAppendTest, FailedInsertionLeavesTheChartAndTheKeywords) {
    struct Case {
        const char* Name;
        std::function<void(ChartAppendTest&)> Setup;
        std::string Message, LogLine;
    } cases[] = {
        {"stored chart moved away", [](ChartAppendTest& t) { std::filesystem::remove(t.Chart()); },
         "元ファイルが見つかりません。\nファイルは使用中ですか？",
         "** File can not found Error : Add Execute"},
        {"stored chart corrupt",
         [](ChartAppendTest& t) { test::WriteFile(t.Chart(), "%PDF-1.2 stored\n"); },
         "元ファイルのオープンに失敗しました。\nファイルは使用中ですか？",
         "** Base File Open Error : Add Execute"},
        {"layer missing at the chart",
         [](ChartAppendTest& t) { t.UseFailingLayer(FailingDoc::OpenBase); },
         "Acrobat システムエラー(B)\n:Acrobat install?",
         "*** Base File Open System Error : Add Execute"},
        {"layer missing at the add file",
         [](ChartAppendTest& t) { t.UseFailingLayer(FailingDoc::OpenAdd); },
         "Acrobat システムエラー(T)\n:Acrobat install?",
         "*** Add File Open System Error : Add Execute"},
        {"add file not opened",
         [](ChartAppendTest& t) { t.UseFailingLayer(FailingDoc::RefuseAdd); },
         "追加ファイルのオープンに失敗しました。", "** Add File Open Error : Add Execute"},
        {"insertion refused", [](ChartAppendTest& t) { t.UseFailingLayer(FailingDoc::Insert); },
         "追加に失敗しました。\nAcrobat?", "** Add Execute Failed Error : Add Execute"},
        {"write fails half way",
         [](ChartAppendTest& t) {
             const std::uint64_t half = ReadFile(t.Chart()).size() / 2;
             CAcroPDDoc::WriteProbe = [half](std::uint64_t n) { return n < half; };
         },
         "元ファイルの保存に失敗しました。\n元ファイルは変更されていません。",
         "** Base File Save Error : Add Execute"},
        {"stored chart read-only",
         [](ChartAppendTest& t) {
             std::filesystem::permissions(t.Chart(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
         },
         "元ファイルの保存に失敗しました。\n元ファイルは変更されていません。",
         "** Base File Save Error : Add Execute"},
        // Last: the row stays away.
        {"row erased meanwhile",
         [](ChartAppendTest& t) {
             ASSERT_TRUE(t.desk_.Db.CaruteDatabase.Execute("DELETE FROM PDF_PATH;"));
         },
         "DB System Record エラー", "** Read Data is not Exist Error : Add Execute"},
    };
    desk_.Settings.PdfKeyWord = true;
    ScanThree();
    desk_.Window.Fields["KeyBox1"].Text = "new";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteSmallPdf(Chart(), "B", 5);
        c.Setup(*this);
        const bool present = std::filesystem::exists(Chart());
        const std::string before = ReadFile(Chart());
        const std::vector<test::Row> rows = desk_.Rows();
        desk_.Save();
        desk_.Context.MakeAcroPDDoc = nullptr;
        CAcroPDDoc::WriteProbe = nullptr;
        EXPECT_EQ(desk_.MessagesUtf8().back(), c.Message);
        EXPECT_EQ(desk_.ErrorLogUtf8().back(), c.LogLine);
        EXPECT_EQ(std::filesystem::exists(Chart()), present);
        EXPECT_EQ(ReadFile(Chart()), before);
        EXPECT_EQ(desk_.Rows(), rows);
        EXPECT_EQ(Files(Chart().parent_path()).size(), present ? 1u : 0u);
        EXPECT_TRUE(desk_.Logs.Save.Lines().empty());
        EXPECT_FALSE(desk_.Window.IsEnabled(FilingControl::SaveButton));
    }
}

// Large noisy pages, so that the chart is written in many pieces.
void ScanNoisyPages(FilingDesk& desk, int count) {
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i) {
        Bitmap page(500, 700);
        for (int y = 0; y < 700; ++y)
            for (int x = 0; x < 500; ++x)
                page.SetPixel(x, y,
                              Rgb{static_cast<std::uint8_t>(random()),
                                  static_cast<std::uint8_t>(random()),
                                  static_cast<std::uint8_t>(random())});
        ASSERT_TRUE(SaveImageFile(page, desk.Dir.Sjis("scan/noisy" + std::to_string(i) + ".png")));
    }
    desk.Intake.ScannerReadClick(false);
}

TEST_F(ChartAppendTest, KilledWhileSavingLeavesTheStoredChart) {
    ScanNoisyPages(desk_, 2);
    const std::string before = ReadFile(Chart());
    const std::vector<test::Row> rows = desk_.Rows();
    // The child process dies once half of the new chart is on disk (the new chart is far
    // larger than the old one: two big image pages come in).
    const std::uint64_t half = 150 * 1024;
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            CAcroPDDoc::WriteProbe = [half](std::uint64_t n) {
                if (n >= half)
                    std::raise(SIGKILL);
                return true;
            };
            desk_.Save();
            std::_Exit(0); // reached only when the probe never fired
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(ReadFile(Chart()), before);
    EXPECT_EQ(desk_.Rows(), rows);
    // The same add, not interrupted, goes through and is larger than the kill point.
    desk_.Save();
    EXPECT_TRUE(Saved());
    EXPECT_GT(ReadFile(Chart()).size(), half);
    EXPECT_EQ(PageLabels(Chart()).size(), 7u);
}

TEST(AppendSettingsTest, OkNamesTheFirstFault) {
    struct Case {
        bool Header, Image, Keyword;
        int Type;
        bool KeyWordUse;
        const char* Error;
    } cases[] = {
        {false, false, false, 0, true, "設定無しエラー"},
        {false, false, false, -1, false, "設定無しエラー"},
        {true, false, false, -1, true, "挿入設定エラー"},
        {false, false, true, 1, false, "キーワード設定エラー"},
        {false, false, true, 1, true, ""},
        {true, true, false, 0, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            SjisToUtf8(AppendSettingsError(c.Header, c.Image, c.Keyword, c.Type, c.KeyWordUse)),
            c.Error)
            << c.Header << c.Image << c.Keyword << c.Type << c.KeyWordUse;
}

} // namespace
} // namespace pendlar
