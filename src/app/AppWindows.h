// The program's windows, created once at start in their fixed order (the main window
// first) and kept until the program ends; each secondary window is shown on demand.
#pragma once

#include <memory>
#include <vector>

class QWidget;

namespace pendlar {

class TAppendSetForm;
class TBigImageForm;
class TDBForm;
class TDBSearchForm;
class TDeleteWarningForm;
class TErrorLogForm;
class TFaceForm;
class TFileSetForm;
class TImageShow;
class TKeyMainteForm;
class TLog;
class TLogWarningForm;
class TMainForm;
class TNotMakeFolder;
class TPdfWriteForm;
class TPrintExecForm;
class TPrintFormatForm;
class TPrintPanelSetForm;
class TPrintSetForm;
class TQRimgAtrForm;
class TReadSet;
class TTestDataForm;
class TTimeSet;
class TTxtAtrForm;
class TWriteSetForm;
class Tinfo;
class UserInterface;

struct ApplicationWindows {
    ApplicationWindows();
    ~ApplicationWindows();

    std::unique_ptr<TMainForm> MainForm;
    // Owned by the main window (its children).
    TReadSet* ReadSet = nullptr;
    TImageShow* ImageShow = nullptr;
    TLog* Log = nullptr;
    Tinfo* info = nullptr;
    TPdfWriteForm* PdfWriteForm = nullptr;
    TNotMakeFolder* NotMakeFolder = nullptr;
    TFaceForm* FaceForm = nullptr;
    TPrintFormatForm* PrintFormatForm = nullptr;
    TTxtAtrForm* TxtAtrForm = nullptr;
    TQRimgAtrForm* QRimgAtrForm = nullptr;
    TPrintSetForm* PrintSetForm = nullptr;
    TPrintPanelSetForm* PrintPanelSetForm = nullptr;
    TPrintExecForm* PrintExecForm = nullptr;
    TErrorLogForm* ErrorLogForm = nullptr;
    TFileSetForm* FileSetForm = nullptr;
    TTestDataForm* TestDataForm = nullptr;
    TDeleteWarningForm* DeleteWarningForm = nullptr;
    TLogWarningForm* LogWarningForm = nullptr;
    TDBSearchForm* DBSearchForm = nullptr;
    TTimeSet* TimeSet = nullptr;
    TWriteSetForm* WriteSetForm = nullptr;
    TKeyMainteForm* KeyMainteForm = nullptr;
    TDBForm* DBForm = nullptr;
    TAppendSetForm* AppendSetForm = nullptr;
    TBigImageForm* BigImageForm = nullptr;

    // Every window in the order it was created.
    std::vector<QWidget*> InCreationOrder;
};

// Creates the 26 windows. `ui` reaches the person (nullptr: the Qt dialogs).
std::unique_ptr<ApplicationWindows> CreateApplicationWindows(UserInterface* ui = nullptr);

} // namespace pendlar
