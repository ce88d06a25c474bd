// The calendar display dialog "暦表示設定": Western or era calendar, the separator of
// Western dates and the era style. It has no Ok or Cancel: what is selected when it closes
// is taken.
#pragma once

#include "util/ui/RadioGroup.h"

#include <QDialog>

namespace pendlar {

class TCaruteDate;
class TRegistory;

class TTimeSet : public QDialog {
public:
    explicit TTimeSet(QWidget* parent = nullptr);

    RadioGroup* KoyomiSet;    // 0 西暦, 1 和暦
    RadioGroup* SeirekiGroup; // separator of Western dates (SKugiri)
    RadioGroup* warekiGroup;  // era style (WKugiri)

    // Enables the group that belongs to the calendar chosen in KoyomiSet.
    void KoyomiSetClick();
};

// The "日付設定" command: presets the dialog from the settings, shows it, and stores what
// was selected into the settings and the calendar object.
void DateSetMenuClick(TTimeSet& dialog, TRegistory& settings, TCaruteDate& calendar);

} // namespace pendlar
