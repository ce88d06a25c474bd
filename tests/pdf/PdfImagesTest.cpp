#include "pdf/PdfImages.h"
#include "pdf/PdfJpegImage.h"

#include "PdfTestSupport.h"
#include "TempDir.h"

namespace pendlar {
namespace {

using test::ExpectFailure;
using test::WriteObject;

std::string Dictionary(const TPdfImage& image) {
    return WriteObject(*image.Attributes());
}

std::string Palette(std::initializer_list<const char*> entries) {
    std::string out = "<";
    std::size_t n = 0;
    for (const char* e : entries) {
        out += e;
        ++n;
    }
    for (; n < 256; ++n)
        out += "00 00 00 ";
    return out + ">";
}

TEST(PdfBitmapImage, RgbPixelsInRowOrder) {
    Bitmap bitmap(2, 2);
    bitmap.SetPixel(0, 0, {255, 0, 0});
    bitmap.SetPixel(1, 0, {0, 0, 255});
    bitmap.SetPixel(0, 1, {1, 2, 3});
    auto image = CreateImageFrom(&bitmap, "Pdf-Bitmap");
    EXPECT_EQ(image->Stream(), std::string("\xff\0\0\0\0\xff\x01\x02\x03\0\0\0", 12));
    EXPECT_EQ(Dictionary(*image),
              "<<\r\n/Length 0\r\n/Filter []\r\n/Type /XObject\r\n/Subtype /Image\r\n"
              "/ColorSpace /DeviceRGB\r\n/Width 2\r\n/Height 2\r\n/BitsPerComponent 8\r\n>>");
}

TEST(PdfBitmapImage, IndexedFormatsBecomeEightBitWithTheFullPalette) {
    Bitmap one(10, 2, PixelFormat::Bits1); // palette black, white
    one.Row(0)[0] = 0xA0;                  // pixels 0 and 2 white
    one.Row(1)[1] = 0x40;                  // pixel 9 white
    auto image = CreateImageFrom(&one, "Pdf-Bitmap");
    EXPECT_EQ(image->Stream(), std::string("\1\0\1\0\0\0\0\0\0\0"
                                           "\0\0\0\0\0\0\0\0\0\1",
                                           20));
    EXPECT_EQ(Dictionary(*image),
              "<<\r\n/Length 0\r\n/Filter []\r\n/Type /XObject\r\n/Subtype /Image\r\n"
              "/ColorSpace [/Indexed /DeviceRGB 255 " +
                  Palette({"00 00 00 ", "FF FF FF "}) +
                  " ]\r\n/Width 10\r\n/Height 2\r\n/BitsPerComponent 8\r\n>>");

    Bitmap four(3, 1, PixelFormat::Bits4);
    four.Row(0)[0] = 0x1F;
    four.Row(0)[1] = 0x80;
    four.Palette() = {0x102030, 0xFF0000, 0x00FF00};
    image = CreateImageFrom(&four, "Pdf-Bitmap");
    EXPECT_EQ(image->Stream(), "\x01\x0f\x08");
    EXPECT_NE(Dictionary(*image).find(Palette({"10 20 30 ", "FF 00 00 ", "00 FF 00 "})),
              std::string::npos);

    Bitmap eight(2, 1, PixelFormat::Bits8);
    eight.Row(0)[0] = 200;
    eight.Row(0)[1] = 7;
    image = CreateImageFrom(&eight, "Pdf-Bitmap");
    EXPECT_EQ(image->Stream(), "\xc8\x07");
}

TEST(PdfJpegImage, BytesPassThroughAsDctDecode) {
    const std::string jpeg = test::ReadFile(PENDLAR_TEST_DATA "/pdf/data/blue-8x8.jpg");
    JpegPicture picture{8, 8, jpeg};
    auto image = CreateImageFrom(&picture, "Pdf-Jpeg");
    EXPECT_EQ(image->Stream(), jpeg);
    PdfStringOutStream out;
    image->Write(out);
    EXPECT_EQ(out.Data(), "<<\r\n/Length " + std::to_string(jpeg.size()) +
                              "\r\n/Filter [/DCTDecode ]\r\n/Type /XObject\r\n/Subtype "
                              "/Image\r\n/ColorSpace /DeviceRGB\r\n/Width 8\r\n/Height 8\r\n"
                              "/BitsPerComponent 8\r\n>>\r\nstream\r\n" +
                              jpeg + "\nendstream");
}

TEST(PdfImages, Failures) {
    Bitmap bitmap(1, 1);
    JpegPicture jpeg{1, 1, "\xff\xd8\xff\xd9"};
    ExpectFailure<std::runtime_error>([&] { CreateImageFrom(&bitmap, "Pdf-Gif"); },
                                      "AddImage --InvalidImageClassName:Pdf-Gif");
    ExpectFailure<EPdfInvalidValue>([&] { CreateImageFrom(&bitmap, "Pdf-Jpeg"); },
                                    "only jpeg image is allowed.");
    ExpectFailure<EPdfInvalidValue>([&] { CreateImageFrom(&jpeg, "Pdf-Bitmap"); },
                                    "only bitmap image is allowed.");
    Bitmap noPalette(2, 2, PixelFormat::Bits8);
    noPalette.Palette().clear();
    ExpectFailure<EPdfInvalidImageFormat>([&] { CreateImageFrom(&noPalette, "Pdf-Bitmap"); },
                                          "failed to get Palette..");
    Bitmap truncated(4, 4);
    truncated.Data().resize(5);
    ExpectFailure<EPdfInvalidImageFormat>([&] { CreateImageFrom(&truncated, "Pdf-Bitmap"); },
                                          "invalid bitmap size..");
}

} // namespace
} // namespace pendlar
