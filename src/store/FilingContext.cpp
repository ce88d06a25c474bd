#include "store/FilingContext.h"

#include "intake/PageIntake.h"
#include "record/RecordChecks.h"
#include "store/ChartDatabase.h"

namespace pendlar {

ChartLookupLists LookupListsOf(const ChartDatabase& db) {
    ChartLookupLists lists;
    lists.Zokugara = db.ZokugaraList;
    lists.Tenki = db.TenkiList;
    lists.Futan = db.FutanList;
    return lists;
}

FilingPdfSource::FilingPdfSource(const FilingContext& context)
    : record_(context.Record), lists_(LookupListsOf(context.Db)), mode_(context.State.Mode) {
    const PageIntake& intake = context.Intake;
    pages_.reserve(intake.Pages().size());
    for (const APageList& page : intake.Pages()) {
        ChartPage out;
        // Only the file-name part of a page record names its file in the scanner folder.
        out.Path = intake.PageFile(page.Path);
        if (page.Notes)
            out.Notes = *page.Notes;
        out.Caption = page.Caption;
        pages_.push_back(std::move(out));
    }
}

const ChartRecord& FilingPdfSource::Record() const {
    return record_;
}

void PlainFilingWindow::SetEnabled(FilingControl control, bool enabled) {
    enabled_[static_cast<int>(control)] = enabled;
}

bool PlainFilingWindow::IsEnabled(FilingControl control) const {
    return enabled_[static_cast<int>(control)];
}

void PlainFilingWindow::SetStatusMessage(int n, const std::string& text) {
    if (n >= 1 && n <= 3)
        StatusMess[n - 1] = text;
}

void PlainFilingWindow::ClearRecord() {
    ++ClearRecordCount;
    SubNoItems.clear();
    SubNoText.clear();
    for (std::string& text : StatusMess)
        text.clear();
    for (FilingControl c :
         {FilingControl::SubNoBtn, FilingControl::VolNoEdit, FilingControl::SaveButton,
          FilingControl::PrintBtn, FilingControl::EraseBtn, FilingControl::LogBtn})
        SetEnabled(c, false);
    SetEnabled(FilingControl::SearchBtn, true);
    pendlar::ClearRecord(Fields, record_);
    state_.Mode = ChartFilingMode::None;
}

} // namespace pendlar
