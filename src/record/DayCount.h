// The day-count command of the workers' accident tab.
#pragma once

#include "record/FieldView.h"

namespace pendlar {

class TCaruteDate;

// Hides the eight "*" marks; then, for an outpatient header (headerOut 1) only, reads the
// from- and to-date of each of the four periods: a date that cannot be read shows its mark
// and leaves the period's label as it was; two good dates put the day count, both ends
// included, followed by "日間" into the label.
void CountDays(FieldView& view, int headerOut, TCaruteDate& calendar);

} // namespace pendlar
