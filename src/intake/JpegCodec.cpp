// JPEG through libjpeg-turbo. libjpeg reports a fatal error by calling error_exit, which
// must not return; ours jumps back to the decode call, where the decoder is destroyed and
// the failure returned. Data that libjpeg only warns about but that leaves part of the
// page grey or scrambled (a file cut short, broken entropy data) is refused the same way:
// a half page must not be filed as if it were whole.
#include "intake/ImageCodecs.h"
#include "intake/JpegErrors.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace pendlar::codec {
namespace {

using namespace jpeg_errors;

// Everything that must survive a jump back to setjmp lives in here, not in registers.
struct DecodeState : Decompressor {
    std::optional<Bitmap> Image;
    std::vector<std::uint8_t> Row;
};

std::uint8_t Mul255(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

} // namespace

bool JpegSize(std::string_view content, int* width, int* height) {
    auto st = std::make_unique<DecodeState>();
    if (setjmp(st->Errors.Jump))
        return false;
    if (!ReadJpegHeader(*st, content))
        return false;
    *width = static_cast<int>(st->Info.image_width);
    *height = static_cast<int>(st->Info.image_height);
    return true;
}

std::optional<Bitmap> DecodeJpeg(std::string_view content, const ImageLoadLimits& limits,
                                 std::string* error, int scaleDenominator, int* fullWidth,
                                 int* fullHeight) {
    if (content.size() < 4) {
        SetError(error, "JPEG file: the file is too short");
        return std::nullopt;
    }
    auto st = std::make_unique<DecodeState>();
    jpeg_decompress_struct& info = st->Info;
    if (setjmp(st->Errors.Jump)) {
        SetError(error, std::string("JPEG file: ") + st->Errors.Message);
        return std::nullopt;
    }
    if (!ReadJpegHeader(*st, content)) {
        SetError(error, "JPEG file: no picture in the file");
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(info.image_width) * info.image_height > limits.MaxPixels) {
        SetError(error, "JPEG file: the picture is too large");
        return std::nullopt;
    }
    if (fullWidth)
        *fullWidth = static_cast<int>(info.image_width);
    if (fullHeight)
        *fullHeight = static_cast<int>(info.image_height);

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    if (scaleDenominator == 2 || scaleDenominator == 4 || scaleDenominator == 8) {
        info.scale_num = 1;
        info.scale_denom = static_cast<unsigned>(scaleDenominator);
    }
    jpeg_start_decompress(&info);

    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    st->Image.emplace(w, h, grey ? PixelFormat::Bits8 : PixelFormat::Rgb24);
    if (cmyk)
        st->Row.resize(static_cast<std::size_t>(w) * 4);
    // Files written by Adobe programs store CMYK inverted (0 = full ink).
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        int y = static_cast<int>(info.output_scanline);
        if (!cmyk) {
            JSAMPROW row = st->Image->Row(y);
            jpeg_read_scanlines(&info, &row, 1);
            continue;
        }
        JSAMPROW row = st->Row.data();
        jpeg_read_scanlines(&info, &row, 1);
        std::uint8_t* dst = st->Image->Row(y);
        for (int x = 0; x < w; ++x) {
            unsigned c = row[4 * x], m = row[4 * x + 1], ye = row[4 * x + 2], k = row[4 * x + 3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            dst[3 * x] = Mul255(c, k);
            dst[3 * x + 1] = Mul255(m, k);
            dst[3 * x + 2] = Mul255(ye, k);
        }
    }
    jpeg_finish_decompress(&info);
    return std::move(st->Image);
}

namespace {

struct EncodeState {
    jpeg_compress_struct Info{};
    ErrorManager Errors;
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    std::vector<std::uint8_t> Row;
    bool Created = false;
    ~EncodeState() {
        if (Created)
            jpeg_destroy_compress(&Info);
        std::free(Buffer);
    }
};

} // namespace

std::optional<std::string> EncodeJpeg(const Bitmap& image, int quality, std::string* error) {
    if (image.Empty()) {
        SetError(error, "JPEG file: the picture has no pixels");
        return std::nullopt;
    }
    if (image.Width() > JPEG_MAX_DIMENSION || image.Height() > JPEG_MAX_DIMENSION) {
        SetError(error, "JPEG file: the picture is too large for this format");
        return std::nullopt;
    }
    auto st = std::make_unique<EncodeState>();
    jpeg_compress_struct& info = st->Info;
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&info), st->Errors);
    if (setjmp(st->Errors.Jump)) {
        SetError(error, std::string("JPEG file: ") + st->Errors.Message);
        return std::nullopt;
    }
    jpeg_create_compress(&info);
    st->Created = true;
    jpeg_mem_dest(&info, &st->Buffer, &st->Size);

    const bool grey = image.Format() != PixelFormat::Rgb24 && PaletteIsGrey(image);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&info, TRUE);

    const bool direct = image.Format() == PixelFormat::Rgb24 ||
                        (image.Format() == PixelFormat::Bits8 && IsGreyRamp(image));
    st->Row.resize(static_cast<std::size_t>(image.Width()) * (grey ? 1 : 3));
    for (int y = 0; y < image.Height(); ++y) {
        JSAMPROW row;
        if (direct) {
            row = const_cast<JSAMPROW>(image.Row(y));
        } else {
            for (int x = 0; x < image.Width(); ++x) {
                Rgb c = image.Pixel(x, y);
                if (grey) {
                    st->Row[x] = c.R;
                } else {
                    st->Row[3 * x] = c.R;
                    st->Row[3 * x + 1] = c.G;
                    st->Row[3 * x + 2] = c.B;
                }
            }
            row = st->Row.data();
        }
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return std::string(reinterpret_cast<const char*>(st->Buffer), st->Size);
}

} // namespace pendlar::codec
