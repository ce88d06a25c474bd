#include "qrdecode/Arrangement.h"

#include "qrdecode/SymbolTables.h"

namespace pendlar {
namespace {

int SizeFor(int version) {
    return version >= kMinVersion && version <= kMaxVersion ? SymbolSize(version) : 0;
}

} // namespace

TArrangement::TArrangement(int version)
    : TModule(SizeFor(version)), version_(version), seeds_(version) {
    if (Size() == 0) {
        status_.SetErrorCode(TBase::kUnsupported);
        return;
    }
    const int n = Size();

    // Finders with their separators and the format areas.
    MarkArea(0, 0, 8, 8, kFunction);
    MarkArea(n - 8, 0, n - 1, 8, kFunction);
    MarkArea(0, n - 8, 8, n - 1, kFunction);
    SetKind(3, 3, kCentre);
    SetKind(n - 4, 3, kCentre);
    SetKind(3, n - 4, kCentre);

    // Alignment patterns, except where a finder already lies (and the one the version 1
    // pair 6, 14 would put at (14, 14), where version 1 has data).
    for (int cx : seeds_.Coordinates())
        for (int cy : seeds_.Coordinates()) {
            if (version == 1 && cx == 14 && cy == 14)
                continue;
            if (Kind(cx, cy) == kData)
                MarkArea(cx - 2, cy - 2, cx + 2, cy + 2, kFunction);
            SetKind(cx, cy, kCentre);
        }

    for (int i = 8; i <= n - 9; ++i) {
        if (Kind(i, 6) == kData)
            SetKind(i, 6, kTiming);
        if (Kind(6, i) == kData)
            SetKind(6, i, kTiming);
    }

    if (version > 6) {
        MarkArea(n - 11, 0, n - 9, 5, kFunction);
        MarkArea(0, n - 11, 5, n - 9, kFunction);
    }
}

void TArrangement::MarkArea(int x0, int y0, int x1, int y1, std::uint8_t kind) {
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            SetKind(x, y, kind);
}

int TArrangement::DataModules() const {
    int count = 0;
    for (int x = 0; x < Size(); ++x)
        for (int y = 0; y < Size(); ++y)
            if (Kind(x, y) == kData)
                ++count;
    return count;
}

} // namespace pendlar
