// The DICOM reader on arbitrary bytes: header walk, listing and rendering of the first two
// frames. The reader works on files, so each input is written to one scratch file first.
#include "intake/DicomImage.h"
#include "util/ScriptedUserInterface.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    static const std::string path = "/tmp/pendlar-fuzz-dicom-" + std::to_string(getpid()) + ".dcm";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    ScriptedUserInterface ui;
    TDicomImage reader(ui);
    bool read = reader.Read(path);
    if (read != reader.HeaderRead())
        std::abort();
    (void)reader.TextLines();
    for (int frame : {1, 2}) {
        if (reader.Render(frame, true, path)) {
            const Bitmap& image = reader.Image();
            if (image.Format() != PixelFormat::Bits8 || image.Width() % 8 != 0 ||
                image.Height() != reader.Header().Rows)
                std::abort();
        } else if (!reader.Image().Empty()) {
            std::abort();
        }
    }
    return 0;
}
