// The scanner through SANE: the device list and the acquisition of one frame into a Bitmap.
//
// Each call opens the SANE library and closes it again, so a scanner switched on or off
// between two commands is seen, and nothing of SANE stays alive between commands. Rows are
// read by the device's bytes_per_line, which may be more than the pixels need. Grey frames
// become Bits8 (Bits1 for line art), colour frames Rgb24, whether the device sends them in
// one pass or as three.
#pragma once

#include "intake/ScannerSource.h"

#include <cstdint>

namespace pendlar {

class SaneScanner : public ScannerSource {
public:
    std::vector<ScannerDevice> ListDevices(std::string* error = nullptr) override;
    AcquireResult Acquire(const std::string& device, Bitmap& image,
                          const std::function<void()>& pump, std::string* error = nullptr) override;

    // Frames larger than this are refused before their memory is taken.
    static constexpr std::uint64_t kMaxBytes = 1ull << 31;
};

} // namespace pendlar
