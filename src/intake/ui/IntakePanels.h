// The intake's part of the main window: the page-check tab with the thumbnail view, the
// patient-check tab with the first two pages, the QR-frame tab with the first page at full
// size, and the window side of PageIntake (IntakeHost) over them.
//
// The main window puts the three pages into its tab control and connects the hooks below
// to its own controls (busy lock, IdEdit, buttons, tabs); dialogs are Qt's unless a test
// sets the chooser functions.
#pragma once

#include "intake/PageIntake.h"

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

namespace pendlar {

class PageCheckView;
class QRFrameImage;
class ScannerChooser;
class TBigImageForm;
class TDeleteWarningForm;
class TReadSet;

// The main window's controls of the intake commands; any may be nullptr.
struct IntakeCommands {
    QPushButton *ScannerOpenNew = nullptr, *ScannerOpenAdd = nullptr;
    QAction *ImageRead = nullptr, *ImageAdd = nullptr, *ReadFiles = nullptr;
    QAction *TwainSourceMenu = nullptr, *TwainReadMenu = nullptr;
    QAction *ScanFolderClear = nullptr, *PageDeleteMenu = nullptr, *PageRedispMenu = nullptr;
    QAction* ReadImage = nullptr;
    TReadSet* ReadSet = nullptr;
};

class IntakePanels : public IntakeHost {
public:
    IntakePanels(TRegistory& settings, TLogs& logs, UserInterface& ui, TDicomImage& dicom,
                 TQRDecode& decoder, QWidget* dialogParent);
    ~IntakePanels() override;

    PageIntake& Intake() { return *intake_; }

    // The tab pages (parentless until the main window takes them) and their controls.
    QWidget* Pagekakunin;
    QWidget* Kanjakakunin;
    QWidget* QRwaku;
    PageCheckView* ListView1;
    QLabel *Image1, *Image2;
    QScrollArea* ScrollBox1;
    QRFrameImage* Image3;

    // The windows this part shows; set by the main window (nullptr: made on demand).
    TDeleteWarningForm* DeleteWarningForm = nullptr;
    TBigImageForm* BigImageForm = nullptr;

    // Hooks to the main window.
    std::function<void()> OnHideCommercial;
    std::function<void(bool)> OnLockControls;
    std::function<void()> OnActivatePageCheckTab;
    std::function<IntakeTab()> OnActiveTab;
    std::function<void(bool)> OnDisableChartButtons;
    std::function<void()> OnCheckSaveReady;
    std::function<void()> OnUpdateTabVisibility;
    std::function<void(const std::string&)> OnPatientNumber;
    std::function<void(bool)> OnTwainReadEnabled;
    std::function<void(int)> OnOpenPageEditor;

    // Replacements of the Qt dialogs (tests).
    std::function<std::optional<std::vector<std::string>>(const FileDialogSpec&)> FilesChooser;
    std::function<std::optional<ImageSaveChoice>(const FileDialogSpec&)> SaveChooser;
    std::function<bool(const std::string&)> ClearConfirmer;
    std::function<std::optional<int>(const std::vector<ScannerDevice>&)> DeviceChooser;

    // Puts the thumbnail view into the main window's page-check tab and the scroll box with
    // Image3 into its QR-frame tab, and shows the first two pages in the main window's own
    // Image1 and Image2 (which it lays out itself). The panels' own pages are then unused.
    void AttachTo(QWidget* pagekakunin, QWidget* qrwaku, QLabel* image1, QLabel* image2);
    // Runs the intake commands from the main window's buttons and menu entries.
    void ConnectCommands(const IntakeCommands& commands);
    // Where acquisitions come from (SANE unless a test sets another).
    void SetScanner(ScannerSource* scanner) { intake_->SetScanner(scanner); }

    // Lays out the two pages of the patient-check tab side by side.
    void KanjakakuninResize();
    // "読込設定": the intake settings dialog given to ConnectCommands, and its values taken
    // in on "設定".
    void ReadImageClick();

    // IntakeHost
    void HideCommercial() override;
    void LockControls(bool lock) override;
    void ActivatePageCheckTab() override;
    IntakeTab ActiveTab() const override;
    void DisableChartButtons(bool saveButtonToo) override;
    void CheckSaveReady() override;
    void UpdateTabVisibility() override;
    void SetPatientNumber(const std::string& text) override;
    void SetTwainReadEnabled(bool enabled) override;
    std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogSpec& request) override;
    std::optional<ImageSaveChoice> ChooseImageSaveFile(const FileDialogSpec& request) override;
    bool ConfirmFolderClear(const std::string& sjisFolder) override;
    std::optional<int> ChooseScanner(const std::vector<ScannerDevice>& devices) override;
    void ViewCleared() override;
    void ViewItemAdded(int index) override;
    void ViewItemsChanged(int first, int last) override;
    void ViewLastItemRemoved() override;
    void ThumbnailsReset() override;
    void ThumbnailReplaced(int imageIndex) override;
    void ShowFirstPage() override;
    void ShowSecondPage(bool visible) override;
    void ShowQRPage() override;
    void XorFrame(const QRFrameRect& frame) override;
    void OpenBigImage(int index) override;
    void OpenPageEditor(int index) override;

private:
    std::unique_ptr<PageIntake> intake_;
    QWidget* dialogParent_;
    TReadSet* readSet_ = nullptr;
};

} // namespace pendlar
