// A filing station without a window, for the commands that file charts: the objects the
// main window owns, a person who answers every question with its first button and chooses
// no security policy, and the filing flows run on them step by step as the buttons would.
#pragma once

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
#include "store/SecurityPolicyFlows.h"
#include "util/CaruteDate.h"
#include "util/DirFile.h"
#include "util/ScriptedUserInterface.h"

#include <cstddef>
#include <optional>
#include <string>

namespace pendlar::tool {

class FilingStation {
public:
    // `settings` are loaded (and adjusted) by the caller and outlive the station.
    explicit FilingStation(TRegistory& settings);
    FilingStation(const FilingStation&) = delete;
    FilingStation& operator=(const FilingStation&) = delete;

    // Opens the database the settings name; false when it cannot be opened.
    bool OpenDatabase();
    // 確認 for the patient number and 選択 for the sub number (both Shift-JIS). nullopt
    // when the chart can be saved; otherwise the exit status after the first failure,
    // with `cannotSave` when the flows said nothing.
    std::optional<int> ConfirmAndChoose(const std::string& patient, const std::string& sub,
                                        const char* cannotSave);
    // 保存: prints the chart-saved lines and returns the exit status.
    int Save(const char* notSaved);
    // The exit status for the first warning or error shown since message `from`.
    int FirstFailure(std::size_t from, const char* fallback) const;

    TRegistory& Settings;
    TLogs Logs;
    ScriptedUserInterface Ui;
    TCaruteDate Calendar;
    ChartDatabase Db;
    TDicomImage Dicom{Ui};
    TQRDecode Decoder;
    IntakeHost Host;
    PageIntake Intake{Settings, Logs, Ui, Dicom, Decoder, Host};
    ChartRecord Record;
    FilingState State;
    PlainFilingWindow Window{Record, State};

private:
    // Nobody is there to choose a policy: preparing one ends as cancelled.
    class NoPolicyChoice : public SecurityPolicyChooser {
    public:
        std::optional<SecurityPolicy> ChooseSecurityPolicy() override { return std::nullopt; }
    };

    TDirFile dirFile_;
    ChartPdfComposer composer_{Settings, Calendar, Ui, &Dicom};
    const TProtectData protect_;
    NoPolicyChoice noChoice_;
    SecurityPolicyFlows policy_{Settings, Logs, Ui, noChoice_};
    FilingContext context_;
};

} // namespace pendlar::tool
