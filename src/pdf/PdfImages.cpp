#include "pdf/PdfImages.h"

#include "pdf/PdfJpegImage.h"

namespace pendlar {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The palette as the Indexed colour space writes it: every entry's red, green and blue as
// two hexadecimal digits and a space. Entries beyond the bitmap's palette are black.
std::string PaletteString(const std::vector<std::uint32_t>& palette) {
    std::string out = "<";
    out.reserve(256 * 9 + 2);
    for (std::size_t i = 0; i < 256; ++i) {
        std::uint32_t c = i < palette.size() ? palette[i] : 0;
        for (int shift : {16, 8, 0}) {
            auto byte = static_cast<unsigned>((c >> shift) & 0xFF);
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
            out += ' ';
        }
    }
    out += '>';
    return out;
}

// The palette index of pixel x of an indexed row.
std::uint8_t IndexAt(const std::uint8_t* row, int x, PixelFormat format) {
    switch (format) {
    case PixelFormat::Bits1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case PixelFormat::Bits4:
        return (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
    default:
        return row[x];
    }
}

} // namespace

std::unique_ptr<TPdfImage> TPdfBitmapImage::CreateImage(const PdfPicture& picture) {
    const Bitmap* const* held = std::get_if<const Bitmap*>(&picture);
    if (held == nullptr || *held == nullptr)
        throw EPdfInvalidValue("only bitmap image is allowed.");
    const Bitmap& bitmap = **held;
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const std::size_t stride =
        (static_cast<std::size_t>(width) * BitsPerPixel(bitmap.Format()) + 7) / 8;
    // A bitmap whose buffer is shorter than its size claims would be read past its end.
    if (bitmap.Stride() < stride ||
        bitmap.Data().size() < bitmap.Stride() * static_cast<std::size_t>(height))
        throw EPdfInvalidImageFormat("invalid bitmap size..");

    auto image = std::make_unique<TPdfImage>();
    TPdfDictionary* attributes = image->Attributes();
    attributes->PutName("Type", "XObject");
    attributes->PutName("Subtype", "Image");
    std::string& data = image->Stream();
    if (bitmap.Format() != PixelFormat::Rgb24) {
        if (bitmap.Palette().empty())
            throw EPdfInvalidImageFormat("failed to get Palette..");
        data.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = bitmap.Row(y);
            if (bitmap.Format() == PixelFormat::Bits8) {
                data.append(reinterpret_cast<const char*>(row), static_cast<std::size_t>(width));
            } else {
                for (int x = 0; x < width; ++x)
                    data += static_cast<char>(IndexAt(row, x, bitmap.Format()));
            }
        }
        auto* colorSpace = new TPdfArray();
        attributes->Put("ColorSpace", colorSpace);
        colorSpace->Append(new TPdfName("Indexed"));
        colorSpace->Append(new TPdfName("DeviceRGB"));
        colorSpace->Append(new TPdfNumber(255));
        colorSpace->Append(new TPdfBinary(PaletteString(bitmap.Palette())));
    } else {
        // Our bitmaps already hold red, green, blue in that order.
        for (int y = 0; y < height; ++y)
            data.append(reinterpret_cast<const char*>(bitmap.Row(y)),
                        3 * static_cast<std::size_t>(width));
        attributes->PutName("ColorSpace", "DeviceRGB");
    }
    attributes->PutNumber("Width", width);
    attributes->PutNumber("Height", height);
    attributes->PutNumber("BitsPerComponent", 8);
    return image;
}

std::unique_ptr<TPdfImageCreator> CreateImageCreator(std::string_view name) {
    if (name == "Pdf-Bitmap")
        return std::make_unique<TPdfBitmapImage>();
    if (name == "Pdf-Jpeg")
        return std::make_unique<TPdfJpegImage>();
    return nullptr;
}

std::unique_ptr<TPdfImage> CreateImageFrom(const PdfPicture& picture, std::string_view name) {
    std::unique_ptr<TPdfImageCreator> creator = CreateImageCreator(name);
    if (creator == nullptr)
        throw std::runtime_error("AddImage --InvalidImageClassName:" + std::string(name));
    return creator->CreateImage(picture);
}

} // namespace pendlar
