// TIFF through libtiff, first page only. The common page kinds are read row by row into
// their natural format: bilevel (any compression, CCITT G4 included) as Bits1, grey as
// Bits8, palette as indexed, RGB as Rgb24. Everything else that libtiff can turn into RGBA
// (tiles, separate planes, YCbCr, CMYK, alpha, other orientations) goes through its RGBA
// reader and becomes Rgb24 on white.
//
// libtiff's error and warning texts go to handlers bound to this one file, so a load is
// quiet and its first error becomes the failure text.
#include "intake/ImageCodecs.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include <tiffio.h>

namespace pendlar::codec {
namespace {

// A TIFF in memory, for reading (Data) or writing (Out grows as libtiff writes and seeks).
struct MemoryFile {
    std::string_view Data;
    std::string Out;
    bool Writing = false;
    std::uint64_t Pos = 0;
    std::string Message;

    std::uint64_t Size() const { return Writing ? Out.size() : Data.size(); }
};

tmsize_t ReadProc(thandle_t h, void* buf, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->Writing || size < 0 || f->Pos >= f->Data.size())
        return 0;
    std::uint64_t n =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(size), f->Data.size() - f->Pos);
    std::memcpy(buf, f->Data.data() + f->Pos, n);
    f->Pos += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t h, void* buf, tmsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (!f->Writing || size < 0)
        return -1;
    std::uint64_t end = f->Pos + static_cast<std::uint64_t>(size);
    if (end > f->Out.size())
        f->Out.resize(end);
    std::memcpy(f->Out.data() + f->Pos, buf, static_cast<std::size_t>(size));
    f->Pos = end;
    return size;
}

toff_t SeekProc(thandle_t h, toff_t off, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    std::int64_t base = whence == SEEK_CUR   ? static_cast<std::int64_t>(f->Pos)
                        : whence == SEEK_END ? static_cast<std::int64_t>(f->Size())
                                             : 0;
    std::int64_t to = base + static_cast<std::int64_t>(off);
    if (to < 0)
        return static_cast<toff_t>(-1);
    f->Pos = static_cast<std::uint64_t>(to);
    return static_cast<toff_t>(f->Pos);
}

int CloseProc(thandle_t) {
    return 0;
}

toff_t SizeProc(thandle_t h) {
    return static_cast<toff_t>(static_cast<MemoryFile*>(h)->Size());
}

// Reading maps the content directly: libtiff then reads strips and tiles from memory, and
// its unmapped read path refuses some valid uncompressed tiled files.
int MapProc(thandle_t h, void** base, toff_t* size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->Writing)
        return 0;
    *base = const_cast<char*>(f->Data.data());
    *size = static_cast<toff_t>(f->Data.size());
    return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    auto* f = static_cast<MemoryFile*>(user);
    if (f && f->Message.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, fmt, ap);
        f->Message = module && *module ? std::string(module) + ": " + text : text;
    }
    return 1;
}

// Warnings stay quiet, except the one libtiff gives when a tag's data lies past the end of
// the file: it then drops the tag and may guess another kind of picture (a palette page
// without its colour map becomes grey), so a file cut short must fail instead.
int OnWarning(TIFF*, void* user, const char*, const char* fmt, va_list ap) {
    auto* f = static_cast<MemoryFile*>(user);
    char text[512];
    std::vsnprintf(text, sizeof text, fmt, ap);
    if (f && std::strstr(text, "IO error") && f->Message.empty())
        f->Message = "the file is cut off";
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr OpenMemory(MemoryFile& file, const char* mode, std::uint64_t maxAlloc) {
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    if (!opts)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(opts, OnError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, OnWarning, &file);
    if (maxAlloc)
        TIFFOpenOptionsSetMaxSingleMemAlloc(opts, static_cast<tmsize_t>(maxAlloc));
    TIFF* t = TIFFClientOpenExt("memory", mode, &file, ReadProc, WriteProc, SeekProc, CloseProc,
                                SizeProc, MapProc, UnmapProc, opts);
    TIFFOpenOptionsFree(opts);
    return TiffPtr(t);
}

std::uint8_t OnWhite(unsigned premultiplied, unsigned alpha) {
    unsigned v = premultiplied + (255 - alpha);
    return static_cast<std::uint8_t>(v > 255 ? 255 : v);
}

std::optional<Bitmap> ReadRgba(TIFF* tif, MemoryFile& file, std::uint32_t w, std::uint32_t h,
                               std::string* error) {
    char why[1024] = {};
    if (!TIFFRGBAImageOK(tif, why)) {
        SetError(error,
                 std::string("TIFF file: ") + (why[0] ? why : "unsupported kind of picture"));
        return std::nullopt;
    }
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(w) * h);
    if (!TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 1)) {
        SetError(error,
                 "TIFF file: " + (file.Message.empty() ? "cannot read the picture" : file.Message));
        return std::nullopt;
    }
    Bitmap image(static_cast<int>(w), static_cast<int>(h), PixelFormat::Rgb24);
    for (std::uint32_t y = 0; y < h; ++y) {
        std::uint8_t* dst = image.Row(static_cast<int>(y));
        const std::uint32_t* src = raster.data() + static_cast<std::size_t>(y) * w;
        for (std::uint32_t x = 0; x < w; ++x) {
            unsigned a = TIFFGetA(src[x]);
            dst[3 * x] = OnWhite(TIFFGetR(src[x]), a);
            dst[3 * x + 1] = OnWhite(TIFFGetG(src[x]), a);
            dst[3 * x + 2] = OnWhite(TIFFGetB(src[x]), a);
        }
    }
    return image;
}

} // namespace

std::optional<Bitmap> DecodeTiff(std::string_view content, const ImageLoadLimits& limits,
                                 std::string* error) {
    if (content.size() < 8) {
        SetError(error, "TIFF file: the file is too short");
        return std::nullopt;
    }
    MemoryFile file;
    file.Data = content;
    std::uint64_t maxAlloc = std::max<std::uint64_t>(limits.MaxPixels * 4, 16u << 20);
    TiffPtr tif = OpenMemory(file, "r", maxAlloc);
    auto fail = [&](const std::string& why) -> std::optional<Bitmap> {
        SetError(error, "TIFF file: " + (file.Message.empty() ? why : file.Message));
        return std::nullopt;
    };
    if (!tif || !file.Message.empty())
        return fail("not a readable TIFF file");

    std::uint32_t w = 0, h = 0;
    std::uint16_t spp = 1, bps = 1, photometric = 0, planar = PLANARCONFIG_CONTIG,
                  sampleFormat = SAMPLEFORMAT_UINT, orientation = ORIENTATION_TOPLEFT;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w) ||
        !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h) || w == 0 || h == 0)
        return fail("the picture has no size");
    if (static_cast<std::uint64_t>(w) * h > limits.MaxPixels || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        return fail("the picture is too large");
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    if (!TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        photometric = PHOTOMETRIC_MINISWHITE; // what fax programs leave out

    const bool plain = !TIFFIsTiled(tif.get()) && sampleFormat == SAMPLEFORMAT_UINT &&
                       orientation == ORIENTATION_TOPLEFT &&
                       (spp == 1 || planar == PLANARCONFIG_CONTIG);
    const bool grey =
        (photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK) &&
        spp == 1 && (bps == 1 || bps == 2 || bps == 4 || bps == 8 || bps == 16);
    const bool palette = photometric == PHOTOMETRIC_PALETTE && spp == 1 &&
                         (bps == 1 || bps == 2 || bps == 4 || bps == 8);
    const bool rgb = photometric == PHOTOMETRIC_RGB && spp == 3 && (bps == 8 || bps == 16);
    if (!plain || !(grey || palette || rgb))
        return ReadRgba(tif.get(), file, w, h, error);

    PixelFormat format = rgb                   ? PixelFormat::Rgb24
                         : bps == 1            ? PixelFormat::Bits1
                         : palette && bps <= 4 ? PixelFormat::Bits4
                                               : PixelFormat::Bits8;
    const std::uint64_t rowBits = static_cast<std::uint64_t>(w) * spp * bps;
    const tmsize_t scanline = TIFFScanlineSize(tif.get());
    if (scanline <= 0 || static_cast<std::uint64_t>(scanline) < (rowBits + 7) / 8)
        return fail("unexpected row layout");

    Bitmap image(static_cast<int>(w), static_cast<int>(h), format);
    if (palette) {
        std::uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
        if (!TIFFGetField(tif.get(), TIFFTAG_COLORMAP, &r, &g, &b))
            return fail("the colour map is missing");
        const std::size_t n = std::size_t{1} << bps;
        // Some old writers store 8-bit colour maps; libtiff's own reader makes the same guess.
        bool eightBit = true;
        for (std::size_t i = 0; i < n; ++i)
            if (r[i] >= 256 || g[i] >= 256 || b[i] >= 256)
                eightBit = false;
        auto to8 = [&](std::uint16_t v) {
            return eightBit ? v : static_cast<std::uint32_t>(v >> 8);
        };
        std::vector<std::uint32_t>& pal = image.Palette();
        std::fill(pal.begin(), pal.end(), 0);
        for (std::size_t i = 0; i < n && i < pal.size(); ++i)
            pal[i] = (to8(r[i]) << 16) | (to8(g[i]) << 8) | to8(b[i]);
    }

    const bool invert = photometric == PHOTOMETRIC_MINISWHITE;
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(scanline));
    for (std::uint32_t y = 0; y < h; ++y) {
        if (TIFFReadScanline(tif.get(), buf.data(), y, 0) < 0)
            return fail("the picture data is damaged or cut off");
        std::uint8_t* dst = image.Row(static_cast<int>(y));
        if (rgb) {
            if (bps == 8) {
                std::memcpy(dst, buf.data(), static_cast<std::size_t>(w) * 3);
            } else {
                const auto* s16 = reinterpret_cast<const std::uint16_t*>(buf.data());
                for (std::size_t i = 0; i < static_cast<std::size_t>(w) * 3; ++i)
                    dst[i] = static_cast<std::uint8_t>((s16[i] * 255u + 32767u) / 65535u);
            }
        } else if (bps == 1) {
            // Bilevel pages are kept with 0 = black, whatever the file's convention.
            std::size_t n = (w + 7) / 8;
            for (std::size_t i = 0; i < n; ++i)
                dst[i] = invert ? static_cast<std::uint8_t>(~buf[i]) : buf[i];
            if (w % 8) // keep the unused bits of the row at zero
                dst[n - 1] &= static_cast<std::uint8_t>(0xFF << (8 - w % 8));
        } else if (palette) {
            for (std::uint32_t x = 0; x < w; ++x) {
                unsigned index =
                    (buf[x * bps / 8] >> (8 - bps - (x * bps) % 8)) & ((1u << bps) - 1);
                if (format == PixelFormat::Bits8)
                    dst[x] = static_cast<std::uint8_t>(index);
                else
                    dst[x / 2] |= static_cast<std::uint8_t>(index << ((x % 2) ? 0 : 4));
            }
        } else { // grey, 2 to 16 bits
            const unsigned max = (1u << bps) - 1;
            for (std::uint32_t x = 0; x < w; ++x) {
                unsigned v;
                if (bps == 16)
                    v = reinterpret_cast<const std::uint16_t*>(buf.data())[x];
                else if (bps == 8)
                    v = buf[x];
                else
                    v = (buf[x * bps / 8] >> (8 - bps - (x * bps) % 8)) & max;
                unsigned g = (v * 255u + max / 2) / max;
                dst[x] = static_cast<std::uint8_t>(invert ? 255 - g : g);
            }
        }
    }
    if (!file.Message.empty())
        return fail("");
    return image;
}

std::optional<std::string> EncodeTiff(const Bitmap& image, std::string* error) {
    if (image.Empty()) {
        SetError(error, "TIFF file: the picture has no pixels");
        return std::nullopt;
    }
    MemoryFile file;
    file.Writing = true;
    TiffPtr tif = OpenMemory(file, "w", 0);
    if (!tif) {
        SetError(error, "TIFF file: " + file.Message);
        return std::nullopt;
    }
    TIFF* t = tif.get();
    const int bits = BitsPerPixel(image.Format());
    const std::vector<std::uint32_t>& pal = image.Palette();
    const bool bilevel =
        image.Format() == PixelFormat::Bits1 && pal.size() >= 2 &&
        ((pal[0] == 0 && pal[1] == 0xFFFFFF) || (pal[0] == 0xFFFFFF && pal[1] == 0));
    const bool greyRamp = image.Format() != PixelFormat::Rgb24 && IsGreyRamp(image);

    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.Width()));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.Height()));
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT);
    // Bilevel pages become CCITT G4 with 0 = white, the form every fax reader knows; the
    // bits are flipped when black is palette entry 0.
    bool flipBits = false;
    std::vector<std::uint16_t> map[3];
    if (bilevel) {
        flipBits = pal[0] == 0;
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    } else if (image.Format() == PixelFormat::Rgb24 || greyRamp) {
        bool colour = image.Format() == PixelFormat::Rgb24;
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, colour ? 3 : 1);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, colour ? 8 : bits);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, colour ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        if (colour || bits == 8)
            TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    } else {
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        std::size_t n = std::size_t{1} << bits;
        for (auto& m : map)
            m.assign(n, 0);
        for (std::size_t i = 0; i < n && i < pal.size(); ++i) {
            map[0][i] = static_cast<std::uint16_t>(((pal[i] >> 16) & 0xFF) * 257);
            map[1][i] = static_cast<std::uint16_t>(((pal[i] >> 8) & 0xFF) * 257);
            map[2][i] = static_cast<std::uint16_t>((pal[i] & 0xFF) * 257);
        }
        TIFFSetField(t, TIFFTAG_COLORMAP, map[0].data(), map[1].data(), map[2].data());
    }
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));

    std::vector<std::uint8_t> row(image.Stride());
    for (int y = 0; y < image.Height(); ++y) {
        std::memcpy(row.data(), image.Row(y), image.Stride());
        if (flipBits)
            for (auto& b : row)
                b = static_cast<std::uint8_t>(~b);
        if (TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(y), 0) < 0) {
            SetError(error, "TIFF file: " + (file.Message.empty() ? "cannot write" : file.Message));
            return std::nullopt;
        }
    }
    if (!TIFFFlush(t)) {
        SetError(error, "TIFF file: " + (file.Message.empty() ? "cannot write" : file.Message));
        return std::nullopt;
    }
    tif.reset();
    return std::move(file.Out);
}

} // namespace pendlar::codec
