#include "app/AppWindows.h"

#include "app/BigImageUnit.h"
#include "app/DeleteWarningUnit.h"
#include "app/InfoUnit.h"
#include "app/MainUnit.h"
#include "app/PdfWriteUnit.h"
#include "app/ReadSettingUnit.h"
#include "app/WriteSettingUnit.h"
#include "intake/ui/ShowImageUnit.h"
#include "logs/ui/ErrorLogUnit.h"
#include "logs/ui/LogFileUnit.h"
#include "logs/ui/LogWarningUnit.h"
#include "qrcode/ui/FaceUnit.h"
#include "qrcode/ui/PrintExecUnit.h"
#include "qrcode/ui/PrintFormatUnit.h"
#include "qrcode/ui/PrintPanelSetUnit.h"
#include "qrcode/ui/PrintSetUnit.h"
#include "qrcode/ui/QRImagePropertyUnit.h"
#include "qrcode/ui/TestDataUnit.h"
#include "qrcode/ui/TextPropertyUnit.h"
#include "record/ui/KeyMainteUnit.h"
#include "store/ui/AppendSetUnit.h"
#include "store/ui/DBSearchUnit.h"
#include "store/ui/DBUnit.h"
#include "store/ui/FileSetUnit.h"
#include "store/ui/NotMakeFolderUnit.h"
#include "util/ui/TimeSettingUnit.h"

namespace pendlar {

ApplicationWindows::ApplicationWindows() = default;
ApplicationWindows::~ApplicationWindows() = default;

std::unique_ptr<ApplicationWindows> CreateApplicationWindows(UserInterface* ui) {
    auto w = std::make_unique<ApplicationWindows>();
    w->MainForm = std::make_unique<TMainForm>(ui);
    TMainForm* main = w->MainForm.get();
    auto add = [&w](auto* window) {
        w->InCreationOrder.push_back(window);
        return window;
    };
    add(main);
    w->ReadSet = add(new TReadSet(main));
    w->ImageShow = add(new TImageShow(main->UI(), main));
    w->Log = add(new TLog(main, main->Logs, *main->Registory, main->UI()));
    w->info = add(new Tinfo(main));
    w->PdfWriteForm = add(new TPdfWriteForm(main));
    w->NotMakeFolder = add(new TNotMakeFolder(main));
    w->FaceForm = add(new TFaceForm(main, *main->Registory, main->UI()));
    w->PrintFormatForm = add(new TPrintFormatForm(main, *main->Registory, main->UI()));
    w->TxtAtrForm = add(new TTxtAtrForm(main));
    w->QRimgAtrForm = add(new TQRimgAtrForm(main));
    w->PrintSetForm = add(new TPrintSetForm(main));
    w->PrintPanelSetForm = add(new TPrintPanelSetForm(main));
    w->PrintExecForm = add(new TPrintExecForm(main));
    w->ErrorLogForm = add(new TErrorLogForm(main, main->Logs, main->UI()));
    w->FileSetForm = add(new TFileSetForm(main));
    w->TestDataForm = add(new TTestDataForm(main));
    w->DeleteWarningForm = add(new TDeleteWarningForm(main));
    w->LogWarningForm = add(new TLogWarningForm(main));
    w->DBSearchForm = add(new TDBSearchForm(main, *main->Registory, *main->Database, main->UI()));
    w->TimeSet = add(new TTimeSet(main));
    w->WriteSetForm = add(new TWriteSetForm(main));
    // One warning window for the folder clearing, whichever command asks.
    w->WriteSetForm->DeleteWarningForm = w->DeleteWarningForm;
    w->KeyMainteForm = add(new TKeyMainteForm(main));
    w->DBForm = add(new TDBForm(main, main->UI()));
    w->AppendSetForm = add(new TAppendSetForm(main));
    w->BigImageForm = add(new TBigImageForm(main));
    w->FaceForm->SetWindows(w->PrintFormatForm, w->PrintSetForm);
    w->PrintFormatForm->SetWindows(w->TxtAtrForm, w->QRimgAtrForm, w->PrintPanelSetForm,
                                   w->TestDataForm, w->PrintExecForm);
    main->SetWindows(w.get());
    return w;
}

} // namespace pendlar
