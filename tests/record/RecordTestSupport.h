// Views of the header tabs as a clerk would fill them, and a readable form of record fields.
#pragma once

#include "record/ChartRecord.h"
#include "record/FieldView.h"
#include "util/ScriptedUserInterface.h"

#include <string>
#include <utility>
#include <vector>

namespace pendlar::test {

// Every input field filled with valid data. Two variants differ in every stored value
// (texts, dates, indices, ticks), so a test can tell which run wrote a record field.
FieldView ValidView(int variant);

// The value of a record field as text, for comparing records field by field.
std::string RecordValue(ChartRecord& record, const std::string& name);

// A scripted interface that also keeps every status text in order.
class RecordingUserInterface : public ScriptedUserInterface {
public:
    std::vector<std::pair<int, std::string>> StatusCalls;
    void SetStatus(int panel, const std::string& text) override {
        StatusCalls.emplace_back(panel, text);
        ScriptedUserInterface::SetStatus(panel, text);
    }
};

} // namespace pendlar::test
