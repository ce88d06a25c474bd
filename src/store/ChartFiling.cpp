#include "store/ChartFiling.h"

#include "intake/PageIntake.h"
#include "record/FieldTable.h"
#include "record/Keywords.h"
#include "record/RecordChecks.h"
#include "settings/Registory.h"
#include "store/Database.h"
#include "store/FilingContext.h"
#include "store/Query.h"
#include "util/DirFile.h"
#include "util/TextHelpers.h"

namespace pendlar {

std::array<std::string, 8> KeywordTexts(const FieldView& view) {
    std::array<std::string, 8> texts;
    for (int n = 1; n <= kKeywordCount; ++n)
        texts[n - 1] = FieldOf(view, KeyBoxName(n)).Text;
    return texts;
}

bool RequiredKeywordsFilled(const TRegistory& settings, const FieldView& view) {
    if (!settings.KeyWordUse)
        return true;
    const std::array<std::string, 8> texts = KeywordTexts(view);
    for (int n = 0; n < kKeywordCount; ++n)
        if (settings.UseKeyLabel[n] && texts[n].empty())
            return false;
    return true;
}

HeaderCheck HeaderCheckOf(int headerOut) {
    if (headerOut == 1)
        return HeaderCheck::Outpatient;
    if (headerOut == 2)
        return HeaderCheck::Inpatient;
    return HeaderCheck::None;
}

bool RunHeaderChecks(FilingContext& context) {
    const HeaderCheck kind = HeaderCheckOf(context.Settings.HeaderOut);
    if (kind == HeaderCheck::None)
        return true;
    FieldView view = context.Window.ReadFields();
    bool ok;
    if (kind == HeaderCheck::Outpatient) {
        ok = CheckOutpatientRecord(view, context.Record, context.Calendar, context.Ui);
        // The outpatient check sets the day labels of the workers' accident periods and
        // their marks; only those are shown again, the typed fields stay as they are.
        FieldView outputs;
        for (const auto& [name, value] : view)
            if (const FieldInfo* f = FindField(name);
                f && (f->Kind == FieldKind::DayLabel || f->Kind == FieldKind::ErrorMark))
                outputs[name] = value;
        context.Window.ShowFields(outputs);
    } else {
        ok = CheckInpatientRecord(view, context.Record, context.Calendar, context.Ui);
    }
    return ok;
}

std::string ChartFileName(const TRegistory& settings, long patient, long sub, TDateTime today) {
    std::string name =
        "HP" + settings.HPCode + "_" + std::to_string(patient) + "_" + std::to_string(sub);
    if (settings.WriteDate) {
        const CivilDate d = DecodeDate(today);
        name += "_" + std::to_string(d.Year) + "_" + std::to_string(d.Month) + "_" +
                std::to_string(d.Day);
    }
    name += "_" + settings.KaCode;
    if (settings.NyuGai) {
        if (settings.HeaderOut == 1)
            name += "G";
        else if (settings.HeaderOut == 2)
            name += "N";
    }
    return name + ".pdf";
}

std::string ChartFolder(const TRegistory& settings, TDirFile& dirFile, long patient) {
    dirFile.BaseFolder = settings.Target;
    dirFile.Prefix1 = settings.L1Front;
    dirFile.Prefix2 = settings.L2Front;
    dirFile.Prefix3 = settings.L3Front;
    dirFile.Prefix4 = settings.L4Front;
    dirFile.Suffix1 = settings.L1Back;
    dirFile.Suffix2 = settings.L2Back;
    dirFile.Suffix3 = settings.L3Back;
    dirFile.Suffix4 = settings.L4Back;
    dirFile.SetNumber(static_cast<std::uint32_t>(patient));
    return dirFile.FolderPath();
}

std::string ChartSavedLine(const TRegistory& settings, const std::string& folder,
                           const std::string& fileName, const FieldView& view) {
    std::string path = settings.NoUseBase ? "/" + fileName : folder + "/" + fileName;
    if (settings.UseLinuxPath)
        path = ToLinuxPath(path);
    // The leading field is a fixed "7" that the receiving system expects, not the patient.
    std::string line = settings.NoIdNo ? path : "7," + path;
    if (settings.KeyWordUse) {
        const std::array<std::string, 8> texts = KeywordTexts(view);
        for (int n = 0; n < kKeywordCount; ++n)
            if (settings.UseKeyLabel[n])
                line += ",\"" + texts[n] + "\"";
    }
    return line;
}

std::string CutBytes(std::string_view text, std::size_t bytes) {
    return std::string(text.substr(0, bytes));
}

std::string SqlQuoted(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

std::string ChartDateText() {
    return DateTimeText(Now());
}

void ClearScannerFolderAfterSave(FilingContext& context) {
    if (!context.Settings.FolderClear)
        return;
    EmptyFolder(context.Settings.ScannerDir);
    context.Window.RefreshScannerFileList();
    context.Intake.ClearPageList();
    context.Intake.ResetThumbnailList();
}

bool ExecInTransaction(Database& database, Query& query) {
    if (!database.BeginTransaction())
        return false;
    if (query.ExecSQL() && database.CommitTransaction())
        return true;
    database.RollbackTransaction();
    return false;
}

} // namespace pendlar
