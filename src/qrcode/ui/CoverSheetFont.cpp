#include "qrcode/ui/CoverSheetFont.h"

#include "util/Sjis.h"

#include <QFontDatabase>
#include <QHash>

#include <fontconfig/fontconfig.h>

namespace pendlar {

QString SjisQString(const std::string& sjis) {
    const std::u16string u = SjisToUtf16(sjis);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

std::string QStringSjis(const QString& text) {
    return Utf8ToSjisLossy(text.toStdString());
}

QString InstalledJapaneseFamily(const QString& family) {
    static QHash<QString, QString> cache;
    if (auto it = cache.constFind(family); it != cache.constEnd())
        return *it;
    QString chosen = family;
    if (family.isEmpty() || !QFontDatabase::hasFamily(family)) {
        // Ask fontconfig for the best installed match of the name that can write Japanese.
        FcPattern* pattern = FcPatternCreate();
        const QByteArray name = family.toUtf8();
        if (!name.isEmpty())
            FcPatternAddString(pattern, FC_FAMILY,
                               reinterpret_cast<const FcChar8*>(name.constData()));
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8* matched = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch && matched)
                chosen = QString::fromUtf8(reinterpret_cast<const char*>(matched));
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    cache.insert(family, chosen);
    return chosen;
}

QFont CoverItemFont(const TCoverItemRecord& record) {
    QFont font(InstalledJapaneseFamily(SjisQString(record.FontName)));
    font.setPointSize(record.Size > 0 ? record.Size : 9);
    font.setBold(record.Style & 1);
    font.setItalic(record.Style & 2);
    font.setUnderline(record.Style & 4);
    font.setStrikeOut(record.Style & 8);
    return font;
}

QColor CoverItemColour(const TCoverItemRecord& record) {
    // The high byte marks a system colour; the only one the items use is window text.
    if (record.Colour & 0xFF000000u)
        return Qt::black;
    return QColor(static_cast<int>(record.Colour & 0xFF),
                  static_cast<int>((record.Colour >> 8) & 0xFF),
                  static_cast<int>((record.Colour >> 16) & 0xFF));
}

void SetCoverItemFont(TCoverItemRecord& record, const QFont& font) {
    record.FontName = CutAtCharBoundary(QStringSjis(font.family()), TCoverItemRecord::kFontNameMax);
    if (font.pointSize() > 0)
        record.Size = font.pointSize();
    record.Style =
        static_cast<std::uint8_t>((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) |
                                  (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0));
}

} // namespace pendlar
