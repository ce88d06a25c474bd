// The module grid of one version with every function module marked, so that the data
// modules are exactly those left as kind 0.
#pragma once

#include "qrdecode/Base.h"
#include "qrdecode/Module.h"
#include "qrdecode/SeedModule.h"

namespace pendlar {

class TArrangement : public TModule {
public:
    // A version outside 1..40 gives an empty grid and error code 2 in Status().
    explicit TArrangement(int version);

    int Version() const { return version_; }
    const TSeedModule& Seeds() const { return seeds_; }
    const TBase& Status() const { return status_; }
    // The number of data modules (kind 0).
    int DataModules() const;

private:
    void MarkArea(int x0, int y0, int x1, int y1, std::uint8_t kind);

    int version_;
    TBase status_;
    TSeedModule seeds_;
};

} // namespace pendlar
