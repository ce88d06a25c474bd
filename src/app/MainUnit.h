// The main window: the patient-number bar, the page and header tabs, the status bar and
// the pop-up main menu. It owns the program-wide objects (settings, logs, calendar, chart
// folder, database, word lists), runs the start-up when it is first shown and the orderly
// shutdown when it closes, and offers the busy lock and tab visibility to the flows.
#pragma once

#include "intake/EditorWordLists.h"

#include "logs/Logs.h"
#include "record/ChartRecord.h"
#include "record/Keywords.h"
#include "store/FilingContext.h"

#include <QMainWindow>
#include <QPoint>
#include <QRect>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;

namespace pendlar {

class IntakePanels;
class SaneScanner;
class TDicomImage;
class TQRDecode;

class ChartDatabase;
class ChartPdfComposer;
class EventHook;
class MainFilingWindow;
class SecurityPolicyFlows;
class TPolicyForm;
class TProtectData;
class HeaderTabs;
class MainFormInterface;
class QtUserInterface;
class TCaruteDate;
class TDirFile;
class TRegistory;
class UserInterface;
struct ApplicationWindows;

class TMainForm : public QMainWindow {
public:
    // `ui` reaches the person; nullptr means the Qt dialogs. Runs FormCreate.
    explicit TMainForm(UserInterface* ui = nullptr);
    ~TMainForm() override; // FormDestroy

    // The other windows, created after this one; set before the window is shown.
    // The secondary windows, once they exist; the intake commands are connected then.
    void SetWindows(ApplicationWindows* windows);
    // Called once the window has closed for good (the program entry ends the loop).
    std::function<void()> OnClosed;

    // The interface every flow of this window uses.
    UserInterface& UI();
    // The secondary windows (nullptr until SetWindows).
    ApplicationWindows* Windows() const { return windows_; }
    // What the filing flows work with: this window and the program-wide objects.
    FilingContext& Filing();

    // Program-wide objects.
    std::unique_ptr<TRegistory> Registory;
    TLogs Logs;
    std::unique_ptr<TDirFile> DirFile;
    std::unique_ptr<TCaruteDate> CaruteDate;
    std::unique_ptr<ChartDatabase> Database;
    KeywordListSet KeywordLists; // Key1.txt … Key8.txt
    // The chart record the header checks write and the header pages read.
    ChartRecord Record;

    // Main-window state.
    QRect QRFrame;
    bool QRFrameDragging = false;
    // The filing mode, the confirmed patient and sub numbers, a save in progress.
    FilingState FilingNow;
    bool StartupDone() const { return startupDone_; }

    // Paths of the word lists (Shift-JIS).
    std::array<std::string, 8> KeyPaths;

    // Panel3: the patient-number bar.
    QWidget* Panel3;
    QLineEdit* IdEdit;
    QComboBox* VolNoEdit;
    QPushButton *PidBtn, *SubNoBtn, *EraseBtn, *PrintBtn, *SearchBtn, *SaveButton, *CloseButton;
    QLabel* MenuPanel;
    QPushButton *ScannerOpenNew, *ScannerOpenAdd, *LogBtn;
    QLineEdit *StatusMess1, *StatusMess2, *StatusMess3;

    // The tabs.
    QTabWidget* PageControl;
    QWidget *Pagekakunin, *Kanjakakunin, *QRwaku, *KanjaKihon, *Hoken, *KihonShinryo, *Rousai,
        *GairaiShinryo, *NyuinKiroku, *HokenKakunin, *Keyword;
    QLabel *Image1, *Image2;
    // The controls of the header tabs and the keyword tab, by field name.
    HeaderTabs* Header = nullptr;

    // The start panel shown in place of the tabs until the first real work.
    QWidget* Commercial;
    QLabel* ErasePoint;

    QStatusBar* StatusBar1;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;

    // The pop-up main menu.
    QMenu* PopMainMenu;
    QMenu *FilePopMenu, *EditMenu, *displayMenu, *SetMenu, *UtilNemu, *N34;
    QAction *ImageRead, *ImageAdd, *TwainSourceMenu, *TwainReadMenu, *ReadFiles, *CloseNemu;
    QAction *ScanFolderClear, *LogClearMenu, *ErrorLogMemu, *PageDeleteMenu, *PasteMenu;
    QAction *PageRedispMenu, *ErrorLogDisp;
    QAction *ReadImage, *SaveSetting, *LogSetMenu, *DateSetMenu, *DBSetMenu, *AppendMenu;
    QAction* PolicyMenu;
    QAction *TitlePage, *KeyMainte;
    QAction* GoodsInform;
    QAction* HelpMenu;

    // Start-up and shutdown.
    void FormCreate();
    void FormShow();
    // The shutdown questions and saving; false when the person chose to stay, or when a
    // command is still running (the shutdown then follows once it has ended).
    bool FormClose();
    bool CloseWaiting() const { return closeWaiting_; }

    // Operations the flows use.
    // lock = true disables the main controls and remembers their states; lock = false
    // restores exactly those states. Nested locks restore only at the outermost unlock.
    void LockControls(bool lock);
    void UpdateTabVisibility();
    void ClearRecord();
    void LoadKeywordLists();
    void SaveKeywordLists();
    void ApplyKeyLabels();
    void HideCommercial();

    // Handlers.
    void CloseButtonClick();
    void HelpMenuClick();
    void MenuPanelMouseUp(int x);
    void OpenMainMenuByKey();
    void PopMainMenuPopup();
    void EditMenuClick();
    void displayMenuClick();
    void KanjakakuninResize();
    void LogBtnClick();
    void LogClearMenuClick();
    void ErrorLogMemuClick();
    void ErrorLogDispClick();
    void DateSetMenuClick();
    void DBSetMenuClick();
    void SaveSettingClick();
    void GoodsInformClick();
    void PasteMenuClick();
    void KeyMainteClick();
    void TitlePageClick();
    // A tab change: the intake redraws the pages the new tab shows.
    void PageControlChange();

    // The filing commands of the patient-number bar and the menu.
    void PidBtnClick();
    void SubNoBtnClick();
    void PrintBtnClick();
    void EraseBtnClick();
    void SearchBtnClick();
    // A release on SaveButton: the right button opens the add settings at the pointer
    // (`pointer` in the button's coordinates), any other runs the save command.
    void SaveButtonMouseUp(Qt::MouseButton button, QPoint pointer);
    void GetIjiInfoBtnClick();
    void LogSetMenuClick();
    void AppendMenuClick();
    void PolicySetMenuClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct LockedItem {
        QWidget* Widget;
        QAction* Action;
        bool WasEnabled;
    };

    void BuildPanel3();
    void BuildTabs();
    void BuildCommercial();
    void BuildStatusBar();
    void BuildMenu();
    void ShowStatus(int panel, const std::string& sjisText);
    bool FilterEvent(QObject* watched, QEvent* event);
    std::vector<LockedItem> LockTargets() const;
    bool SaveButtonEnabledBeforeLock() const;
    // A command holds the busy lock, or is inside a message, a dialog or pending events.
    bool CommandRunning() const;
    void ResumeClose();

    // The page intake: its tabs, commands and the objects it reads pages with.
    void BuildIntake();
    void OpenPageEditor(int index);
    std::unique_ptr<TDicomImage> dicom_;
    std::unique_ptr<TQRDecode> qrDecode_;
    std::unique_ptr<SaneScanner> scanner_;
    std::unique_ptr<IntakePanels> intake_;

    // The filing flows: the chart composition, the billing-record key, the security policy
    // and the window interface they reach this window through.
    void BuildFiling();
    std::unique_ptr<ChartPdfComposer> composer_;
    std::unique_ptr<TProtectData> protect_;
    std::unique_ptr<MainFilingWindow> filingWindow_;
    std::unique_ptr<FilingContext> filing_;
    std::unique_ptr<SecurityPolicyFlows> policy_;
    TPolicyForm* policyForm_ = nullptr;

    std::unique_ptr<QtUserInterface> qtUi_;
    std::unique_ptr<MainFormInterface> ui_;
    ApplicationWindows* windows_ = nullptr;
    EventHook* hooks_ = nullptr;
    std::vector<LockedItem> locked_;
    int lockDepth_ = 0;
    bool shown_ = false;
    bool startupDone_ = false;
    bool settingsLoaded_ = false;
    bool closed_ = false;
    // A close the person confirmed while a command was running, and the unsaved save-log
    // lines they were asked about then.
    bool closeWaiting_ = false;
    std::size_t logLinesAnswered_ = 0;
    // The page editor's comment and bookmark lists as loaded from the data folder.
    EditorWordLists editorWords_;
};

} // namespace pendlar
