#include "QtTestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace pendlar::test {
namespace {

// Made before the first test and kept until the program ends.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "qrcode_ui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

Bitmap BitmapOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Bitmap bitmap(rgb.width(), rgb.height(), PixelFormat::Rgb24);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(bitmap.Row(y), rgb.constScanLine(y), static_cast<std::size_t>(rgb.width()) * 3);
    return bitmap;
}

} // namespace pendlar::test
