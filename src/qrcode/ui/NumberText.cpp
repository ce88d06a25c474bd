#include "qrcode/ui/NumberText.h"

#include <cmath>

namespace pendlar {

std::optional<double> TypedNumber(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<long long> TypedInteger(const QString& text) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace pendlar
