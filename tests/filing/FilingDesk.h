// A filing station without a window: the objects the main window owns, a database made
// for the test, a scanner folder, and the filing flows' context over a plain window.
#pragma once

#include "TempDir.h"

#include "intake/DicomImage.h"
#include "intake/PageIntake.h"
#include "logs/Logs.h"
#include "pdf/chart/PdfWriteUnit.h"
#include "qrdecode/QRDecode.h"
#include "record/ChartRecord.h"
#include "settings/Registory.h"
#include "store/ChartDatabase.h"
#include "store/FilingContext.h"
#include "store/ProtectData.h"
#include "util/CaruteDate.h"
#include "util/DirFile.h"
#include "util/ScriptedUserInterface.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace pendlar::test {

extern const char* const kIjiKey;

// A scripted person whose "let pending events run" can do something in the middle of a
// flow (the database goes read-only while the PDF is written, a second Save press).
class HookedUserInterface : public ScriptedUserInterface {
public:
    std::function<void()> OnEvents;
    void ProcessEvents() override {
        ScriptedUserInterface::ProcessEvents();
        if (OnEvents)
            OnEvents();
    }
};

using Row = std::map<std::string, std::string>;

struct FilingDesk {
    FilingDesk();
    ~FilingDesk();

    TempDir Dir;
    TRegistory Settings;
    TLogs Logs;
    HookedUserInterface Ui;
    TCaruteDate Calendar;
    ChartDatabase Db;
    TDicomImage Dicom{Ui};
    TQRDecode Decoder;
    IntakeHost Host;
    PageIntake Intake{Settings, Logs, Ui, Dicom, Decoder, Host};
    ChartRecord Record;
    FilingState State;
    PlainFilingWindow Window{Record, State};
    TDirFile DirFile;
    ChartPdfComposer Composer{Settings, Calendar, Ui, &Dicom};
    TProtectData Protect{std::string(kIjiKey)};
    FilingContext Context{.Settings = Settings,
                          .Logs = Logs,
                          .Ui = Ui,
                          .Db = Db,
                          .Calendar = Calendar,
                          .DirFile = DirFile,
                          .Record = Record,
                          .Intake = Intake,
                          .Composer = Composer,
                          .Window = Window,
                          .State = State,
                          .Protect = &Protect};

    std::string ScanDir() const;   // UTF-8
    std::string ChartsDir() const; // UTF-8

    // `count` small page images in the scanner folder, taken in by the intake.
    void ScanPages(int count);
    // The billing record (plain, before encryption) of a patient in PDF_DATA.
    void PutIji(long patient, const std::string& plain);
    void PutRawIji(long patient, const std::string& blob);
    // A PDF_PATH row and, when `file` is set, a file at its FILEPATH.
    std::string PutChart(long patient, long sub, bool file = true);

    // The buttons, as the person presses them.
    void Confirm(const std::string& patient);
    void Select(const std::string& sub);
    void Save();

    std::vector<Row> Rows();
    std::vector<std::string> MessagesUtf8() const;
    std::vector<std::string> ErrorLogUtf8() const;
    // Makes the connection refuse every write (as a database file that turned read-only).
    void SetReadOnly(bool readOnly);
};

} // namespace pendlar::test
