// PNG through libpng. libpng reports a fatal error by calling our error function, which
// records the text and jumps back to the decode call (libpng's own setjmp buffer);
// warnings are dropped. Every colour type and bit depth is read; 16-bit samples are scaled
// to 8 bits, alpha and the transparent colour are laid on white.
#include "intake/ImageCodecs.h"

#include <cstring>
#include <memory>

#include <png.h>

namespace pendlar::codec {
namespace {

struct Reader {
    std::string_view Data;
    std::size_t Pos = 0;
    std::string Message;
};

void ReadData(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (length > r->Data.size() - r->Pos)
        png_error(png, "the file is cut off");
    std::memcpy(out, r->Data.data() + r->Pos, length);
    r->Pos += length;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* r = static_cast<Reader*>(png_get_error_ptr(png));
    if (r)
        r->Message = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

std::uint8_t OnWhite(unsigned v, unsigned alpha) {
    return static_cast<std::uint8_t>((v * alpha + 255 * (255 - alpha) + 127) / 255);
}

struct ReadState {
    Reader Source;
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::vector<std::uint8_t> Pixels;
    std::vector<png_bytep> Rows;
    std::optional<Bitmap> Image;
    ~ReadState() {
        if (Png)
            png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr);
    }
};

} // namespace

std::optional<Bitmap> DecodePng(std::string_view content, const ImageLoadLimits& limits,
                                std::string* error) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (content.size() < 8 || std::memcmp(content.data(), kSignature, 8) != 0) {
        SetError(error, "PNG file: not a PNG file");
        return std::nullopt;
    }
    auto st = std::make_unique<ReadState>();
    st->Source.Data = content;
    st->Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &st->Source, OnError, OnWarning);
    if (!st->Png || !(st->Info = png_create_info_struct(st->Png))) {
        SetError(error, "PNG file: out of memory");
        return std::nullopt;
    }
    png_structp png = st->Png;
    png_infop info = st->Info;
    if (setjmp(png_jmpbuf(png))) {
        SetError(error, "PNG file: " + st->Source.Message);
        return std::nullopt;
    }
    png_set_read_fn(png, &st->Source, ReadData);
    png_set_user_limits(png, 1000000, 1000000);
    png_set_chunk_malloc_max(png, 64u << 20);
    png_read_info(png, info);

    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    if (static_cast<std::uint64_t>(w) * h > limits.MaxPixels)
        png_error(png, "the picture is too large");
    const int colorType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    // What the rows look like after libpng's transforms, and the format they become.
    enum class Layout { Bits1, Index, Grey, GreyAlpha, Rgb, RgbAlpha } layout;
    PixelFormat format;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png); // one index per byte
        layout = Layout::Index;
        format = depth == 1   ? PixelFormat::Bits1
                 : depth <= 4 ? PixelFormat::Bits4
                              : PixelFormat::Bits8;
    } else if (colorType == PNG_COLOR_TYPE_GRAY && depth == 1 && !hasTrns) {
        layout = Layout::Bits1;
        format = PixelFormat::Bits1;
    } else if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(png);
        if (hasTrns)
            png_set_tRNS_to_alpha(png);
        layout =
            hasTrns || colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? Layout::GreyAlpha : Layout::Grey;
        format = PixelFormat::Bits8;
    } else {
        if (hasTrns)
            png_set_tRNS_to_alpha(png);
        layout = hasTrns || colorType == PNG_COLOR_TYPE_RGB_ALPHA ? Layout::RgbAlpha : Layout::Rgb;
        format = PixelFormat::Rgb24;
    }
    if (depth == 16)
        png_set_scale_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const std::size_t channels = png_get_channels(png, info);
    const std::size_t expected =
        layout == Layout::Bits1 ? (w + 7) / 8 : static_cast<std::size_t>(w) * channels;
    if (rowBytes < expected)
        png_error(png, "unexpected row layout");
    st->Pixels.resize(rowBytes * h);
    st->Rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        st->Rows[y] = st->Pixels.data() + rowBytes * y;
    png_read_image(png, st->Rows.data());

    Bitmap& image = st->Image.emplace(static_cast<int>(w), static_cast<int>(h), format);
    if (layout == Layout::Index) {
        png_colorp plte = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &plte, &count);
        png_bytep alpha = nullptr;
        int alphaCount = 0;
        png_color_16p unused = nullptr;
        if (hasTrns)
            png_get_tRNS(png, info, &alpha, &alphaCount, &unused);
        std::vector<std::uint32_t>& pal = image.Palette();
        std::fill(pal.begin(), pal.end(), 0);
        for (int i = 0; i < count && i < static_cast<int>(pal.size()); ++i) {
            unsigned a = alpha && i < alphaCount ? alpha[i] : 255;
            pal[i] = (static_cast<std::uint32_t>(OnWhite(plte[i].red, a)) << 16) |
                     (OnWhite(plte[i].green, a) << 8) | OnWhite(plte[i].blue, a);
        }
    }
    const unsigned mask = format == PixelFormat::Bits4 ? 0x0F : 0xFF;
    for (png_uint_32 y = 0; y < h; ++y) {
        const std::uint8_t* src = st->Rows[y];
        std::uint8_t* dst = image.Row(static_cast<int>(y));
        switch (layout) {
        case Layout::Bits1:
            std::memcpy(dst, src, (w + 7) / 8);
            break;
        case Layout::Index:
            if (format == PixelFormat::Bits8) {
                std::memcpy(dst, src, w);
            } else if (format == PixelFormat::Bits4) {
                for (png_uint_32 x = 0; x < w; ++x)
                    dst[x / 2] |= static_cast<std::uint8_t>((src[x] & mask) << ((x % 2) ? 0 : 4));
            } else {
                for (png_uint_32 x = 0; x < w; ++x)
                    if (src[x] & 1)
                        dst[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
            break;
        case Layout::Grey:
            std::memcpy(dst, src, w);
            break;
        case Layout::GreyAlpha:
            for (png_uint_32 x = 0; x < w; ++x)
                dst[x] = OnWhite(src[2 * x], src[2 * x + 1]);
            break;
        case Layout::Rgb:
            std::memcpy(dst, src, static_cast<std::size_t>(w) * 3);
            break;
        case Layout::RgbAlpha:
            for (png_uint_32 x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c)
                    dst[3 * x + c] = OnWhite(src[4 * x + c], src[4 * x + 3]);
            break;
        }
    }
    return std::move(st->Image);
}

namespace {

struct WriteState {
    std::string Out;
    std::string Message;
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::vector<std::uint8_t> Row;
    ~WriteState() {
        if (Png)
            png_destroy_write_struct(&Png, Info ? &Info : nullptr);
    }
};

void WriteData(png_structp png, png_bytep data, png_size_t length) {
    auto* st = static_cast<WriteState*>(png_get_io_ptr(png));
    st->Out.append(reinterpret_cast<const char*>(data), length);
}

void FlushData(png_structp) {}

[[noreturn]] void OnWriteError(png_structp png, png_const_charp message) {
    auto* st = static_cast<WriteState*>(png_get_error_ptr(png));
    if (st)
        st->Message = message;
    png_longjmp(png, 1);
}

} // namespace

std::optional<std::string> EncodePng(const Bitmap& image, std::string* error) {
    if (image.Empty()) {
        SetError(error, "PNG file: the picture has no pixels");
        return std::nullopt;
    }
    auto st = std::make_unique<WriteState>();
    st->Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, st.get(), OnWriteError, OnWarning);
    if (!st->Png || !(st->Info = png_create_info_struct(st->Png))) {
        SetError(error, "PNG file: out of memory");
        return std::nullopt;
    }
    png_structp png = st->Png;
    png_infop info = st->Info;
    if (setjmp(png_jmpbuf(png))) {
        SetError(error, "PNG file: " + st->Message);
        return std::nullopt;
    }
    png_set_write_fn(png, st.get(), WriteData, FlushData);

    const int bits = BitsPerPixel(image.Format());
    const bool indexed = image.Format() != PixelFormat::Rgb24;
    const bool greyRamp = indexed && IsGreyRamp(image);
    int colorType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    if (indexed) {
        colorType = greyRamp ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE;
        depth = bits;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()),
                 static_cast<png_uint_32>(image.Height()), depth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        std::size_t entries = std::size_t{1} << bits;
        palette.resize(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            std::uint32_t c = i < image.Palette().size() ? image.Palette()[i] : 0;
            palette[i] = {static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                          static_cast<png_byte>(c)};
        }
        png_set_PLTE(png, info, palette.data(), static_cast<int>(entries));
    }
    png_write_info(png, info);
    // Bitmap rows are packed exactly as PNG rows (most significant bits first).
    for (int y = 0; y < image.Height(); ++y)
        png_write_row(png, const_cast<png_bytep>(image.Row(y)));
    png_write_end(png, info);
    return std::move(st->Out);
}

} // namespace pendlar::codec
