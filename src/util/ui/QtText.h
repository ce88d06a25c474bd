// Text at the edge between the Shift-JIS core and the Qt widgets.
#pragma once

#include <QString>

#include <string>

namespace pendlar {

// A Shift-JIS text for a widget (undecodable bytes show as U+FFFD).
QString SjisToQString(const std::string& sjis);

// A widget's text for the core; characters without a Shift-JIS form become "?".
std::string QStringToSjis(const QString& text);

// A UTF-8 literal of the source for a widget.
inline QString Utf8Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace pendlar
