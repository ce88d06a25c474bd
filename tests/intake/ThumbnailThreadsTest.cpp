// Thumbnails made ahead on worker threads change nothing the clerk sees: the same pages in
// the same order, pixel-identical thumbnails, the same status texts in the same order, the
// same messages and error-log lines, and the same stop at the first unreadable page.
#include "intake/DicomImage.h"
#include "intake/ImageFile.h"
#include "intake/PageIntake.h"
#include "intake/ReadSettings.h"
#include "intake/ThumbnailQueue.h"
#include "logs/Logs.h"
#include "qrdecode/QRDecode.h"
#include "settings/Registory.h"
#include "util/ScriptedUserInterface.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <thread>
#include <utility>

namespace pendlar {
namespace {

using test::TempDir;
using test::WriteFile;

// Every status text in the order it was set, not only the last one of each panel.
struct StatusRecorder : ScriptedUserInterface {
    std::vector<std::pair<int, std::string>> History;
    void SetStatus(int panel, const std::string& text) override {
        History.emplace_back(panel, text);
        ScriptedUserInterface::SetStatus(panel, text);
    }
};

struct FilesHost : IntakeHost {
    std::optional<std::vector<std::string>> Files;
    std::vector<std::string> Calls;
    std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogSpec&) override {
        return Files;
    }
    void ViewCleared() override { Calls.push_back("cleared"); }
    void ViewItemAdded(int i) override { Calls.push_back("added " + std::to_string(i)); }
    void ThumbnailsReset() override { Calls.push_back("reset"); }
};

// One intake with everything it reports kept for comparison.
struct IntakeRun {
    TRegistory reg;
    TLogs logs;
    StatusRecorder ui;
    TDicomImage dicom{ui};
    TQRDecode qr;
    FilesHost host;
    PageIntake intake{reg, logs, ui, dicom, qr, host};

    IntakeRun(const std::string& scannerDir, int threads) {
        reg.ScannerDir = scannerDir;
        reg.DicomText = true;
        intake.SetThumbnailThreads(threads);
    }
};

void ExpectSameOutcome(const IntakeRun& one, const IntakeRun& many, const std::string& what) {
    SCOPED_TRACE(what);
    const auto& a = one.intake;
    const auto& b = many.intake;
    ASSERT_EQ(a.Pages().size(), b.Pages().size());
    for (std::size_t i = 0; i < a.Pages().size(); ++i) {
        EXPECT_EQ(a.Pages()[i].Path, b.Pages()[i].Path) << i;
        EXPECT_EQ(a.Pages()[i].ThumbIndex, b.Pages()[i].ThumbIndex) << i;
        EXPECT_EQ(a.Pages()[i].Notes, b.Pages()[i].Notes) << i;
    }
    EXPECT_EQ(a.ViewItems(), b.ViewItems());
    ASSERT_EQ(a.ThumbNailList().Count(), b.ThumbNailList().Count());
    EXPECT_EQ(a.ThumbNailList().Side(), b.ThumbNailList().Side());
    for (int i = 0; i < a.ThumbNailList().Count(); ++i) {
        const Bitmap& x = *a.ThumbNailList().Image(i);
        const Bitmap& y = *b.ThumbNailList().Image(i);
        EXPECT_EQ(x.Width(), y.Width()) << i;
        EXPECT_EQ(x.Format(), y.Format()) << i;
        EXPECT_TRUE(x.Data() == y.Data()) << "thumbnail " << i << " differs";
    }
    EXPECT_EQ(one.ui.History, many.ui.History);
    EXPECT_EQ(one.ui.EventsProcessed, many.ui.EventsProcessed);
    EXPECT_EQ(one.ui.MessageTexts(), many.ui.MessageTexts());
    EXPECT_EQ(one.logs.Error.Lines(), many.logs.Error.Lines());
    EXPECT_EQ(one.host.Calls, many.host.Calls);
}

class ThumbnailThreads : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path scan;
    bool haveDicom = false;

    void SetUp() override {
        scan = dir.Path() / "scan";
        std::filesystem::create_directories(scan);
        // Pages large enough for the reduced JPEG decode at both thumbnail sizes, each
        // with its own content, in colour and in grey, upright and across.
        for (int i = 0; i < 9; ++i) {
            const bool across = i % 4 == 3;
            Page("p" + std::to_string(i) +
                     (i == 6   ? ".png"
                      : i == 7 ? ".bmp"
                               : ".jpg"),
                 across ? 1100 : 800, across ? 800 : 1100, i, i % 3 == 1);
        }
        if (test::HaveProgram("img2dcm") && test::HaveProgram("convert")) {
            const std::string s = scan.string();
            haveDicom = test::RunCommand("convert -size 40x30 gradient:black-white -type "
                                         "grayscale 'BMP3:" +
                                         s + "/g.bmp' && img2dcm -i BMP '" + s + "/g.bmp' '" + s +
                                         "/p4b.dcm'") == 0;
            std::filesystem::remove(scan / "g.bmp");
        }
    }

    void Page(const std::string& name, int w, int h, int seed, bool grey) {
        Bitmap b(w, h, grey ? PixelFormat::Bits8 : PixelFormat::Rgb24);
        if (grey) {
            std::vector<std::uint32_t> ramp(256);
            for (std::uint32_t v = 0; v < 256; ++v)
                ramp[v] = (v << 16) | (v << 8) | v;
            b.Palette() = ramp;
        }
        std::mt19937 rng(static_cast<unsigned>(seed));
        for (auto& v : b.Data())
            v = static_cast<std::uint8_t>(200 + (rng() & 31));
        // Dark blocks in different places tell the pages apart in their thumbnails.
        for (int k = 0; k < 40; ++k) {
            const int x0 = static_cast<int>(rng() % static_cast<unsigned>(w - 60));
            const int y0 = static_cast<int>(rng() % static_cast<unsigned>(h - 40));
            for (int y = y0; y < y0 + 40; ++y)
                for (int x = x0; x < x0 + 60; ++x)
                    b.SetPixel(x, y, {static_cast<std::uint8_t>(rng() & 127), 20, 60});
        }
        ASSERT_TRUE(SaveImageFile(b, (scan / name).string()));
    }

    std::string Folder() const { return dir.Sjis("scan"); }

    // The same steps on a single-threaded and a threaded intake, compared after each step.
    void
    Compare(const std::function<void(IntakeRun&)>& setup,
            const std::vector<std::pair<std::string, std::function<void(IntakeRun&)>>>& steps) {
        IntakeRun one(Folder(), 1), many(Folder(), 3);
        setup(one);
        setup(many);
        for (const auto& [what, step] : steps) {
            step(one);
            step(many);
            ExpectSameOutcome(one, many, what);
        }
    }
};

TEST_F(ThumbnailThreads, FolderIntakeAtEverySizeAndFitting) {
    struct Case {
        int ImSize;
        bool Stretch;
        int Sequence;
    } cases[] = {{0, false, 0}, {4, true, 1}, {2, false, 1}};
    for (const auto& c : cases) {
        Compare(
            [&](IntakeRun& r) {
                r.reg.ImSize = c.ImSize;
                r.reg.ThumbStrech = c.Stretch;
                r.reg.Sequence = c.Sequence;
            },
            {{"new intake " + std::to_string(c.ImSize),
              [](IntakeRun& r) { r.intake.ScannerReadClick(false); }}});
    }
    IntakeRun check(Folder(), 3);
    check.intake.ScannerReadClick(false);
    EXPECT_EQ(check.intake.Pages().size(), haveDicom ? 10u : 9u);
    // Pages with different content have different thumbnails: nothing was swapped or reused.
    const auto& t = check.intake.ThumbNailList();
    EXPECT_FALSE(t.Image(0)->Data() == t.Image(1)->Data());
    EXPECT_FALSE(t.Image(2)->Data() == t.Image(8)->Data());
}

TEST_F(ThumbnailThreads, UnreadablePageStopsTheWalkAtTheSamePlace) {
    // Early, in the middle and last: the pages made ahead after it are never shown.
    for (const char* name : {"p1.jpg", "p5.jpg", "p8.jpg"}) {
        const std::string kept = test::ReadFile(scan / name);
        WriteFile(scan / name, std::string("\xFF\xD8\xFF\xE0", 4) + "cut short");
        Compare([](IntakeRun&) {}, {{std::string("corrupt ") + name,
                                     [](IntakeRun& r) { r.intake.ScannerReadClick(false); }},
                                    {"add after the corrupt page",
                                     [](IntakeRun& r) { r.intake.ScannerReadClick(true); }}});
        WriteFile(scan / name, kept);
    }
}

TEST_F(ThumbnailThreads, AddIntakeImageFilesAndRebuild) {
    const std::string folder = Folder();
    Compare(
        [&](IntakeRun& r) {
            // Chosen files in dialog order, one chosen twice.
            r.host.Files =
                std::vector<std::string>{folder + "/p3.jpg", folder + "/p0.jpg", folder + "/p3.jpg",
                                         folder + "/p7.bmp", folder + "/p2.jpg"};
        },
        {{"image files", [](IntakeRun& r) { r.intake.ImageReadClick(false); }},
         {"image files added", [](IntakeRun& r) { r.intake.ImageReadClick(true); }},
         {"folder added", [](IntakeRun& r) { r.intake.ScannerReadClick(true); }},
         {"size changed",
          [](IntakeRun& r) {
              ReadSettings values = ReadSettings::From(r.reg);
              values.ImSize = 3;
              r.intake.ReadSetConfirmed(values);
          }},
         {"a page gone before the rebuild", [&](IntakeRun& r) {
              // Both runs see the same folder, so the page is broken once and stays so.
              WriteFile(scan / "p2.jpg", "no longer a picture");
              r.intake.PageRedispMenuClick();
          }}});
}

// The queue itself: results in submission order whatever order the workers finish in, a
// task's exception at its own turn, and dropping the rest when the walk ends early.
TEST(ThumbnailQueueOrder, ResultsInOrderErrorsAtTheirTurnAndEarlyEnd) {
    std::atomic<int> ran{0};
    {
        ThumbnailQueue queue(3);
        ASSERT_TRUE(queue.Threaded());
        for (int i = 0; i < 12; ++i)
            queue.Submit(std::to_string(i), [i, &ran]() -> std::optional<Bitmap> {
                ++ran;
                // Early tasks take longest, so later ones finish first.
                std::this_thread::sleep_for(std::chrono::milliseconds((12 - i) % 4 * 3));
                if (i == 5)
                    throw std::runtime_error("five");
                if (i == 7)
                    return std::nullopt;
                return Bitmap(i + 1, 1, PixelFormat::Rgb24);
            });
        for (int i = 0; i < 9; ++i) {
            EXPECT_TRUE(queue.NextIs(std::to_string(i)));
            EXPECT_FALSE(queue.NextIs(std::to_string(i + 1)));
            if (i == 5) {
                EXPECT_THROW(queue.Take(), std::runtime_error);
                continue;
            }
            std::optional<Bitmap> b = queue.Take();
            ASSERT_EQ(b.has_value(), i != 7) << i;
            if (b) {
                EXPECT_EQ(b->Width(), i + 1);
            }
        }
        EXPECT_EQ(queue.Pending(), 3u);
        // Three results never taken: the queue goes without waiting for them to be asked.
    }
    EXPECT_LE(ran.load(), 12);

    ThumbnailQueue inline_(1);
    EXPECT_FALSE(inline_.Threaded());
    inline_.Submit("a", [] { return std::optional<Bitmap>(Bitmap(2, 2, PixelFormat::Rgb24)); });
    EXPECT_TRUE(inline_.NextIs("a"));
    EXPECT_EQ(inline_.Take()->Width(), 2);
}

} // namespace
} // namespace pendlar
