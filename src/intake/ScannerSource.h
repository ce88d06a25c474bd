// A scanner the program can acquire one page from (SANE on this platform; a script in tests).
#pragma once

#include "util/Bitmap.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pendlar {

struct ScannerDevice {
    std::string Name; // the identifier to acquire from
    std::string Vendor, Model, Type;
};

enum class AcquireResult { Acquired, Cancelled, Failed };

class ScannerSource {
public:
    virtual ~ScannerSource() = default;
    // The devices that can be chosen now; empty when none (or the scanner layer failed:
    // then `error` says why).
    virtual std::vector<ScannerDevice> ListDevices(std::string* error = nullptr) = 0;
    // One frame from the device. `pump` runs between blocks of rows so the window stays
    // current. On Failed `error` says why (English).
    virtual AcquireResult Acquire(const std::string& device, Bitmap& image,
                                  const std::function<void()>& pump,
                                  std::string* error = nullptr) = 0;
};

} // namespace pendlar
