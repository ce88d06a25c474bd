#include "record/DayCount.h"

#include "util/CaruteDate.h"
#include "util/Sjis.h"

namespace pendlar {
namespace {

struct Period {
    const char* From;
    const char* To;
    const char* FromMark;
    const char* ToMark;
    const char* Result;
};

constexpr Period kPeriods[] = {
    {"Rikenfrom1", "Rikento1", "Ikfm1Err", "Ikto1Err", "Rikenday1"},
    {"Rnyuinfrom1", "Rnyuinto1", "Ninfm1Err", "Ninto1Err", "Rnyuinday1"},
    {"Rikenfrom2", "Rikento2", "Ikfm2Err", "Ikto2Err", "Rikenday2"},
    {"Rnyuinfrom2", "Rnyuinto2", "Ninfm2Err", "Ninto2Err", "Rnyuinday2"},
};

} // namespace

void CountDays(FieldView& view, int headerOut, TCaruteDate& calendar) {
    for (const Period& p : kPeriods) {
        view[p.FromMark].Flag = false;
        view[p.ToMark].Flag = false;
    }
    if (headerOut != 1)
        return;
    for (const Period& p : kPeriods) {
        // Both dates are read even when the first fails, so each wrong date shows its mark.
        calendar.ParseDate(FieldOf(view, p.From).Text);
        const bool fromOk = !calendar.HasError;
        const TDateTime from = calendar.GetDate();
        calendar.ParseDate(FieldOf(view, p.To).Text);
        const bool toOk = !calendar.HasError;
        const TDateTime to = calendar.GetDate();
        view[p.FromMark].Flag = !fromOk;
        view[p.ToMark].Flag = !toOk;
        if (fromOk && toOk)
            view[p.Result].Text = std::to_string(CountDaysBetween(from, to)) + SjisOf("日間");
    }
}

} // namespace pendlar
