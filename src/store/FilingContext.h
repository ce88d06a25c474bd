// What the filing flows (patient confirmation, sub-number choice, save, add, open, erase)
// work with: the main window through one small interface, and the program-wide objects
// through one bundle of references.
//
// The flows themselves know no toolkit. The Qt main window implements FilingWindow over
// its controls; pendlar-tool and the tests implement it with plain values
// (PlainFilingWindow), so that every flow runs without a window.
//
// The person is reached through `FilingContext::Ui`: message boxes, status panels 0 and 1
// (`SetStatus`), letting pending window events run (`ProcessEvents`) and the shell
// (`ShellOpen`, which is also how a chart is opened for printing).
#pragma once

#include "pdf/chart/ChartPdfSource.h"
#include "record/FieldView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pendlar {

class CAcroPDDoc;
class ChartDatabase;
class ChartPdfComposer;
class PageIntake;
class TCaruteDate;
class TDirFile;
class TProtectData;
class TRegistory;
class UserInterface;
struct ChartRecord;
struct TLogs;

// The controls of the patient-number bar a flow enables or disables.
enum class FilingControl {
    PidBtn,
    SubNoBtn,
    VolNoEdit,
    SaveButton,
    PrintBtn,
    EraseBtn,
    LogBtn,
    SearchBtn,
};

// Background of the three message fields StatusMess1 … StatusMess3.
enum class MessageColour {
    White, // a new chart will be filed
    Green, // pages will be added to a stored chart (RGB 0, 255, 0)
};

// The main window as the filing flows see it. Texts are Shift-JIS.
class FilingWindow {
public:
    virtual ~FilingWindow() = default;

    // IdEdit: the patient number as typed.
    virtual std::string PatientNumberText() const = 0;
    virtual void SetPatientNumberText(const std::string& text) = 0;

    // VolNoEdit: the sub number as typed, and its item list (the stored sub numbers).
    virtual std::string SubNumberText() const = 0;
    virtual void SetSubNumberText(const std::string& text) = 0;
    virtual void ClearSubNumberItems() = 0;
    virtual void AddSubNumberItem(const std::string& text) = 0;

    virtual void SetEnabled(FilingControl control, bool enabled) = 0;
    virtual bool IsEnabled(FilingControl control) const = 0;
    // The caption of SaveButton: "保存" for a new chart, "追加" for an add.
    virtual void SetSaveCaption(const std::string& text) = 0;

    // StatusMess1 … StatusMess3 (n = 1 … 3), and the colour of all three.
    virtual void SetStatusMessage(int n, const std::string& text) = 0;
    virtual void SetStatusMessageColour(MessageColour colour) = 0;

    // The input fields of the header tabs and the keyword tab as they stand now, and
    // putting a changed view back into them. A flow reads, changes and shows in one go.
    // ShowFields sets the fields the view holds and leaves every other field as it is.
    virtual FieldView ReadFields() const = 0;
    virtual void ShowFields(const FieldView& view) = 0;

    // The main window's reset for a new chart (ClearRecord): status panel 1 cleared, the
    // page-check tab shown, the sub-number box emptied and disabled, the message fields
    // cleared, the chart buttons disabled, the input fields and keyword texts emptied (the
    // record part: ClearRecord of record/RecordChecks.h), the filing mode back to none.
    virtual void ClearRecord() = 0;

    // Shows a tab of the main window by its page name ("KanjaKihon", …).
    virtual void ShowTab(const std::string& /*pageName*/) {}
    // The start panel gives way to the tabs.
    virtual void HideCommercial() {}
    // The busy lock of the main window (nested locks restore at the outermost unlock).
    virtual void LockControls(bool /*lock*/) {}

    // The warning window TNotMakeFolder for a chart folder that cannot be made; returns
    // when the person closed it with "了解".
    virtual void ShowNotMakeFolder(const std::string& folder) = 0;

    // The scanner folder was emptied after a save: the window's scanner file list is
    // listed again.
    virtual void RefreshScannerFileList() {}
};

// State of the chart being filed, kept by the main window between the flows.
struct FilingState {
    ChartFilingMode Mode = ChartFilingMode::None;
    // Set by the patient confirmation: the number confirmed (also when a later check of the
    // confirmation refused it) and the last one that passed every check (0: none since the
    // start or the last reset of the main window).
    long ConfirmedPatient = 0;
    long LastConfirmedPatient = 0;
    // Set by the sub-number choice (also when the range check then refused it).
    long SelectedSubNo = 0;
    // A save or an add is running; a second press of Save meanwhile is ignored.
    bool Saving = false;
    // The number of the next add file (Temp<n>.pdf in the Temp folder); starts at 1 and
    // grows for every add file written, so no name is reused within a run.
    int AddFileCounter = 1;
};

// Everything a filing flow uses. The objects belong to the main window (or to
// pendlar-tool / a test) and outlive the context.
struct FilingContext {
    TRegistory& Settings;
    TLogs& Logs;
    UserInterface& Ui;
    ChartDatabase& Db; // the connection, its queries and the five lookup lists
    TCaruteDate& Calendar;
    TDirFile& DirFile;   // the chart folder object
    ChartRecord& Record; // written by the checks, the import and the save
    PageIntake& Intake;  // the page list of the chart being filed and the scanner folder
    ChartPdfComposer& Composer;
    FilingWindow& Window;
    FilingState& State;

    // The security policy of the run (applied after a chart is written when PolicyUse is
    // on). Returns false when it could not be applied; the caller goes on either way.
    // Empty: no policy support is wired, and PolicyUse changes nothing.
    std::function<bool(const std::string& sjisPath)> ApplySecurityPolicy = nullptr;

    // The billing-record decryptor of the run (its key read from iji.key). nullptr: no key,
    // so every billing record fails its signature check.
    const TProtectData* Protect = nullptr;

    // The page add's document layer: makes one document object (stored chart, add file).
    // Empty: the qpdf layer. Tests put a failing layer here.
    std::function<std::unique_ptr<CAcroPDDoc>()> MakeAcroPDDoc = nullptr;
    // Passwords a protected stored chart may open with (the owner password of the held
    // security policy). Empty: none, so a chart with a user password cannot be extended.
    std::function<std::vector<std::string>()> ChartPasswords = nullptr;
};

// The lookup lists of the database in the form the chart composition reads them.
ChartLookupLists LookupListsOf(const ChartDatabase& db);

// The chart composition's view of the chart being filed: the chart record, the page list
// of the intake (with each page's file in the scanner folder), the lookup lists and the
// filing mode. Holds references; build it right before the PDF is written.
class FilingPdfSource : public ChartPdfSource {
public:
    explicit FilingPdfSource(const FilingContext& context);
    const ChartRecord& Record() const override;
    std::size_t PageCount() const override { return pages_.size(); }
    const ChartPage& Page(std::size_t index) const override { return pages_[index]; }
    const ChartLookupLists& Lookups() const override { return lists_; }
    ChartFilingMode FilingMode() const override { return mode_; }

private:
    const ChartRecord& record_;
    std::vector<ChartPage> pages_;
    ChartLookupLists lists_;
    ChartFilingMode mode_;
};

// A FilingWindow over plain values, for pendlar-tool and the tests. The field view is
// the input fields; ClearRecord resets it and the chart record as the window does.
class PlainFilingWindow : public FilingWindow {
public:
    explicit PlainFilingWindow(ChartRecord& record, FilingState& state)
        : record_(record), state_(state) {}

    std::string PatientText, SubNoText, SaveCaption = "\x95\xdb\x91\xb6"; // 保存
    std::vector<std::string> SubNoItems;
    std::string StatusMess[3];
    MessageColour Colour = MessageColour::White;
    FieldView Fields;
    std::vector<std::string> NotMadeFolders; // folders TNotMakeFolder was shown for
    std::string ShownTab;
    int ClearRecordCount = 0;
    int ScannerListRefreshed = 0;

    std::string PatientNumberText() const override { return PatientText; }
    void SetPatientNumberText(const std::string& text) override { PatientText = text; }
    std::string SubNumberText() const override { return SubNoText; }
    void SetSubNumberText(const std::string& text) override { SubNoText = text; }
    void ClearSubNumberItems() override { SubNoItems.clear(); }
    void AddSubNumberItem(const std::string& text) override { SubNoItems.push_back(text); }
    void SetEnabled(FilingControl control, bool enabled) override;
    bool IsEnabled(FilingControl control) const override;
    void SetSaveCaption(const std::string& text) override { SaveCaption = text; }
    void SetStatusMessage(int n, const std::string& text) override;
    void SetStatusMessageColour(MessageColour colour) override { Colour = colour; }
    FieldView ReadFields() const override { return Fields; }
    // As the tabs do: the fields of the view are set, every other field stays.
    void ShowFields(const FieldView& view) override {
        for (const auto& [name, value] : view)
            Fields[name] = value;
    }
    void ClearRecord() override;
    void ShowTab(const std::string& pageName) override { ShownTab = pageName; }
    void ShowNotMakeFolder(const std::string& folder) override { NotMadeFolders.push_back(folder); }
    void RefreshScannerFileList() override { ++ScannerListRefreshed; }

private:
    ChartRecord& record_;
    FilingState& state_;
    bool enabled_[8] = {true, false, false, false, false, false, false, true};
};

} // namespace pendlar
