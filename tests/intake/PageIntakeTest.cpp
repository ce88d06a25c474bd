// The intake flows and the page check list on a real scanner folder, with a scripted person
// and a window that records what it was told.
#include "intake/PageIntake.h"
#include "intake/DicomImage.h"
#include "intake/FolderListing.h"
#include "intake/ImageFile.h"
#include "intake/PatientNumber.h"
#include "logs/Logs.h"
#include "qrdecode/QRDecode.h"
#include "settings/Registory.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

namespace pendlar {
namespace {

using test::RunCommand;
using test::TempDir;
using test::WriteFile;

std::string S(const char* utf8) {
    return SjisOf(utf8);
}

struct RecordingHost : IntakeHost {
    IntakeTab Tab = IntakeTab::PageCheck;
    std::optional<std::vector<std::string>> Files;
    std::string PatientNumber;
    std::vector<QRFrameRect> Xors;
    int Locks = 0, Unlocks = 0, ShownFirst = 0, Opened = -1, Edited = -1;
    bool SecondVisible = false;
    bool ConfirmClear = false;
    std::optional<int> Scanner;
    std::optional<ImageSaveChoice> SaveChoice;
    std::vector<ScannerDevice> OfferedScanners;
    bool TwainRead = false;

    void LockControls(bool lock) override { ++(lock ? Locks : Unlocks); }
    IntakeTab ActiveTab() const override { return Tab; }
    void SetPatientNumber(const std::string& t) override { PatientNumber = t; }
    std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogSpec&) override {
        return Files;
    }
    std::optional<ImageSaveChoice> ChooseImageSaveFile(const FileDialogSpec&) override {
        return SaveChoice;
    }
    bool ConfirmFolderClear(const std::string&) override { return ConfirmClear; }
    std::optional<int> ChooseScanner(const std::vector<ScannerDevice>& d) override {
        OfferedScanners = d;
        return Scanner;
    }
    void SetTwainReadEnabled(bool e) override { TwainRead = e; }
    void ShowFirstPage() override { ++ShownFirst; }
    void ShowSecondPage(bool v) override { SecondVisible = v; }
    void XorFrame(const QRFrameRect& r) override { Xors.push_back(r); }
    void OpenBigImage(int i) override { Opened = i; }
    void OpenPageEditor(int i) override { Edited = i; }
};

class Intake : public ::testing::Test {
protected:
    TempDir dir;
    TRegistory reg;
    TLogs logs;
    ScriptedUserInterface ui;
    TDicomImage dicom{ui};
    TQRDecode qr;
    RecordingHost host;
    PageIntake intake{reg, logs, ui, dicom, qr, host};
    std::filesystem::path scan;

    void SetUp() override {
        scan = dir.Path() / "scan";
        std::filesystem::create_directories(scan);
        reg.ScannerDir = dir.Sjis("scan");
    }
    // A small page whose colour tells the pages apart.
    void Page(const std::string& name, int w = 40, int h = 30, std::uint8_t shade = 128) {
        Bitmap b(w, h, PixelFormat::Rgb24);
        std::fill(b.Data().begin(), b.Data().end(), shade);
        ASSERT_TRUE(SaveImageFile(b, (scan / name).string()));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const auto& p : intake.Pages())
            out.push_back(p.Path.substr(p.Path.find_last_of('/') + 1));
        return out;
    }
    // The view shows record i in item i.
    void ExpectViewMirrorsList() const {
        ASSERT_EQ(intake.ViewItems().size(), intake.Pages().size());
        for (std::size_t i = 0; i < intake.Pages().size(); ++i) {
            EXPECT_EQ(intake.ViewItems()[i].ImageIndex, intake.Pages()[i].ThumbIndex) << i;
            EXPECT_EQ(intake.ViewItems()[i].Caption, intake.Pages()[i].Caption) << i;
        }
    }
    std::vector<std::string> Errors() const { return logs.Error.Lines(); }
};

TEST_F(Intake, FolderIntakeTakesPlainMatchingFilesInCaseInsensitiveNameOrder) {
    Page("p1.jpg");
    Page("P2.JPG");
    Page("p10.jpg");
    Page("x.png");
    WriteFile(scan / ".hidden.jpg", "junk");
    WriteFile(scan / "notes.txt", "junk");
    std::filesystem::create_directories(scan / "sub.jpg");
    std::filesystem::create_symlink(scan / "p1.jpg", scan / "link.jpg");
    reg.PngType = false;

    struct Case {
        int Sequence;
        std::vector<std::string> Expected;
    } cases[] = {{0, {"p1.jpg", "p10.jpg", "P2.JPG"}}, {1, {"P2.JPG", "p10.jpg", "p1.jpg"}}};
    for (const auto& c : cases) {
        reg.Sequence = c.Sequence;
        intake.SetSelectedPage(-1);
        intake.ScannerReadClick(false);
        EXPECT_EQ(Names(), c.Expected) << c.Sequence;
        EXPECT_EQ(intake.SelectedPage(), 0);
        EXPECT_EQ(ui.Status[0], "3");
        EXPECT_EQ(ui.Status[1], S("患者番号を入力してください。"));
        ExpectViewMirrorsList();
    }
    EXPECT_EQ(host.Locks, 2);
    EXPECT_EQ(host.Unlocks, 2);
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(Intake, AddIntakeSkipsListedNamesAndAppendsNewOnes) {
    Page("p1.jpg");
    Page("p2.jpg");
    intake.ScannerReadClick(false);
    intake.ScannerReadClick(true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"p1.jpg", "p2.jpg"}));
    Page("p10.jpg");
    intake.ScannerReadClick(true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"p1.jpg", "p2.jpg", "p10.jpg"}));
    EXPECT_EQ(intake.ThumbNailList().Count(), 3);
    ExpectViewMirrorsList();
    intake.ScannerReadClick(false);
    EXPECT_EQ(Names(), (std::vector<std::string>{"p1.jpg", "p10.jpg", "p2.jpg"}));
}

TEST_F(Intake, CorruptPageEndsTheWalkAndKeepsThePagesBeforeIt) {
    Page("a.jpg");
    WriteFile(scan / "b.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + "truncated");
    Page("c.jpg");
    intake.ScannerReadClick(false);
    EXPECT_EQ(Names(), std::vector<std::string>{"a.jpg"});
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, S("ファイル形式エラー"));
    EXPECT_EQ(ui.Messages[0].Icon, MsgIcon::Error);
    EXPECT_EQ(ui.Messages[0].Buttons, MsgButtons::Abort);
    EXPECT_EQ(Errors(), std::vector<std::string>{"** Scanner Read Error"});
    EXPECT_EQ(host.Unlocks, 1);
    ExpectViewMirrorsList();
}

TEST_F(Intake, FolderIntakeRefusals) {
    struct Case {
        const char* What;
        std::function<void()> Arrange;
        const char* Status;
    } cases[] = {
        {"missing folder", [&] { reg.ScannerDir = dir.Sjis("nowhere"); },
         "指定のフォルダーがありません。"},
        {"no type",
         [&] {
             reg.JpegType = reg.TiffType = reg.BitmapType = reg.PngType = reg.DicomType = false;
         },
         "ファイル形式が指定されていません。"},
        {"no file", [] {}, "読込みファイルが指定されていません。"},
    };
    for (const auto& c : cases) {
        TRegistory fresh;
        reg = fresh;
        reg.ScannerDir = dir.Sjis("scan");
        c.Arrange();
        intake.ScannerReadClick(false);
        EXPECT_EQ(ui.Status[1], S(c.Status)) << c.What;
    }
    EXPECT_TRUE(intake.Pages().empty());
}

TEST_F(Intake, ThumbnailsAreSquaresWithThePageCentred) {
    struct Case {
        int ImSize;
        bool Stretch;
        int W, H;
        int Side, X, Y, DrawnW, DrawnH;
    } cases[] = {
        {0, false, 40, 20, 64, 0, 16, 64, 32},
        {4, false, 30, 60, 192, 48, 0, 96, 192},
        {2, true, 30, 60, 128, 0, 0, 128, 128},
    };
    for (const auto& c : cases) {
        reg.ImSize = c.ImSize;
        reg.ThumbStrech = c.Stretch;
        intake.ClearPageList();
        std::filesystem::remove(scan / "t.png");
        Page("t.png", c.W, c.H, 0);
        intake.AddPageRecord("t.png");
        const Bitmap* t = intake.ThumbNailList().Image(intake.Pages()[0].ThumbIndex);
        ASSERT_NE(t, nullptr);
        ASSERT_EQ(t->Width(), c.Side);
        ASSERT_EQ(t->Height(), c.Side);
        auto dark = [&](int x, int y) { return t->Pixel(x, y).R < 64; };
        EXPECT_TRUE(dark(c.X, c.Y)) << c.ImSize;
        EXPECT_TRUE(dark(c.X + c.DrawnW - 1, c.Y + c.DrawnH - 1)) << c.ImSize;
        // The margins stay white.
        EXPECT_TRUE(c.X == 0 || !dark(c.X - 1, c.Y)) << c.ImSize;
        EXPECT_TRUE(c.Y == 0 || !dark(c.X, c.Y - 1)) << c.ImSize;
        EXPECT_TRUE(c.X + c.DrawnW == c.Side || !dark(c.X + c.DrawnW, c.Y)) << c.ImSize;
    }
}

TEST_F(Intake, ImageFileIntakeOrderAndRefusals) {
    Page("a.jpg");
    Page("b.jpg");
    Page("c.jpg");
    const std::string a = dir.Sjis("scan/a.jpg"), b = dir.Sjis("scan/b.jpg"),
                      c = dir.Sjis("scan/c.jpg");
    host.Files = std::vector<std::string>{a, b, c};
    reg.Sequence = 0;
    intake.ImageReadClick(false);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c.jpg", "b.jpg", "a.jpg"}));
    EXPECT_EQ(intake.Pages()[0].Path, c); // the full path is kept
    reg.Sequence = 1;
    intake.ImageReadClick(false);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    intake.ImageReadClick(true);
    EXPECT_EQ(Names().size(), 3u);

    // The default scanner folder is written with a trailing slash.
    reg.ScannerDir = dir.Sjis("scan") + "/";
    intake.ImageReadClick(false);
    EXPECT_EQ(Names().size(), 3u);

    WriteFile(dir.Path() / "elsewhere" / "d.jpg", "x");
    struct Case {
        std::optional<std::vector<std::string>> Files;
        const char* Status;
    } cases[] = {
        {std::nullopt, "読み込みファイルの指定はキャンセルされました。"},
        {std::vector<std::string>{}, "ファイルの指定がされていません。"},
        {std::vector<std::string>{dir.Sjis("elsewhere/d.jpg")},
         "読み込みフォルダーの指定はキャンセルされました。"},
        {std::vector<std::string>{a, dir.Sjis("elsewhere/d.jpg")},
         "読み込みフォルダーの指定はキャンセルされました。"},
    };
    for (const auto& k : cases) {
        host.Files = k.Files;
        intake.ImageReadClick(false);
        EXPECT_EQ(ui.Status[1], S(k.Status));
        EXPECT_EQ(Names().size(), 3u) << "the list stays";
    }

    WriteFile(scan / "bad.png", "not a png");
    host.Files = std::vector<std::string>{dir.Sjis("scan/bad.png")};
    intake.ImageReadClick(true);
    EXPECT_EQ(Errors(), std::vector<std::string>{"*** Image Read Error"});
}

TEST_F(Intake, ImportCopiesIntoTheScannerFolderAndNeverEmptiesAFile) {
    WriteFile(dir.Path() / "in" / "x.jpg", "bytes of x");
    WriteFile(scan / "y.jpg", "bytes of y");
    host.Files = std::vector<std::string>{dir.Sjis("in/x.jpg"), dir.Sjis("scan/y.jpg")};
    intake.ReadFilesClick();
    EXPECT_EQ(ui.Status[1], S("インポート完了"));
    EXPECT_EQ(test::ReadFile(scan / "x.jpg"), "bytes of x");
    EXPECT_EQ(test::ReadFile(scan / "y.jpg"), "bytes of y");
    EXPECT_EQ(reg.FileOpenDir, dir.Sjis("in"));
    EXPECT_TRUE(intake.Pages().empty());

    reg.ScannerDir = dir.Sjis("gone");
    host.Files = std::vector<std::string>{dir.Sjis("in/x.jpg")};
    intake.ReadFilesClick();
    EXPECT_NE(ui.Status[1], S("インポート完了"));
    EXPECT_EQ(ui.Messages.back().Icon, MsgIcon::Error);
}

TEST_F(Intake, ScannerFolderClearEmptiesFolderAndListOnlyOnOk) {
    Page("a.jpg");
    intake.ScannerReadClick(false);
    intake.ScanFolderClearClick();
    EXPECT_EQ(intake.Pages().size(), 1u);
    host.ConfirmClear = true;
    intake.ScanFolderClearClick();
    EXPECT_TRUE(intake.Pages().empty());
    EXPECT_TRUE(intake.ViewItems().empty());
    EXPECT_FALSE(std::filesystem::exists(scan / "a.jpg"));
}

TEST_F(Intake, AddIntakeIntoAnEmptyListMakesThumbnailsAtTheSizeSetNow) {
    Page("a.jpg");
    // The settings are loaded after the page list was made.
    reg.ImSize = 4;
    intake.ScannerReadClick(true);
    ASSERT_EQ(intake.Pages().size(), 1u);
    EXPECT_EQ(intake.ThumbNailList().Side(), 192);
    EXPECT_EQ(intake.ThumbNailList().Image(intake.Pages()[0].ThumbIndex)->Width(), 192);

    // The last page deleted, then the size changed while the list is empty.
    intake.SetSelectedPage(0);
    intake.PageDeleteMenuClick();
    ReadSettings values = ReadSettings::From(reg);
    values.ImSize = 1;
    intake.ReadSetConfirmed(values);
    host.Files = std::vector<std::string>{dir.Sjis("scan/a.jpg")};
    intake.ImageReadClick(true);
    ASSERT_EQ(intake.Pages().size(), 1u);
    EXPECT_EQ(intake.ThumbNailList().Side(), 96);
    EXPECT_EQ(intake.ThumbNailList().Image(intake.Pages()[0].ThumbIndex)->Width(), 96);
    ExpectViewMirrorsList();
}

// A scanner that answers as it is told.
struct ScriptedScanner : ScannerSource {
    AcquireResult Result = AcquireResult::Acquired;
    std::vector<ScannerDevice> ListDevices(std::string*) override {
        return {{"fake:0", "Fake", "Flatbed", "flatbed scanner"}};
    }
    AcquireResult Acquire(const std::string&, Bitmap& image, const std::function<void()>&,
                          std::string*) override {
        image = Result == AcquireResult::Acquired ? Bitmap(30, 20, PixelFormat::Bits8) : Bitmap();
        return Result;
    }
};

TEST_F(Intake, TwainReadFailuresAreToldInTheStatusBarAndTheErrorLog) {
    ScriptedScanner scanner;
    intake.SetScanner(&scanner);
    host.Scanner = 0;
    intake.TwainSourceMenuClick();
    ASSERT_TRUE(host.TwainRead);

    const std::string failed = S("＊＊＊ Twainの読み込みに失敗しました。");
    struct Case {
        const char* What;
        AcquireResult Result;
        std::optional<ImageSaveChoice> Save;
        const char* Written; // file expected in the scanner folder, or nullptr
        std::string Status;
        std::vector<std::string> Log;
    } cases[] = {
        {"saved",
         AcquireResult::Acquired,
         ImageSaveChoice{dir.Sjis("scan/a.xyz"), 3},
         "a.tif",
         "",
         {}},
        {"cancelled at the device",
         AcquireResult::Cancelled,
         ImageSaveChoice{dir.Sjis("scan/b"), 1},
         nullptr,
         "",
         {}},
        {"save dialog cancelled", AcquireResult::Acquired, std::nullopt, nullptr, "", {}},
        {"device failed",
         AcquireResult::Failed,
         ImageSaveChoice{dir.Sjis("scan/c"), 1},
         nullptr,
         failed,
         {"* Twain Read Error"}},
        {"cannot be saved",
         AcquireResult::Acquired,
         ImageSaveChoice{dir.Sjis("gone/d"), 1},
         nullptr,
         failed,
         {"* Twain Read Error"}},
    };
    for (const auto& c : cases) {
        logs.Error.Clear();
        scanner.Result = c.Result;
        host.SaveChoice = c.Save;
        intake.TwainReadMenuClick();
        EXPECT_EQ(ui.Status[1], c.Status) << c.What;
        EXPECT_EQ(Errors(), c.Log) << c.What;
        if (c.Written) {
            EXPECT_TRUE(LoadImageFile(dir.Sjis("scan/" + std::string(c.Written)))) << c.What;
        }
    }
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_FALSE(std::filesystem::exists(scan / "b.jpg"));
    EXPECT_FALSE(std::filesystem::exists(scan / "c.jpg"));
}

// ---------------------------------------------------------------- DICOM pages

class IntakeDicom : public Intake {
protected:
    void SetUp() override {
        Intake::SetUp();
        for (const char* tool : {"img2dcm", "convert"})
            if (!test::HaveProgram(tool))
                GTEST_SKIP() << tool << " is not installed";
        const std::string s = scan.string();
        ASSERT_EQ(RunCommand("convert -size 16x8 gradient:black-white -type grayscale '" + s +
                             "/g.bmp' && convert '" + s + "/g.bmp' 'BMP3:" + s +
                             "/g3.bmp' && img2dcm -i BMP '" + s + "/g3.bmp' '" + s +
                             "/readable.dcm' && convert '" + s + "/g.bmp' '" + s +
                             "/g.jpg' && img2dcm '" + s + "/g.jpg' '" + s +
                             "/jpeg.dcm' 2>/dev/null"),
                  0);
        std::filesystem::remove(scan / "g.bmp");
        std::filesystem::remove(scan / "g3.bmp");
        std::filesystem::remove(scan / "g.jpg");
        WriteFile(scan / "broken.dcm", "no header here");
    }
};

TEST_F(IntakeDicom, PagesWithAndWithoutTextReadableAndNot) {
    struct Case {
        const char* Name;
        bool WithText;
        bool Thumb;
        bool Notes;
    } cases[] = {
        {"readable.dcm", true, true, true}, {"readable.dcm", false, true, false},
        {"jpeg.dcm", true, false, true},    {"jpeg.dcm", false, false, false},
        {"broken.dcm", true, false, false},
    };
    for (const auto& c : cases) {
        reg.DicomText = c.WithText;
        intake.ClearPageList();
        intake.AddPageRecord(c.Name);
        ASSERT_EQ(intake.Pages().size(), 1u);
        const auto& p = intake.Pages()[0];
        EXPECT_EQ(p.ThumbIndex >= 0, c.Thumb) << c.Name << c.WithText;
        EXPECT_EQ(p.Notes.has_value(), c.Notes) << c.Name << c.WithText;
        EXPECT_TRUE(!c.Notes || !p.Notes->empty());
    }
}

TEST_F(IntakeDicom, UpperCaseExtensionIsNotDicom) {
    std::filesystem::rename(scan / "readable.dcm", scan / "R.DCM");
    EXPECT_THROW(intake.AddPageRecord("R.DCM"), EIntakeError);
}

// ---------------------------------------------------------------- patient number

TEST(PatientNumber, IntegerRule) {
    struct Case {
        const char* Text;
        std::optional<std::int32_t> Value;
    } cases[] = {
        {"00123", 123},
        {"  42", 42},
        {"-7", -7},
        {"+7", 7},
        {"$1F", 31},
        {"x10", 16},
        {"X10", 16},
        {"0x10", 16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"", std::nullopt},
        {"12a", std::nullopt},
        {"ABC", std::nullopt},
        {"12 ", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInt32(c.Text), c.Value) << c.Text;
}

TEST(PatientNumber, FromTheFileName) {
    struct Case {
        const char* Path;
        int Position;
        std::optional<std::string> Number;
    } cases[] = {
        {"A-00123_1.jpg", 3, "00123"},   {"/scan/A-00123_1.jpg", 3, "00123"},
        {"A-X123.jpg", 3, std::nullopt}, {"A-123456789.jpg", 3, "12345678"},
        {"123.jpg", 1, "123"},           {"123.jpg", 40, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PatientNumberFromFileName(c.Path, c.Position), c.Number) << c.Path;
}

TEST_F(Intake, PatientCheckReadsTheFileNameNumber) {
    reg.IdNoGet = 1;
    reg.IdNoPosition = 3;
    Page("A-00123_1.jpg");
    Page("B-X.jpg");
    host.Tab = IntakeTab::PatientCheck;
    intake.ScannerReadClick(false);
    EXPECT_EQ(host.PatientNumber, "00123");
    EXPECT_TRUE(host.SecondVisible);
    EXPECT_TRUE(intake.PageShown());

    host.PatientNumber = "kept";
    std::filesystem::remove(scan / "A-00123_1.jpg");
    Page("A-X123.jpg");
    intake.ScannerReadClick(false);
    EXPECT_EQ(host.PatientNumber, "kept");
    EXPECT_EQ(ui.Status[1], S("患者番号を入力してください。"));
    intake.PatientCheck();
    EXPECT_EQ(ui.Status[1], S("ファイル名にあるIDNoの数値エラー"));
}

TEST_F(Intake, RawPageFailuresLeaveStatusAndLogLines) {
    Page("a.jpg");
    intake.ScannerReadClick(false);
    std::filesystem::remove(scan / "a.jpg");
    intake.PatientCheck();
    EXPECT_EQ(ui.Status[1], S("ファイルを開くことができません。"));
    WriteFile(scan / "a.jpg", "garbage");
    intake.ShowQRFramePage();
    EXPECT_EQ(ui.Status[1], S("サポートしていないファイル形式があります。"));
    EXPECT_EQ(Errors(),
              (std::vector<std::string>{"* Image File can not Open", "* No support Image File"}));
    EXPECT_FALSE(intake.PageShown());
}

class IntakeQR : public Intake {
protected:
    void SetUp() override {
        Intake::SetUp();
        if (!test::HaveProgram("qrencode"))
            GTEST_SKIP() << "qrencode is not installed";
    }
    // A cover sheet: white page with the symbol at (20, 20), 4 pixels per module.
    void Cover(const std::string& name, const std::string& text) {
        const std::string png = (dir.Path() / "qr.png").string();
        ASSERT_EQ(RunCommand("qrencode -l M -s 4 -m 0 -o '" + png + "' '" + text + "'"), 0);
        auto symbol = LoadImageFile(png);
        ASSERT_TRUE(symbol);
        Bitmap page(200, 160, PixelFormat::Rgb24);
        std::fill(page.Data().begin(), page.Data().end(), std::uint8_t{255});
        for (int y = 0; y < symbol->Height(); ++y)
            for (int x = 0; x < symbol->Width(); ++x)
                page.SetPixel(20 + x, 20 + y, symbol->Pixel(x, y));
        ASSERT_TRUE(SaveImageFile(page, (scan / name).string()));
    }
    void DrawFrame(int l, int t, int r, int b) {
        intake.Image3MouseDown(l, t);
        intake.Image3MouseMove((l + r) / 2, (t + b) / 2);
        intake.Image3MouseUp(r, b);
    }
};

TEST_F(IntakeQR, CoverSheetNumberGoesIntoIdEditWithLeadingZeros) {
    Cover("a.png", "00123");
    reg.Resolver = 9;
    host.Tab = IntakeTab::QRFrame;
    intake.ScannerReadClick(false);
    ASSERT_TRUE(intake.PageShown());
    DrawFrame(5, 5, 150, 150);
    ASSERT_TRUE(intake.Frame().Defined());

    host.Tab = IntakeTab::PatientCheck;
    intake.ShowTabPages();
    EXPECT_EQ(host.PatientNumber, "00123");
    // The decoder runs from now on with the configured settings.
    EXPECT_EQ(qr.ForceVersion(), 1);
    EXPECT_EQ(qr.Resolver(), 9);

    Cover("a.png", "ABC");
    host.PatientNumber.clear();
    intake.PatientCheck();
    EXPECT_EQ(host.PatientNumber, "");
    EXPECT_EQ(ui.Status[1], S("QRCode数値エラー"));
}

TEST_F(IntakeQR, FrameRulesBeforeDecoding) {
    Cover("a.png", "1");
    host.Tab = IntakeTab::PatientCheck;
    intake.ScannerReadClick(false);
    EXPECT_EQ(ui.Status[1], S("患者番号を入力してください。"));
    intake.PatientCheck();
    EXPECT_EQ(ui.Status[1], S("QR枠が作成されていません。"));
    DrawFrame(10, 10, 200, 100); // right edge on the page's width
    intake.PatientCheck();
    EXPECT_EQ(ui.Status[1], S("QR枠が画像範囲を越えています。"));
    DrawFrame(10, 10, 199, 159);
    intake.PatientCheck();
    EXPECT_EQ(host.PatientNumber, "1");
}

TEST(QRFrame, DragStatesAndMessages) {
    struct Case {
        const char* What;
        int X0, Y0, X1, Y1;
        bool Defined;
        const char* Status;
    } cases[] = {
        {"down-right", 10, 10, 50, 40, true, ""},
        {"up-left", 50, 40, 10, 10, false, "*** 左上から右下へドラッグして下さい。"},
        {"zero width", 10, 10, 10, 40, false, "*** 左上から右下へドラッグして下さい。"},
        {"click", 10, 10, 10, 10, false, "*** 左上から右下へドラッグして下さい。"},
    };
    for (const auto& c : cases) {
        QRFrameTracker t;
        EXPECT_EQ(t.MouseDown(c.X0, c.Y0, false).Status, SjisOf("*** 画像を開いて下さい。"));
        EXPECT_EQ(t.DragState(), QRFrameTracker::None);
        t.MouseDown(c.X0, c.Y0, true);
        EXPECT_EQ(t.DragState(), QRFrameTracker::Dragging);
        const auto up = t.MouseUp(c.X1, c.Y1);
        EXPECT_EQ(t.DragState(), QRFrameTracker::Drawn) << c.What;
        EXPECT_EQ(t.Defined(), c.Defined) << c.What;
        EXPECT_EQ(up.Status, SjisOf(c.Status)) << c.What;
    }
}

TEST(QRFrame, XorPairsLeaveOnlyTheLastFrameOnScreen) {
    // Counting each rectangle's XORs: a rectangle on screen has an odd count.
    QRFrameTracker t;
    std::vector<QRFrameRect> all;
    auto take = [&](const QRFrameTracker::Step& s) {
        all.insert(all.end(), s.Xor.begin(), s.Xor.end());
    };
    take(t.MouseDown(1, 1, true));
    take(t.MouseMove(5, 5));
    take(t.MouseUp(9, 9));
    take(t.PageShown()); // the page was loaded again: the frame is drawn on it afresh
    all.clear();
    take(t.PageShown());
    take(t.MouseDown(2, 2, true));
    take(t.MouseDown(3, 3, true)); // ignored while dragging
    take(t.MouseUp(7, 8));
    std::map<std::tuple<int, int, int, int>, int> count;
    for (const auto& r : all)
        ++count[{r.Left, r.Top, r.Right, r.Bottom}];
    for (const auto& [r, n] : count)
        EXPECT_EQ(n % 2 == 1, r == std::make_tuple(2, 2, 7, 8));
}

// ---------------------------------------------------------------- the page check list

class PageCheck : public Intake {
protected:
    void SetUp() override {
        Intake::SetUp();
        for (const char* n : {"A.jpg", "B.jpg", "C.jpg", "D.jpg"})
            Page(n);
        intake.ScannerReadClick(false);
    }
    std::string Order() const {
        std::string s;
        for (const auto& n : Names())
            s += n[0];
        return s;
    }
};

TEST_F(PageCheck, DragAndDropIndexRules) {
    struct Case {
        int Source, Target;
        const char* Order;
    } cases[] = {{0, 2, "BACD"}, {3, 1, "ADBC"}, {1, -1, "ACDB"}, {2, 2, "ABCD"}, {3, -1, "ABCD"}};
    for (const auto& c : cases) {
        intake.ScannerReadClick(false);
        const auto thumbsBefore = intake.Pages()[static_cast<std::size_t>(c.Source)].ThumbIndex;
        intake.ListView1StartDrag();
        EXPECT_FALSE(intake.ListView1DragOver(false, c.Source));
        EXPECT_TRUE(intake.ListView1DragOver(true, c.Source));
        EXPECT_TRUE(intake.ListView1DragOver(true, 0)); // later drag-overs do not re-pick
        intake.ListView1DragDrop(c.Target);
        EXPECT_EQ(Order(), c.Order) << c.Source << "->" << c.Target;
        ExpectViewMirrorsList();
        // The record keeps its own thumbnail.
        for (const auto& p : intake.Pages()) {
            EXPECT_TRUE(p.Path[0] != "ABCD"[c.Source] || p.ThumbIndex == thumbsBefore);
        }
    }
    // A drop without a drag-over in this drag does nothing.
    intake.ListView1StartDrag();
    intake.ListView1DragDrop(-1);
    EXPECT_EQ(Order(), "ABCD");
}

TEST_F(PageCheck, DeletingAndTheMouseButtons) {
    intake.ListView1MouseUp(MouseButton::Left, NoKey, 1);
    EXPECT_EQ(intake.SelectedPage(), 1);
    // Alt+right deletes the selected page, wherever the pointer is.
    intake.ListView1MouseUp(MouseButton::Right, AltKey, 3);
    EXPECT_EQ(Order(), "ACD");
    ExpectViewMirrorsList();
    EXPECT_EQ(intake.SelectedPage(), 1);

    intake.ListView1MouseUp(MouseButton::Middle, CtrlKey, 2);
    intake.PageDeleteMenuClick();
    EXPECT_EQ(Order(), "AC");
    EXPECT_EQ(intake.SelectedPage(), 2); // now past the end
    intake.PageDeleteMenuClick();
    EXPECT_EQ(Order(), "AC");
    intake.ListView1MouseUp(MouseButton::Left, NoKey, -1);
    EXPECT_EQ(intake.SelectedPage(), -1);
    intake.PageDeleteMenuClick();
    EXPECT_EQ(Order(), "AC");
    ExpectViewMirrorsList();

    struct Case {
        unsigned Keys;
        int Under;
        int Viewer, Editor;
    } cases[] = {{CtrlKey, 1, 1, -1},
                 {ShiftKey, 0, -1, 0},
                 {CtrlKey, -1, -1, -1},
                 {NoKey, 1, -1, -1},
                 {CtrlKey | ShiftKey, 1, -1, -1}};
    for (const auto& c : cases) {
        host.Opened = host.Edited = -1;
        intake.ListView1MouseUp(MouseButton::Right, c.Keys, c.Under);
        EXPECT_EQ(host.Opened, c.Viewer) << c.Keys;
        EXPECT_EQ(host.Edited, c.Editor) << c.Keys;
    }
    EXPECT_EQ(Order(), "AC");
}

TEST_F(PageCheck, CaptionsAreCutAt18BytesOnACharacterBoundary) {
    const std::string kanji10 = S("一二三四五六七八九十");
    struct Case {
        std::string Typed, Stored;
    } cases[] = {
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQR"},
        {kanji10, kanji10.substr(0, 18)},
        {"A" + kanji10, "A" + kanji10.substr(0, 16)}, // no dangling lead byte
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(intake.ListView1Edited(2, c.Typed), c.Stored);
        EXPECT_EQ(intake.Pages()[2].Caption, c.Stored);
    }
    intake.ListView1Edited(1, "title");
    ExpectViewMirrorsList();
    // Captions travel with their pages when the view is rebuilt.
    reg.ImSize = 3;
    intake.PageRedispMenuClick();
    EXPECT_EQ(intake.ThumbNailList().Side(), 160);
    EXPECT_EQ(intake.ViewItems()[1].Caption, "title");
    ExpectViewMirrorsList();
}

TEST_F(PageCheck, EditorResultsKeepExistingNotes) {
    intake.PageEditorClosed(0, "caption", {"note"}, false);
    intake.PageEditorClosed(0, "caption2", {}, false);
    EXPECT_EQ(intake.Pages()[0].Caption, "caption2");
    EXPECT_EQ(intake.Pages()[0].Notes, std::vector<std::string>{"note"});
    ExpectViewMirrorsList();
}

TEST_F(PageCheck, RebuildKeepsOneItemPerPageWhenAPageIsGone) {
    WriteFile(scan / "B.jpg", "no longer a picture");
    intake.PageRedispMenuClick();
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, S("ファイル形式エラー"));
    EXPECT_EQ(intake.Pages()[1].ThumbIndex, -1);
    ExpectViewMirrorsList();

    intake.ClearPageList();
    intake.PageRedispMenuClick();
    EXPECT_EQ(ui.Status[1], S("表示エラーです。"));
}

TEST_F(PageCheck, SettingsRebuildOnlyForThumbnailChanges) {
    ReadSettings values = ReadSettings::From(reg);
    values.ScannerDir = dir.Sjis("other");
    const int before = intake.ThumbNailList().Count();
    intake.ReadSetConfirmed(values);
    EXPECT_EQ(intake.ThumbNailList().Count(), before);
    EXPECT_EQ(reg.ScannerDir, dir.Sjis("other"));
    values.ScannerDir = dir.Sjis("scan");
    values.ThumbStrech = !values.ThumbStrech;
    intake.ReadSetConfirmed(values);
    EXPECT_EQ(intake.ThumbNailList().Count(), 4);
    EXPECT_EQ(intake.ThumbNailList().Image(0)->Pixel(0, 0).R, 128); // stretched: no margin
}

TEST(FolderListing, MasksAndFilter) {
    TRegistory reg;
    reg.TiffType = reg.BitmapType = reg.DicomType = false;
    const std::string filter = BuildTypeFilter(reg);
    EXPECT_EQ(filter, SjisOf("ファイル形式|") + "*.jpg;*.Jpeg;*.png;");
    EXPECT_EQ(FilterMasks(filter), (std::vector<std::string>{"*.jpg", "*.Jpeg", "*.png"}));
    struct Case {
        const char* Name;
        const char* Mask;
        bool Match;
    } cases[] = {{"a.JPG", "*.jpg", true}, {"a.jpeg", "*.Jpeg", true}, {"a.jpgx", "*.jpg", false},
                 {"jpg", "*.jpg", false},  {"p?.png", "p?.png", true}, {"x.tar.png", "*.png", true},
                 {"*.jpeg23_", "*", true}, {"a*b.png", "*.png", true}};
    for (const auto& c : cases)
        EXPECT_EQ(MatchesMask(c.Name, c.Mask), c.Match) << c.Name;
}

} // namespace
} // namespace pendlar
