#include "record/ChartRecord.h"
#include "record/FieldTable.h"

#include <gtest/gtest.h>

#include <set>

namespace pendlar {
namespace {

// The chart record and the field table describe the same fields: every input field of the
// seven record tabs has a record field of the matching type, able to hold what the copy
// rule keeps, and every record field but the import's and the save command's has a field.
TEST(RecordLayout, RecordAndFieldTableAgree) {
    ChartRecord record;
    const std::set<std::string> notTyped = {"Signature",  "DataVersion", "CreateDate",
                                            "TargetYear", "PatientNo",   "SubNo"};
    std::set<std::string> seen;
    for (const FieldInfo& f : RecordFields()) {
        EXPECT_TRUE(seen.insert(f.Name).second) << "duplicate " << f.Name;
        std::optional<RecordSlot> slot = FindRecordField(record, f.Name);
        if (!IsInputField(f.Kind) || f.Tab == RecordTab::Keyword) {
            EXPECT_FALSE(slot) << f.Name;
            continue;
        }
        ASSERT_TRUE(slot) << f.Name;
        switch (f.Kind) {
        case FieldKind::Text:
        case FieldKind::Memo:
            ASSERT_TRUE(std::holds_alternative<TextSlot>(*slot)) << f.Name;
            EXPECT_GT(f.Kept, 0) << f.Name;
            EXPECT_LE(f.Kept, f.Capacity) << f.Name;
            EXPECT_EQ(static_cast<std::size_t>(f.Capacity), std::get<TextSlot>(*slot).Capacity)
                << f.Name;
            break;
        case FieldKind::Date:
            EXPECT_TRUE(std::holds_alternative<TDateTime*>(*slot)) << f.Name;
            break;
        case FieldKind::Choice:
        case FieldKind::Radio:
            EXPECT_TRUE(std::holds_alternative<std::int32_t*>(*slot)) << f.Name;
            break;
        default:
            EXPECT_TRUE(std::holds_alternative<bool*>(*slot)) << f.Name;
        }
    }
    for (const std::string& name : RecordFieldNames()) {
        if (!notTyped.count(name)) {
            EXPECT_TRUE(FindField(name)) << name;
        }
    }
}

TEST(RecordLayout, ShortStringKeepsItsCapacity) {
    ShortString<10> s;
    s.Assign("PDFCARUTE-extra");
    EXPECT_EQ(s.Text(), "PDFCARUTE-");
    EXPECT_EQ(s.Length, 10);
    s.Assign("ab");
    EXPECT_EQ(s.Text(), "ab");
    EXPECT_EQ(s.Bytes[2], '\0'); // no bytes of the longer text are left behind
    ShortString<255> memo;
    memo.Assign(std::string(400, 'm'));
    EXPECT_EQ(memo.Length, 255);
}

} // namespace
} // namespace pendlar
