// libjpeg error handling shared by every JPEG decoder and encoder of the program.
//
// libjpeg reports a fatal error through error_exit, which must not return; ours jumps back
// to the setjmp of the calling decode or encode, which keeps everything that must survive
// the jump in a state object on the heap. Warnings that would leave part of a page grey
// or scrambled (a file cut short, broken entropy data) are refused like errors, and a
// progressive file with an absurd number of scans is stopped.
#pragma once

#include <csetjmp>
#include <cstdio>
#include <string_view>

#include <jerror.h>
#include <jpeglib.h>

namespace pendlar::jpeg_errors {

// Real encoders write about ten scans; thousands of tiny ones make decoding crawl.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] inline void ErrorExit(j_common_ptr cinfo) {
    auto* self = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, self->Message);
    std::longjmp(self->Jump, 1);
}

inline void EmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return; // trace messages
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
        ErrorExit(cinfo);
    default:
        ++cinfo->err->num_warnings; // harmless, such as stray bytes before a marker
    }
}

inline void Progress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* self = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(self->Message, sizeof self->Message, "too many progressive scans");
        std::longjmp(self->Jump, 1);
    }
}

inline void InstallErrorManager(jpeg_common_struct* cinfo, ErrorManager& em) {
    cinfo->err = jpeg_std_error(&em.Base);
    em.Base.error_exit = ErrorExit;
    em.Base.emit_message = EmitMessage;
}

// A decompressor with our error manager, destroyed with its owner. Decoders derive their
// state from it and keep that state on the heap, so that it survives the jump.
struct Decompressor {
    jpeg_decompress_struct Info{};
    ErrorManager Errors;
    jpeg_progress_mgr ProgressManager{};
    bool Created = false;

    Decompressor() { InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&Info), Errors); }
    ~Decompressor() {
        if (Created)
            jpeg_destroy_decompress(&Info);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

// Creates the decompressor over `content` (which must outlive the decode) and reads the
// header; false when the data hold no picture. Call it after setjmp on d.Errors.Jump.
inline bool ReadJpegHeader(Decompressor& d, std::string_view content) {
    jpeg_create_decompress(&d.Info);
    d.Created = true;
    d.ProgressManager.progress_monitor = Progress;
    d.Info.progress = &d.ProgressManager;
    jpeg_mem_src(&d.Info, reinterpret_cast<const unsigned char*>(content.data()),
                 static_cast<unsigned long>(content.size()));
    return jpeg_read_header(&d.Info, TRUE) == JPEG_HEADER_OK;
}

} // namespace pendlar::jpeg_errors
