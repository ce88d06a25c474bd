#include "intake/SaneScanner.h"

#include <sane/sane.h>

#include <algorithm>
#include <cstring>

namespace pendlar {

namespace {

void SetError(std::string* error, const std::string& text) {
    if (error)
        *error = text;
}

// sane_init and sane_exit around one command.
class SaneSession {
public:
    SaneSession() { status_ = sane_init(nullptr, nullptr); }
    ~SaneSession() {
        if (status_ == SANE_STATUS_GOOD)
            sane_exit();
    }
    SaneSession(const SaneSession&) = delete;
    SaneSession& operator=(const SaneSession&) = delete;
    SANE_Status Status() const { return status_; }

private:
    SANE_Status status_;
};

class SaneHandle {
public:
    explicit SaneHandle(SANE_Handle h) : h_(h) {}
    ~SaneHandle() {
        if (h_) {
            sane_cancel(h_);
            sane_close(h_);
        }
    }
    SaneHandle(const SaneHandle&) = delete;
    SaneHandle& operator=(const SaneHandle&) = delete;
    SANE_Handle Get() const { return h_; }

private:
    SANE_Handle h_;
};

std::string Text(SANE_String_Const s) {
    return s ? std::string(s) : std::string();
}

// One frame's bytes, row by row, as the device sends them.
struct Frame {
    SANE_Parameters Params{};
    std::vector<std::uint8_t> Bytes;
    int Lines = 0;
};

SANE_Status ReadFrame(SANE_Handle h, Frame& frame, const std::function<void()>& pump,
                      std::string* error) {
    const auto bpl = static_cast<std::size_t>(frame.Params.bytes_per_line);
    if (frame.Params.lines > 0) {
        const std::uint64_t total =
            static_cast<std::uint64_t>(bpl) * static_cast<std::uint64_t>(frame.Params.lines);
        if (total > SaneScanner::kMaxBytes) {
            SetError(error, "frame too large");
            return SANE_STATUS_NO_MEM;
        }
        frame.Bytes.reserve(static_cast<std::size_t>(total));
    }
    std::vector<std::uint8_t> buffer(64 * 1024);
    std::size_t sinceEvents = 0;
    for (;;) {
        SANE_Int got = 0;
        const SANE_Status st =
            sane_read(h, buffer.data(), static_cast<SANE_Int>(buffer.size()), &got);
        if (st == SANE_STATUS_EOF)
            break;
        if (st != SANE_STATUS_GOOD) {
            SetError(error, Text(sane_strstatus(st)));
            return st;
        }
        if (got < 0)
            got = 0;
        if (frame.Bytes.size() + static_cast<std::size_t>(got) > SaneScanner::kMaxBytes) {
            SetError(error, "frame too large");
            return SANE_STATUS_NO_MEM;
        }
        frame.Bytes.insert(frame.Bytes.end(), buffer.begin(), buffer.begin() + got);
        sinceEvents += static_cast<std::size_t>(got);
        if (pump && sinceEvents >= 256 * 1024) {
            sinceEvents = 0;
            pump();
        }
    }
    // A device that did not know its length in advance (lines = -1) tells it by the bytes.
    frame.Lines = static_cast<int>(frame.Bytes.size() / std::max<std::size_t>(bpl, 1));
    if (frame.Params.lines > 0)
        frame.Lines = std::min(frame.Lines, frame.Params.lines);
    return SANE_STATUS_GOOD;
}

// The sample of channel c of pixel x in a row of `channels` interleaved channels.
std::uint8_t Sample(const std::uint8_t* row, int x, int channels, int c, int depth) {
    const std::size_t i = static_cast<std::size_t>(x) * channels + c;
    switch (depth) {
    case 1: // line art: a set bit is black
        return (row[i / 8] >> (7 - i % 8)) & 1 ? 0 : 255;
    case 16: { // host byte order
        std::uint16_t v;
        std::memcpy(&v, row + i * 2, 2);
        return static_cast<std::uint8_t>(v >> 8);
    }
    default:
        return row[i];
    }
}

bool RowFits(const SANE_Parameters& p, int channels) {
    const std::uint64_t bits =
        static_cast<std::uint64_t>(p.pixels_per_line) * channels * static_cast<unsigned>(p.depth);
    return (bits + 7) / 8 <= static_cast<std::uint64_t>(p.bytes_per_line);
}

} // namespace

std::vector<ScannerDevice> SaneScanner::ListDevices(std::string* error) {
    std::vector<ScannerDevice> out;
    SaneSession session;
    if (session.Status() != SANE_STATUS_GOOD) {
        SetError(error, Text(sane_strstatus(session.Status())));
        return out;
    }
    const SANE_Device** list = nullptr;
    const SANE_Status st = sane_get_devices(&list, SANE_FALSE);
    if (st != SANE_STATUS_GOOD || !list) {
        SetError(error, Text(sane_strstatus(st)));
        return out;
    }
    for (int i = 0; list[i]; ++i)
        out.push_back({Text(list[i]->name), Text(list[i]->vendor), Text(list[i]->model),
                       Text(list[i]->type)});
    return out;
}

AcquireResult SaneScanner::Acquire(const std::string& device, Bitmap& image,
                                   const std::function<void()>& pump, std::string* error) {
    image = Bitmap();
    SaneSession session;
    if (session.Status() != SANE_STATUS_GOOD) {
        SetError(error, Text(sane_strstatus(session.Status())));
        return AcquireResult::Failed;
    }
    SANE_Handle raw = nullptr;
    SANE_Status st = sane_open(device.c_str(), &raw);
    if (st != SANE_STATUS_GOOD) {
        SetError(error, Text(sane_strstatus(st)));
        return AcquireResult::Failed;
    }
    SaneHandle handle(raw);

    Bitmap out;
    bool colour = false;
    for (int pass = 0; pass < 3; ++pass) {
        st = sane_start(handle.Get());
        if (st == SANE_STATUS_CANCELLED)
            return AcquireResult::Cancelled;
        if (st != SANE_STATUS_GOOD) {
            SetError(error, Text(sane_strstatus(st)));
            return AcquireResult::Failed;
        }
        Frame frame;
        st = sane_get_parameters(handle.Get(), &frame.Params);
        if (st != SANE_STATUS_GOOD) {
            SetError(error, Text(sane_strstatus(st)));
            return AcquireResult::Failed;
        }
        const SANE_Parameters& p = frame.Params;
        const int channels = p.format == SANE_FRAME_RGB ? 3 : 1;
        if (p.pixels_per_line <= 0 || p.bytes_per_line <= 0 ||
            (p.depth != 1 && p.depth != 8 && p.depth != 16) || !RowFits(p, channels)) {
            SetError(error, "unsupported frame parameters");
            return AcquireResult::Failed;
        }
        st = ReadFrame(handle.Get(), frame, pump, error);
        if (st == SANE_STATUS_CANCELLED)
            return AcquireResult::Cancelled;
        if (st != SANE_STATUS_GOOD)
            return AcquireResult::Failed;
        if (frame.Lines <= 0) {
            SetError(error, "empty frame");
            return AcquireResult::Failed;
        }
        const int w = p.pixels_per_line, h = frame.Lines;
        const auto bpl = static_cast<std::size_t>(p.bytes_per_line);
        auto rowOf = [&](int y) { return frame.Bytes.data() + static_cast<std::size_t>(y) * bpl; };

        if (p.format == SANE_FRAME_GRAY) {
            out = Bitmap(w, h, PixelFormat::Bits8);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    out.Row(y)[x] = Sample(rowOf(y), x, 1, 0, p.depth);
            break;
        }
        if (p.format == SANE_FRAME_RGB) {
            out = Bitmap(w, h, PixelFormat::Rgb24);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < 3; ++c)
                        out.Row(y)[x * 3 + c] = Sample(rowOf(y), x, 3, c, p.depth);
            break;
        }
        // Three-pass colour: one channel per frame, all of the same size.
        const int c = p.format == SANE_FRAME_RED ? 0 : p.format == SANE_FRAME_GREEN ? 1 : 2;
        if (!colour) {
            out = Bitmap(w, h, PixelFormat::Rgb24);
            colour = true;
        } else if (out.Width() != w || out.Height() != h) {
            SetError(error, "colour frames of different sizes");
            return AcquireResult::Failed;
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.Row(y)[x * 3 + c] = Sample(rowOf(y), x, 1, 0, p.depth);
        if (p.last_frame)
            break;
    }
    image = std::move(out);
    return AcquireResult::Acquired;
}

} // namespace pendlar
