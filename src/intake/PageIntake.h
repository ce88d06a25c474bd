// Page intake and the page check list: the page list of the chart being filed with its
// thumbnails, every command that takes pages in, the two raw-page tabs with the QR frame,
// the patient number read from the first page, and reordering, deleting and captioning
// pages.
//
// The class holds the logic and the state; the window it belongs to is reached through
// IntakeHost (controls, tabs, the thumbnail view, dialogs of its own) and the person through
// UserInterface. Nothing here knows the toolkit, so every flow runs in tests without one.
#pragma once

#include "intake/PageList.h"
#include "intake/QRFrameTracker.h"
#include "intake/ReadSettings.h"
#include "intake/ScannerSource.h"
#include "util/Bitmap.h"
#include "util/UserInterface.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pendlar {

class TDicomImage;
class TQRDecode;
class ThumbnailQueue;
class TRegistory;
struct TLogs;

// A failure of one page during an intake; its message (Shift-JIS) is shown as it is.
class EIntakeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class IntakeTab { PageCheck, PatientCheck, QRFrame, Other };

// Mouse buttons and modifier keys as the thumbnail view reports them.
enum class MouseButton { Left, Middle, Right };
enum ModifierKey : unsigned { NoKey = 0, ShiftKey = 1, CtrlKey = 2, AltKey = 4 };

// What a mouse release over the thumbnail view asks for.
enum class PageViewAction { None, Select, Delete, ShowFullSize, OpenEditor };
PageViewAction PageViewActionFor(MouseButton button, unsigned modifiers);

struct ImageSaveChoice {
    std::string Path;    // Shift-JIS
    int FilterIndex = 1; // 1-based index of the chosen filter
};

// The window side of the intake. Every member has a harmless default so that tests and
// tools override only what they look at.
class IntakeHost {
public:
    virtual ~IntakeHost() = default;

    virtual void HideCommercial() {}
    virtual void LockControls(bool /*lock*/) {}
    virtual void ActivatePageCheckTab() {}
    virtual IntakeTab ActiveTab() const { return IntakeTab::PageCheck; }
    // Disables PrintBtn and EraseBtn, and SaveButton too when asked.
    virtual void DisableChartButtons(bool /*saveButtonToo*/) {}
    virtual void CheckSaveReady() {}
    virtual void UpdateTabVisibility() {}
    // IdEdit receives the patient number (Shift-JIS).
    virtual void SetPatientNumber(const std::string& /*text*/) {}
    virtual void SetTwainReadEnabled(bool /*enabled*/) {}

    // A multi-select open dialog: nullopt when cancelled, an empty list when nothing was
    // chosen. Paths are Shift-JIS, in the dialog's order.
    virtual std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogSpec&) {
        return std::nullopt;
    }
    // The save dialog of an acquired image; nullopt when cancelled.
    virtual std::optional<ImageSaveChoice> ChooseImageSaveFile(const FileDialogSpec&) {
        return std::nullopt;
    }
    // The warning window before the scanner folder is emptied; true for "Ok".
    virtual bool ConfirmFolderClear(const std::string& /*sjisFolder*/) { return false; }
    // The scanner chooser: the index of the chosen device, or nullopt.
    virtual std::optional<int> ChooseScanner(const std::vector<ScannerDevice>&) {
        return std::nullopt;
    }

    // The thumbnail view mirrors PageIntake::ViewItems(); these say what changed.
    virtual void ViewCleared() {}
    virtual void ViewItemAdded(int /*index*/) {}
    virtual void ViewItemsChanged(int /*first*/, int /*last*/) {}
    virtual void ViewLastItemRemoved() {}
    virtual void ThumbnailsReset() {}
    virtual void ThumbnailReplaced(int /*imageIndex*/) {}

    // The raw-page tabs: show PageIntake::FirstPage() in Image1, SecondPage() in Image2
    // (or hide Image2), FirstPage() at full size in Image3, and XOR a frame onto Image3.
    virtual void ShowFirstPage() {}
    virtual void ShowSecondPage(bool /*visible*/) {}
    virtual void ShowQRPage() {}
    virtual void XorFrame(const QRFrameRect&) {}

    // The full-size viewer and the page editor for page `index`.
    virtual void OpenBigImage(int /*index*/) {}
    virtual void OpenPageEditor(int /*index*/) {}
};

class PageIntake {
public:
    PageIntake(TRegistory& settings, TLogs& logs, UserInterface& ui, TDicomImage& dicom,
               TQRDecode& decoder, IntakeHost& host);
    ~PageIntake();
    PageIntake(const PageIntake&) = delete;
    PageIntake& operator=(const PageIntake&) = delete;

    // Threads that make the thumbnails of an intake ahead of the page being added:
    // 0 one per processor (the default), 1 none (every thumbnail on the calling thread).
    // The pages, thumbnails, texts and log lines are the same either way.
    void SetThumbnailThreads(int threads) { thumbnailThreads_ = threads; }

    // --- the page list ---
    const std::vector<APageList>& Pages() const { return pages_; }
    std::vector<APageList>& Pages() { return pages_; }
    const ThumbnailImageList& ThumbNailList() const { return thumbs_; }
    struct ViewItem {
        int ImageIndex = -1;
        std::string Caption;
        friend bool operator==(const ViewItem&, const ViewItem&) = default;
    };
    const std::vector<ViewItem>& ViewItems() const { return items_; }

    void ClearPageList();
    void ResetThumbnailList();
    void AddPageRecord(const std::string& path);
    int MakeThumbnail(const std::string& path);
    void RedrawThumbnail(const std::string& path, int index);
    bool RebuildPageView();
    bool OpenDicomPage(const std::string& path, bool withText);
    // The lines OpenDicomPage took from the last DICOM file.
    const std::vector<std::string>& IntakeTextList() const { return textList_; }

    // Where the file of a page lies: the scanner folder and the file-name part of `path`.
    std::string PageFile(const std::string& path) const;

    // --- commands ---
    void ScannerReadClick(bool addPages);
    void ImageReadClick(bool addPages);
    void ReadFilesClick();
    void ScanFolderClearClick();
    void TwainSourceMenuClick();
    void TwainReadMenuClick();
    // The intake settings dialog was confirmed with these values.
    void ReadSetConfirmed(const ReadSettings& values);
    void ShowTabPages();
    void PatientCheck();
    void ShowQRFramePage();

    // --- the QR frame on the QR-frame tab ---
    void Image3MouseDown(int x, int y);
    void Image3MouseMove(int x, int y);
    void Image3MouseUp(int x, int y);
    const QRFrameTracker& Frame() const { return frame_; }
    bool PageShown() const { return pageShown_; }
    // The chart record was reset: the raw page must be shown again before a frame is drawn.
    void ResetForNewChart();

    const Bitmap& FirstPage() const { return firstPage_; }
    const Bitmap& SecondPage() const { return secondPage_; }

    // --- the page check list ---
    int SelectedPage() const { return selected_; }
    void SetSelectedPage(int index) { selected_ = index; }
    // `itemUnder` is the index of the item under the pointer, or -1.
    void ListView1MouseUp(MouseButton button, unsigned modifiers, int itemUnder);
    void ListView1StartDrag();
    // True when the drop would be accepted.
    bool ListView1DragOver(bool sourceIsPageView, int itemUnder);
    // `target` is the item dropped on, or -1 for empty space.
    void ListView1DragDrop(int target);
    void PageDeleteMenuClick();
    // A caption edited in place; returns the text the item shows afterwards.
    std::string ListView1Edited(int index, const std::string& text);
    void PageRedispMenuClick();
    // The page editor closed on page `index` with these results.
    void PageEditorClosed(int index, const std::string& caption,
                          const std::vector<std::string>& noteLines, bool fileRewritten);

    const TRegistory& Settings() const { return settings_; }

    // --- the scanner ---
    void SetScanner(ScannerSource* scanner) { scanner_ = scanner; }
    const std::string& ChosenScanner() const { return chosenScanner_; }

    static constexpr std::size_t kCaptionBytes = 18;
    static constexpr std::size_t kEditorCaptionBytes = 16;

private:
    class ThumbnailPlan;
    // Adds the pages of `order` in that order (skipping names already listed when adding),
    // with their thumbnails made ahead on the worker threads; then the first page is the
    // selected one, status panel 0 shows the page count and the raw-page tabs are redrawn.
    void TakePages(const std::vector<std::string>& order, bool addPages);
    // Starts making the thumbnails of `paths`, the pages about to be added in this order.
    void PlanThumbnails(const std::vector<std::string>& paths);
    void SubmitPlannedThumbnails();
    std::optional<Bitmap> PageThumbnail(const std::string& path);

    enum class RawLoad { Loaded, Silent, CannotOpen, Unsupported };
    RawLoad LoadRawPage(const std::string& path, bool dicomAllowed, Bitmap& into);
    bool ReportRawLoad(RawLoad result);
    void ReadQRNumber();
    void ReadFileNameNumber();
    void ApplyFrameStep(const QRFrameTracker::Step& step);
    void RewriteItems(int first, int last);
    void SetStatus(int panel, const char* utf8);

    TRegistory& settings_;
    TLogs& logs_;
    UserInterface& ui_;
    TDicomImage& dicom_;
    TQRDecode& decoder_;
    IntakeHost& host_;
    ScannerSource* scanner_ = nullptr;

    std::vector<APageList> pages_;
    ThumbnailImageList thumbs_;
    std::vector<ViewItem> items_;
    std::vector<std::string> textList_;

    Bitmap firstPage_, secondPage_;
    bool pageShown_ = false;
    QRFrameTracker frame_;

    int selected_ = -1;
    int dragItem_ = -1;
    bool dragStarted_ = false;
    std::string chosenScanner_;

    int thumbnailThreads_ = 0;
    std::unique_ptr<ThumbnailQueue> ahead_;
    std::vector<std::string> planned_;
    std::size_t plannedNext_ = 0;
};

} // namespace pendlar
