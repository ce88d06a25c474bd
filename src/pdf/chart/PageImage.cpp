#include "pdf/chart/PageImage.h"

#include "intake/ImageFile.h"
#include "intake/JpegErrors.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace pendlar {
namespace {

void SetError(std::string* error, const std::string& text) {
    if (error)
        *error = text;
}

// ---- resampling ----

// The source pixels (or rows) one target pixel is made of, with weights in 1/65536 that
// add up to exactly 65536.
struct Taps {
    std::vector<int> Start;
    std::vector<int> Count;
    std::vector<int> Offset; // into Weights
    std::vector<std::uint32_t> Weights;

    void Add(int start, const std::vector<std::uint32_t>& weights) {
        Start.push_back(start);
        Count.push_back(static_cast<int>(weights.size()));
        Offset.push_back(static_cast<int>(Weights.size()));
        Weights.insert(Weights.end(), weights.begin(), weights.end());
    }
};

Taps MakeTaps(int source, int target) {
    Taps taps;
    std::vector<std::uint32_t> w;
    const std::int64_t src = source, dst = target;
    for (std::int64_t x = 0; x < dst; ++x) {
        w.clear();
        if (dst < src) {
            // Target pixel x covers [x * src, (x + 1) * src) in units of 1/dst source pixel.
            const std::int64_t left = x * src, right = (x + 1) * src;
            const std::int64_t first = left / dst, last = (right - 1) / dst;
            std::int64_t covered = 0;
            std::uint32_t given = 0;
            for (std::int64_t i = first; i <= last; ++i) {
                covered += std::min(right, (i + 1) * dst) - std::max(left, i * dst);
                auto upTo = static_cast<std::uint32_t>((covered * 65536 + src / 2) / src);
                w.push_back(upTo - given);
                given = upTo;
            }
            taps.Add(static_cast<int>(first), w);
        } else if (dst > src) {
            // Linear between the two nearest source pixel centres.
            const std::int64_t num = (2 * x + 1) * src - dst, den = 2 * dst;
            if (num <= 0) {
                taps.Add(0, {65536});
                continue;
            }
            const std::int64_t i0 = num / den, rem = num % den;
            const auto w1 = static_cast<std::uint32_t>((rem * 65536 + den / 2) / den);
            if (i0 >= src - 1 || w1 == 0)
                taps.Add(static_cast<int>(std::min(i0, src - 1)), {65536});
            else
                taps.Add(static_cast<int>(i0), {65536 - w1, w1});
        } else {
            taps.Add(static_cast<int>(x), {65536});
        }
    }
    return taps;
}

// Takes the source rows one after the other. Rows are first combined vertically (over the
// whole source width, which vectorises well), each finished row is then resampled
// horizontally into the target.
class Resampler {
public:
    Resampler(int srcWidth, int srcHeight, int width, int height, int channels)
        : srcWidth_(srcWidth), channels_(channels), vertical_(MakeTaps(srcHeight, height)),
          horizontal_(MakeTaps(srcWidth, width)) {
        out_.Width = width;
        out_.Height = height;
        out_.Channels = channels;
        out_.Data.resize(static_cast<std::size_t>(width) * height * channels);
        middle_.resize(static_cast<std::size_t>(srcWidth) * channels);
    }

    void Push(const std::uint8_t* row) {
        const int r = row_++;
        const std::size_t n = static_cast<std::size_t>(srcWidth_) * channels_;
        while (openTo_ < out_.Height && vertical_.Start[openTo_] <= r) {
            if (free_.empty()) {
                open_.emplace_back(n, 0u);
            } else {
                open_.push_back(std::move(free_.back()));
                free_.pop_back();
                std::fill(open_.back().begin(), open_.back().end(), 0u);
            }
            ++openTo_;
        }
        for (int y = openFrom_; y < openTo_; ++y) {
            const int k = r - vertical_.Start[y];
            if (k < 0 || k >= vertical_.Count[y])
                continue;
            const std::uint32_t w = vertical_.Weights[vertical_.Offset[y] + k];
            std::uint32_t* acc = open_[static_cast<std::size_t>(y - openFrom_)].data();
            for (std::size_t i = 0; i < n; ++i)
                acc[i] += w * row[i];
        }
        while (openFrom_ < openTo_ &&
               vertical_.Start[openFrom_] + vertical_.Count[openFrom_] - 1 <= r) {
            Finish(openFrom_, open_.front());
            free_.push_back(std::move(open_.front()));
            open_.pop_front();
            ++openFrom_;
        }
    }

    PixelImage Take() { return std::move(out_); }

private:
    void Finish(int y, const std::vector<std::uint32_t>& acc) {
        const std::size_t n = acc.size();
        for (std::size_t i = 0; i < n; ++i)
            middle_[i] = static_cast<std::uint16_t>((acc[i] + 128) >> 8);
        std::uint8_t* dst = out_.Data.data() + static_cast<std::size_t>(y) * out_.Width * channels_;
        const int ch = channels_;
        for (int x = 0; x < out_.Width; ++x) {
            const std::uint16_t* src =
                middle_.data() + static_cast<std::size_t>(horizontal_.Start[x]) * ch;
            const std::uint32_t* w = horizontal_.Weights.data() + horizontal_.Offset[x];
            const int count = horizontal_.Count[x];
            for (int c = 0; c < ch; ++c) {
                std::uint32_t sum = 0;
                for (int t = 0; t < count; ++t)
                    sum += w[t] * src[t * ch + c];
                dst[x * ch + c] = static_cast<std::uint8_t>((sum + (1u << 23)) >> 24);
            }
        }
    }

    int srcWidth_;
    int channels_;
    Taps vertical_, horizontal_;
    PixelImage out_;
    std::vector<std::uint16_t> middle_;
    std::deque<std::vector<std::uint32_t>> open_;
    std::vector<std::vector<std::uint32_t>> free_;
    int openFrom_ = 0, openTo_ = 0, row_ = 0;
};

// Where the decoded rows go: into the resampler, or the top-left part copied as it is.
class RowSink {
public:
    // `p` is where the rows go: fitted when stretching, else the part kept (at most the
    // source).
    RowSink(int srcWidth, int srcHeight, int channels, PagePlacement p, bool stretch)
        : channels_(channels) {
        if (stretch && (p.Width != srcWidth || p.Height != srcHeight)) {
            resampler_ =
                std::make_unique<Resampler>(srcWidth, srcHeight, p.Width, p.Height, channels);
            rows_ = srcHeight;
        } else {
            cut_.Width = p.Width;
            cut_.Height = p.Height;
            cut_.Channels = channels;
            cut_.Data.resize(static_cast<std::size_t>(p.Width) * p.Height * channels);
            rows_ = p.Height;
        }
    }

    // Rows the sink needs from the top, and pixels of each (the rest may be left out).
    int RowsNeeded() const { return rows_; }
    int PixelsNeeded() const { return resampler_ ? -1 : cut_.Width; }

    void Push(const std::uint8_t* row) {
        if (resampler_) {
            resampler_->Push(row);
            return;
        }
        const std::size_t n = static_cast<std::size_t>(cut_.Width) * channels_;
        std::memcpy(cut_.Data.data() + static_cast<std::size_t>(pushed_++) * n, row, n);
    }

    PixelImage Take() { return resampler_ ? resampler_->Take() : std::move(cut_); }

private:
    int channels_;
    int rows_ = 0;
    int pushed_ = 0;
    std::unique_ptr<Resampler> resampler_;
    PixelImage cut_;
};

// ---- JPEG through libjpeg-turbo ----
//
using namespace jpeg_errors;

struct DecodeState : Decompressor {
    std::unique_ptr<RowSink> Sink;
    std::vector<std::uint8_t> Row;
    PixelImage Full;
};

enum class JpegOutcome { Done, Failed, NotHandled };

// The smallest scale in eighths at which a width x height picture still covers `target`
// in both directions; 8 when the target is not smaller.
int DctScaleFor(int width, int height, PagePlacement target) {
    for (int m = 1; m < 8; ++m) {
        const std::int64_t w = (static_cast<std::int64_t>(width) * m + 7) / 8;
        const std::int64_t h = (static_cast<std::int64_t>(height) * m + 7) / 8;
        if (w >= target.Width && h >= target.Height)
            return m;
    }
    return 8;
}

// Decodes a JPEG into the sink the settings call for, or whole when `settings` is null.
JpegOutcome DecodeJpeg(std::string_view content, const PageImageSettings* settings,
                       PixelImage& result, std::string* error) {
    auto st = std::make_unique<DecodeState>();
    jpeg_decompress_struct& info = st->Info;
    if (setjmp(st->Errors.Jump)) {
        SetError(error, std::string("JPEG file: ") + st->Errors.Message);
        return JpegOutcome::Failed;
    }
    if (!ReadJpegHeader(*st, content)) {
        SetError(error, "JPEG file: no picture in the file");
        return JpegOutcome::Failed;
    }
    if (static_cast<std::uint64_t>(info.image_width) * info.image_height >
        ImageLoadLimits{}.MaxPixels) {
        SetError(error, "JPEG file: the picture is too large");
        return JpegOutcome::Failed;
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        return JpegOutcome::NotHandled;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    PagePlacement placement;
    if (settings) {
        placement =
            PlacePageImage(static_cast<int>(info.image_width), static_cast<int>(info.image_height),
                           settings->AvailableWidth, settings->AvailableHeight, settings->Stretch);
        // A fitted page that gets smaller is decoded straight at the smallest DCT scale
        // (in eighths) that still covers the target, as a scanner's big page would
        // otherwise cost a full decode; area averaging then makes the exact size.
        const int scale = DctScaleFor(static_cast<int>(info.image_width),
                                      static_cast<int>(info.image_height), placement);
        if (settings->Stretch && scale < 8) {
            info.scale_num = static_cast<unsigned>(scale);
            info.scale_denom = 8;
        }
    }
    jpeg_start_decompress(&info);

    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const int channels = grey ? 1 : 3;
    int rows = height;
    if (settings) {
        st->Sink = std::make_unique<RowSink>(width, height, channels, placement, settings->Stretch);
        rows = st->Sink->RowsNeeded();
        const int keep = st->Sink->PixelsNeeded();
        if (keep > 0 && keep < width) {
            // Decode only the columns kept, plus two iMCUs beyond them so that the kept
            // pixels still see their right-hand neighbours through the chroma upsampling
            // and come out exactly as in a full decode.
            const int imcu = info.max_h_samp_factor * DCTSIZE;
            JDIMENSION x = 0;
            JDIMENSION w = static_cast<JDIMENSION>(std::min(width, keep + 2 * imcu));
            jpeg_crop_scanline(&info, &x, &w);
        }
    } else {
        st->Full.Width = width;
        st->Full.Height = height;
        st->Full.Channels = channels;
        st->Full.Data.resize(static_cast<std::size_t>(width) * height * channels);
    }
    st->Row.resize(static_cast<std::size_t>(info.output_width) * channels);
    while (static_cast<int>(info.output_scanline) < rows) {
        JSAMPROW row = st->Sink
                           ? st->Row.data()
                           : st->Full.Data.data() +
                                 static_cast<std::size_t>(info.output_scanline) * width * channels;
        jpeg_read_scanlines(&info, &row, 1);
        if (st->Sink)
            st->Sink->Push(row);
    }
    // The rows below the cut are entropy-decoded only, so a damaged file is still refused.
    // (A skip to the very end would not decode them at all: the last row is read.)
    if (info.output_scanline < info.output_height) {
        if (info.output_height - info.output_scanline > 1)
            jpeg_skip_scanlines(&info, info.output_height - info.output_scanline - 1);
        JSAMPROW row = st->Row.data();
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    result = st->Sink ? st->Sink->Take() : std::move(st->Full);
    return JpegOutcome::Done;
}

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

bool IsGreyPalette(const Bitmap& image) {
    for (std::uint32_t c : image.Palette())
        if (((c >> 16) & 0xFF) != (c & 0xFF) || ((c >> 8) & 0xFF) != (c & 0xFF))
            return false;
    return true;
}

// One row of a bitmap as grey or RGB bytes, the first `count` pixels.
void BitmapRow(const Bitmap& image, int y, bool grey, int count, std::uint8_t* dst) {
    const std::uint8_t* row = image.Row(y);
    if (image.Format() == PixelFormat::Rgb24) {
        std::memcpy(dst, row, static_cast<std::size_t>(count) * 3);
        return;
    }
    const auto& palette = image.Palette();
    for (int x = 0; x < count; ++x) {
        std::uint32_t index = 0;
        switch (image.Format()) {
        case PixelFormat::Bits8:
            index = row[x];
            break;
        case PixelFormat::Bits4:
            index = (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
            break;
        case PixelFormat::Bits1:
            index = (row[x / 8] >> (7 - x % 8)) & 1;
            break;
        case PixelFormat::Rgb24:
            break;
        }
        const std::uint32_t c = index < palette.size() ? palette[index] : 0;
        if (grey) {
            dst[x] = static_cast<std::uint8_t>(c);
        } else {
            dst[3 * x] = static_cast<std::uint8_t>(c >> 16);
            dst[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            dst[3 * x + 2] = static_cast<std::uint8_t>(c);
        }
    }
}

} // namespace

PagePlacement PlacePageImage(int width, int height, int availableWidth, int availableHeight,
                             bool stretch) {
    const std::int64_t w = std::max(width, 1), h = std::max(height, 1);
    const std::int64_t aw = std::max(availableWidth, 1), ah = std::max(availableHeight, 1);
    std::int64_t newWidth, newHeight;
    if (stretch) {
        // Fitted keeping the aspect: the side that is relatively longer fills the area.
        // Exact integer arithmetic, so a fit of the width never comes out one pixel short.
        if (w * ah > h * aw) {
            newWidth = aw;
            newHeight = h * aw / w;
        } else {
            newHeight = ah;
            newWidth = w * ah / h;
        }
    } else {
        newWidth = std::min(w, aw);
        newHeight = std::min(h, ah);
    }
    return {static_cast<int>(std::max<std::int64_t>(newWidth, 1)),
            static_cast<int>(std::max<std::int64_t>(newHeight, 1))};
}

int ClampQuality(int quality) {
    return std::clamp(quality, 50, 100);
}

PixelImage ResamplePixels(const PixelImage& source, int width, int height) {
    Resampler resampler(source.Width, source.Height, std::max(width, 1), std::max(height, 1),
                        source.Channels);
    const std::size_t stride = static_cast<std::size_t>(source.Width) * source.Channels;
    for (int y = 0; y < source.Height; ++y)
        resampler.Push(source.Data.data() + y * stride);
    return resampler.Take();
}

std::optional<PixelImage> DecodeJpegPixels(std::string_view content, std::string* error) {
    PixelImage image;
    if (DecodeJpeg(content, nullptr, image, error) != JpegOutcome::Done) {
        SetError(error, "JPEG file: not decoded");
        return std::nullopt;
    }
    return image;
}

PixelImage PlacePagePixels(const Bitmap& image, const PageImageSettings& settings) {
    const bool grey = image.Format() != PixelFormat::Rgb24 && IsGreyPalette(image);
    const int channels = grey ? 1 : 3;
    RowSink sink(image.Width(), image.Height(), channels,
                 PlacePageImage(image.Width(), image.Height(), settings.AvailableWidth,
                                settings.AvailableHeight, settings.Stretch),
                 settings.Stretch);
    const int count = sink.PixelsNeeded() > 0 ? sink.PixelsNeeded() : image.Width();
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()) * channels);
    for (int y = 0; y < sink.RowsNeeded(); ++y) {
        BitmapRow(image, y, grey, count, row.data());
        sink.Push(row.data());
    }
    return sink.Take();
}

std::optional<PixelImage> PlacePagePixels(std::string_view content,
                                          const PageImageSettings& settings, std::string* error) {
    if (DetectImageFormat(content) == ImageFormat::Jpeg) {
        PixelImage image;
        switch (DecodeJpeg(content, &settings, image, error)) {
        case JpegOutcome::Done:
            return image;
        case JpegOutcome::Failed:
            return std::nullopt;
        case JpegOutcome::NotHandled:
            break; // CMYK: the general loader knows how to lay the inks on paper
        }
    }
    std::optional<Bitmap> bitmap = DecodeImage(content, error);
    if (!bitmap || bitmap->Empty()) {
        if (bitmap)
            SetError(error, "the picture has no pixels");
        return std::nullopt;
    }
    return PlacePagePixels(*bitmap, settings);
}

std::optional<JpegPicture> EncodeBaselineJpeg(const PixelImage& image, int quality,
                                              std::string* error) {
    if (image.Width <= 0 || image.Height <= 0) {
        SetError(error, "JPEG file: the picture has no pixels");
        return std::nullopt;
    }
    if (image.Width > JPEG_MAX_DIMENSION || image.Height > JPEG_MAX_DIMENSION) {
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
    info.image_width = static_cast<JDIMENSION>(image.Width);
    info.image_height = static_cast<JDIMENSION>(image.Height);
    // Always three components: the PDF declares every page image DeviceRGB.
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, ClampQuality(quality), TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t width = static_cast<std::size_t>(image.Width);
    if (image.Channels == 1)
        st->Row.resize(width * 3);
    for (int y = 0; y < image.Height; ++y) {
        JSAMPROW row;
        const std::uint8_t* src = image.Data.data() + y * width * image.Channels;
        if (image.Channels == 3) {
            row = const_cast<JSAMPROW>(src);
        } else {
            for (std::size_t x = 0; x < width; ++x)
                st->Row[3 * x] = st->Row[3 * x + 1] = st->Row[3 * x + 2] = src[x];
            row = st->Row.data();
        }
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return JpegPicture{image.Width, image.Height,
                       std::string(reinterpret_cast<const char*>(st->Buffer), st->Size)};
}

std::optional<JpegPicture> ComposePageImage(std::string_view content,
                                            const PageImageSettings& settings, std::string* error) {
    std::optional<PixelImage> pixels = PlacePagePixels(content, settings, error);
    if (!pixels)
        return std::nullopt;
    return EncodeBaselineJpeg(*pixels, settings.Quality, error);
}

std::optional<JpegPicture> ComposePageImage(const Bitmap& image, const PageImageSettings& settings,
                                            std::string* error) {
    if (image.Empty()) {
        SetError(error, "the picture has no pixels");
        return std::nullopt;
    }
    return EncodeBaselineJpeg(PlacePagePixels(image, settings), settings.Quality, error);
}

} // namespace pendlar
