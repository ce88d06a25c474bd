// The fonts of the cover-sheet text items: a stored item record (Shift-JIS family name,
// size in points, style bits, colour) as a Qt font, and back.
//
// A family that is not installed on this machine ("ＭＳ Ｐゴシック" from a Windows
// station, for one) is shown and printed in the Japanese font that fontconfig matches for
// it; the record keeps the stored name, so moving the layout back loses nothing.
#pragma once

#include "settings/Registory.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

namespace pendlar {

// The installed family that stands in for `family` (itself when installed).
QString InstalledJapaneseFamily(const QString& family);

// The font of an item record; the family follows InstalledJapaneseFamily.
QFont CoverItemFont(const TCoverItemRecord& record);
// The colour of an item record (the system window-text colour is black).
QColor CoverItemColour(const TCoverItemRecord& record);

// Takes size and style of `font` into the record; the name becomes the font's family in
// Shift-JIS, cut to 30 bytes at a character boundary.
void SetCoverItemFont(TCoverItemRecord& record, const QFont& font);

// A Shift-JIS text for a widget, and back (characters without a Shift-JIS form become "?").
QString SjisQString(const std::string& sjis);
std::string QStringSjis(const QString& text);

} // namespace pendlar
