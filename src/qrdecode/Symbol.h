// The symbol being decoded: its module arrangement, version, error-correction level
// (0 = L, 1 = M, 2 = Q, 3 = H) and data mask pattern (0-7).
#pragma once

#include "qrdecode/Arrangement.h"
#include "qrdecode/Base.h"

#include <memory>

namespace pendlar {

class TSymbol : public TBase {
public:
    TArrangement* Arrangement() { return arrangement_.get(); }
    const TArrangement* Arrangement() const { return arrangement_.get(); }
    int Version() const { return version_; }
    int Level() const { return level_; }
    int MaskPattern() const { return mask_; }

protected:
    // Starts a new symbol of this version; level and mask are unknown until set.
    void NewSymbol(int version);
    void SetFormat(int level, int mask) {
        level_ = level;
        mask_ = mask;
    }

private:
    std::unique_ptr<TArrangement> arrangement_;
    int version_ = 0;
    int level_ = 0;
    int mask_ = 0;
};

} // namespace pendlar
