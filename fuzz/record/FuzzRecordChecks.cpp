// Whatever a clerk types, or a billing record carries, into the header tabs: both checks
// and the day count must read it without fault and keep every text within its field.
#include "record/DayCount.h"
#include "record/FieldTable.h"
#include "record/RecordChecks.h"
#include "util/CaruteDate.h"
#include "util/ScriptedUserInterface.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pendlar;
    // One line per input field, in table order; a choice's index is its line length - 1.
    std::string_view input(reinterpret_cast<const char*>(data), size);
    FieldView view;
    for (const FieldInfo& f : RecordFields()) {
        if (!IsInputField(f.Kind))
            continue;
        std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        FieldValue& v = view[f.Name];
        v.Text = std::string(line);
        v.Index = static_cast<int>(line.size()) - 1;
        v.Flag = !line.empty();
    }
    for (int headerOut : {1, 2}) {
        ChartRecord record;
        TCaruteDate calendar;
        ScriptedUserInterface ui;
        FieldView copy = view;
        bool ok = headerOut == 1 ? CheckOutpatientRecord(copy, record, calendar, ui)
                                 : CheckInpatientRecord(copy, record, calendar, ui);
        // A pass leaves panel 1 empty, a failure names the fault there.
        if (ok != ui.Status[1].empty())
            std::abort();
        if (record.PName.Length > 38 || record.Nyuin[13].NShidan.Length > 60)
            std::abort();
        CountDays(copy, headerOut, calendar);
    }
    return 0;
}
