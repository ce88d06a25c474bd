// Scanning through SANE's own test backend: the chooser lists its devices and one
// acquisition becomes a readable page file in the scanner folder.
#include "intake/SaneScanner.h"
#include "intake/DicomImage.h"
#include "intake/ImageFile.h"
#include "intake/PageIntake.h"
#include "logs/Logs.h"
#include "qrdecode/QRDecode.h"
#include "settings/Registory.h"
#include "util/ScriptedUserInterface.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

// SANE unloads its backend at every sane_exit, and the test backend leaves a block of its
// own behind each time. Holding the backend loaded keeps that block's module known, so the
// leak check can tell it from ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libsane-test\n";
}

namespace pendlar {
namespace {

struct ScanHost : IntakeHost {
    std::vector<ScannerDevice> Offered;
    bool ReadEnabled = false;
    std::optional<ImageSaveChoice> Save;
    std::optional<int> ChooseScanner(const std::vector<ScannerDevice>& d) override {
        Offered = d;
        for (std::size_t i = 0; i < d.size(); ++i)
            if (d[i].Name.rfind("test", 0) == 0)
                return static_cast<int>(i);
        return std::nullopt;
    }
    void SetTwainReadEnabled(bool e) override { ReadEnabled = e; }
    std::optional<ImageSaveChoice> ChooseImageSaveFile(const FileDialogSpec&) override {
        return Save;
    }
};

// SANE keeps the configuration folder it found first for the life of the process, so all
// tests share one.
const std::filesystem::path& SaneConfigDir() {
    static test::TempDir dir;
    return dir.Path();
}

class Sane : public ::testing::Test {
protected:
    test::TempDir dir;
    void SetUp() override {
        static void* const backend =
            dlopen("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1", RTLD_NOW);
        (void)backend;
        test::WriteFile(SaneConfigDir() / "dll.conf", "test\n");
        Configure("");
        setenv("SANE_CONFIG_DIR", SaneConfigDir().c_str(), 1);
    }
    // The test device's settings; it reads them at every start of the SANE library.
    void Configure(const std::string& extra) {
        test::WriteFile(SaneConfigDir() / "test.conf",
                        "number_of_devices 1\nresolution 50.0\nbr_x 30.0\nbr_y 20.0\n" + extra);
    }
};

TEST_F(Sane, ChooserListsTheTestDeviceAndAcquisitionWritesAReadablePage) {
    TRegistory reg;
    TLogs logs;
    ScriptedUserInterface ui;
    TDicomImage dicom(ui);
    TQRDecode qr;
    ScanHost host;
    SaneScanner sane;
    PageIntake intake(reg, logs, ui, dicom, qr, host);
    intake.SetScanner(&sane);
    std::filesystem::create_directories(dir.Path() / "scan");
    reg.ScannerDir = dir.Sjis("scan");

    intake.TwainSourceMenuClick();
    ASSERT_FALSE(host.Offered.empty());
    EXPECT_EQ(host.Offered[0].Vendor, "Noname");
    ASSERT_TRUE(host.ReadEnabled);

    struct Case {
        std::string Name;
        int Filter;
        const char* File;
    } cases[] = {{dir.Sjis("scan/page1.xyz"), 1, "page1.jpg"},
                 {dir.Sjis("scan/page2"), 4, "page2.png"}};
    for (const auto& c : cases) {
        host.Save = ImageSaveChoice{c.Name, c.Filter};
        intake.TwainReadMenuClick();
        auto page = LoadImageFile(dir.Sjis("scan/" + std::string(c.File)));
        ASSERT_TRUE(page) << c.File;
        EXPECT_GT(page->Width(), 10);
        EXPECT_GT(page->Height(), 10);
    }
    EXPECT_TRUE(logs.Error.Lines().empty());
    EXPECT_GT(ui.EventsProcessed, 0);
}

TEST_F(Sane, RowsAreReadByBytesPerLine) {
    SaneScanner sane;
    const auto devices = sane.ListDevices();
    ASSERT_FALSE(devices.empty());
    std::string error;
    Bitmap grey;
    ASSERT_EQ(sane.Acquire(devices[0].Name, grey, {}, &error), AcquireResult::Acquired) << error;
    EXPECT_EQ(grey.Format(), PixelFormat::Bits8);
    EXPECT_EQ(grey.Width(), 59); // 30 mm at 50 dpi
    for (int y = 0; y < grey.Height(); y += 5)
        for (int x = 0; x < grey.Width(); x += 5)
            ASSERT_EQ(grey.Pixel(x, y).R, 0) << "solid black";

    // The colour pattern with and without wasted bytes at the end of each row: the same
    // picture either way, so rows are taken at bytes_per_line and not at the pixel width.
    struct Case {
        const char* Extra;
    } cases[] = {{"mode Color\ntest-picture \"Color pattern\"\n"},
                 {"mode Color\ntest-picture \"Color pattern\"\nthree-pass true\n"},
                 {"mode Color\ntest-picture \"Color pattern\"\nppl-loss 7\n"}};
    Bitmap reference;
    for (const auto& c : cases) {
        Configure(c.Extra);
        Bitmap image;
        ASSERT_EQ(sane.Acquire(devices[0].Name, image, {}, &error), AcquireResult::Acquired)
            << error;
        ASSERT_EQ(image.Format(), PixelFormat::Rgb24);
        if (reference.Empty()) {
            reference = image;
            continue;
        }
        ASSERT_LE(image.Width(), reference.Width()) << c.Extra;
        ASSERT_EQ(image.Height(), reference.Height()) << c.Extra;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                ASSERT_EQ(image.Pixel(x, y), reference.Pixel(x, y)) << c.Extra << x << "," << y;
    }
    EXPECT_EQ(sane.Acquire("nosuchdevice", grey, {}, &error), AcquireResult::Failed);
}

} // namespace
} // namespace pendlar
