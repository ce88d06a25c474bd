// The cover-sheet designer ("表紙印刷"): the design page with the ten text items and the QR
// symbol, dragging, the property windows, the page settings, test data, test printing and
// the batch printing of a patient list. The layout lives in the settings: the window loads
// it when it opens and writes it back when it closes.
#pragma once

#include "qrcode/ui/CoverSheetPrinter.h"
#include "qrcode/ui/ModalRunner.h"

#include <QDialog>
#include <QPoint>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPrinter;
class QScrollArea;
class QStatusBar;

namespace pendlar {

class TPrintExecForm;
class TPrintPanelSetForm;
class TQRCode;
class TQRimgAtrForm;
class TRegistory;
class TTestDataForm;
class TTxtAtrForm;
class UserInterface;

class TPrintFormatForm : public QDialog {
public:
    TPrintFormatForm(QWidget* parent, TRegistory& settings, UserInterface& ui);
    ~TPrintFormatForm() override;

    // The windows this one opens; any left unset is made on first use.
    void SetWindows(TTxtAtrForm* text, TQRimgAtrForm* qr, TPrintPanelSetForm* panel,
                    TTestDataForm* testData, TPrintExecForm* exec);
    // Shows the other windows; exec() unless set.
    ModalRunner Modal;
    // The printer every sheet goes to (set up by the cover-sheet window's printer dialog).
    QPrinter& Printer();
    // The patient list "印刷" prints from (Shift-JIS lines); the caller enables FileNemu.
    void SetPrintLines(const std::vector<std::string>* lines) { lines_ = lines; }

    void FormShow();
    void FormClose();
    void PanelSetClick();
    void TestDataInputClick();
    void TestPrintClick();
    void PrintExecMenuClick();
    // Prints lines first to last (1-based) of the patient list, one sheet each. False, with
    // the reason in the status bar, when nothing could be printed.
    bool PrintLines(int first, int last);

    // Mouse handlers of the eleven items (0-9 the text items in print order, 10 the symbol).
    void ItemMouseDown(int item, Qt::MouseButton button, QPoint pos);
    void ItemMouseMove(int item, QPoint pos);
    void ItemMouseUp(int item, Qt::MouseButton button);

    // The sheet as it would print now.
    CoverSheetPage CurrentPage() const;
    // The current state of a text item (position, print flag, font).
    const TCoverItemRecord& Item(int i) const { return items_[static_cast<std::size_t>(i)]; }

    QMenuBar* MainMenu;
    QAction* FileNemu;
    QMenu* DesignMenu;
    QAction *PanelSet, *TestDataInput, *TestPrint;
    QScrollArea* ScrollBox1;
    QWidget* PagePanel;
    QLabel *LabelIDNo, *LabelName, *LabelSex, *LabelBirth, *LabelAddress;
    QLabel *IDNoLabel, *NameLabel, *SexLabel, *BirthLabel, *AddressLabel;
    std::array<QLabel*, kCoverItemCount> Items; // the ten above, in print order
    TQRCode* QRImage;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyItem(int i);
    void ShowSymbol(const std::string& code);
    void SetStatus(const QString& text);
    bool BeginDocument(class QPainter& painter);

    TRegistory& settings_;
    UserInterface& ui_;
    TTxtAtrForm* textForm_ = nullptr;
    TQRimgAtrForm* qrForm_ = nullptr;
    TPrintPanelSetForm* panelForm_ = nullptr;
    TTestDataForm* testDataForm_ = nullptr;
    TPrintExecForm* execForm_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    const std::vector<std::string>* lines_ = nullptr;
    std::array<TCoverItemRecord, kCoverItemCount> items_;
    std::array<bool, kCoverItemCount + 1> pressed_{};
    std::array<QPoint, kCoverItemCount + 1> pressPoint_{};
    bool shownOnce_ = false;
};

} // namespace pendlar
