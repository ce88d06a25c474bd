// The reset of the header tabs, the two header checks that copy the input fields into the
// chart record, and the save-readiness check.
//
// The checks run in a fixed order and stop at the first failure: status panel 0 then names
// the tab and panel 1 the fault, the fields checked so far are already in the chart record
// and the rest keep their old values. Checks never raise and never change an input field
// (only the outpatient check's day labels).
#pragma once

#include "record/ChartRecord.h"
#include "record/FieldView.h"

#include <cstddef>

namespace pendlar {

class TCaruteDate;
class UserInterface;
struct TLogs;

// The record part of the reset: empties every input field of the seven record tabs and
// the eight keyword texts (the day labels and their "*" marks stay as they are) and resets
// the four fields of the chart record that only the billing-record import writes. The rest
// of the chart record keeps its values.
void ClearRecord(FieldView& view, ChartRecord& record);

// The checks for an outpatient header page: patient, insurance, basic medical, workers'
// accident periods (which also set the day labels Rikenday1, Rnyuinday1, Rikenday2,
// Rnyuinday2), outpatient rows, insurance confirmation. False at the first failure.
bool CheckOutpatientRecord(FieldView& view, ChartRecord& record, TCaruteDate& calendar,
                           UserInterface& ui);

// The checks for an inpatient header page: as the outpatient check, with the inpatient
// fields and rows in place of the workers' accident periods and outpatient rows.
bool CheckInpatientRecord(const FieldView& view, ChartRecord& record, TCaruteDate& calendar,
                          UserInterface& ui);

// Whether the Save button may be enabled. The caller disables it before the call and
// enables it when this returns true. Without header page (headerOut 0) the chart needs one
// page, or two when the first page (the cover sheet) is left out; a missing page is
// reported by message, error-log line and status panel 1. Otherwise Save waits only for
// the filing mode to be chosen.
bool CheckSaveReady(int headerOut, bool firstPage, std::size_t pageCount, bool filingModeChosen,
                    UserInterface& ui, TLogs& logs);

} // namespace pendlar
