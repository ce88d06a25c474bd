#include "util/ui/QtText.h"

#include "util/Sjis.h"

namespace pendlar {

QString SjisToQString(const std::string& sjis) {
    return QString::fromStdString(SjisToUtf8(sjis));
}

std::string QStringToSjis(const QString& text) {
    return Utf8ToSjisLossy(text.toStdString());
}

} // namespace pendlar
