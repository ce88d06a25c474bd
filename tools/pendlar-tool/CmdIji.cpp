// iji-put and iji-show: writing and reading billing records as the billing system does,
// for integrators, the demo and the tests.
//
// The record file is UTF-8 text of Name=value lines with the record's field names. Texts
// may hold "\n" (a line break, stored as CR LF) and "\\"; CreateDate is
// "yyyy-mm-dd hh:nn:ss"; flags are 0 or 1. Omitted texts are empty, omitted indices -1,
// Signature and DataVersion default to "PDFCARUTE" and 15.
#include "Command.h"

#include "store/ChartDatabase.h"
#include "store/Database.h"
#include "store/IjiImport.h"
#include "store/IjiRecord.h"
#include "store/ProtectData.h"
#include "store/Statement.h"
#include "util/DateTime.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace pendlar::tool {
namespace {

std::string DatabaseFile(const std::string& utf8Dir) {
    std::string dir = utf8Dir;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return FileNameToSjisPath(dir) + "/" + kChartDatabaseFileName;
}

bool ParsePatient(const std::string& text, std::int64_t& patient) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), patient);
    return ec == std::errc() && end == text.data() + text.size() && patient >= 0 &&
           patient <= 99999999;
}

std::string UnescapeText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? "\r\n" : "\\";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string EscapeText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\')
            out += "\\\\";
        else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (text[i] == '\n')
            out += "\\n";
        else
            out += text[i];
    }
    return out;
}

bool ParseInt32(const std::string& text, std::int32_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseDateTimeText(const std::string& text, double& value) {
    int y, mo, d, h = 0, mi = 0, s = 0;
    char tail;
    int n = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail);
    if ((n != 3 && n != 6) || !IsValidDate(y, mo, d) || h < 0 || h > 23 || mi < 0 || mi > 59 ||
        s < 0 || s > 59)
        return false;
    value = EncodeDateTime(y, mo, d, h, mi, s);
    return true;
}

std::string DateTimeTextIso(double value) {
    CivilDate d = DecodeDate(value);
    int h, m, s;
    DecodeTime(value, h, m, s);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", d.Year, d.Month, d.Day, h,
                  m, s);
    return buffer;
}

// Fills a plain record from the lines; on failure `error` tells which line.
bool BuildRecord(const std::string& content, std::string& plain, std::string& error) {
    plain = EmptyIjiRecord();
    std::istringstream lines(content);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::size_t eq = line.find('=');
        std::string where = "line " + std::to_string(number) + ": ";
        if (eq == std::string::npos) {
            error = where + "expected Name=value";
            return false;
        }
        std::string name = line.substr(0, eq), text = line.substr(eq + 1);
        const IjiField* field = FindIjiField(name);
        if (!field) {
            error = where + "the record has no field " + name;
            return false;
        }
        IjiValue value;
        switch (field->Kind) {
        case IjiKind::Text: {
            std::optional<std::string> sjis = Utf8ToSjis(UnescapeText(text));
            if (!sjis) {
                error = where + name + " has characters without a Shift-JIS form";
                return false;
            }
            value = *sjis;
            break;
        }
        case IjiKind::Index:
        case IjiKind::Number: {
            std::int32_t n;
            if (!ParseInt32(text, n)) {
                error = where + name + " must be a whole number";
                return false;
            }
            value = n;
            break;
        }
        case IjiKind::DateTime: {
            double d;
            if (!ParseDateTimeText(text, d)) {
                error = where + name + " must be yyyy-mm-dd hh:nn:ss";
                return false;
            }
            value = d;
            break;
        }
        case IjiKind::Flag:
            if (text != "0" && text != "1") {
                error = where + name + " must be 0 or 1";
                return false;
            }
            value = text == "1";
            break;
        }
        if (!WriteIjiField(plain, *field, value)) {
            error = where + name + " holds " + std::to_string(field->Length - 1) +
                    " bytes of Shift-JIS at most";
            return false;
        }
    }
    return true;
}

int RunIjiPut(Args& args) {
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError("iji-put", "unknown option " + *unknown);
    if (args.Rest().size() != 3)
        return UsageError("iji-put");
    std::int64_t patient;
    if (!ParsePatient(args.Rest()[1], patient))
        return UsageError("iji-put", "PATIENT must be a number from 0 to 99999999");
    std::ifstream in(args.Rest()[2], std::ios::binary);
    if (!in)
        return Fail("cannot read " + args.Rest()[2]);
    std::ostringstream content;
    content << in.rdbuf();

    std::string plain, error;
    if (!BuildRecord(content.str(), plain, error))
        return Fail(args.Rest()[2] + ": " + error);
    TProtectData protect;
    if (!protect.HasKey())
        return Fail("no billing-record key: iji.key is missing or empty in the data folder");
    std::string cipher = protect.Encrypt(plain);

    Database db;
    db.SetFileName(DatabaseFile(args.Rest()[0]));
    Statement del, ins;
    bool ok = db.Connect() && db.BeginTransaction() &&
              db.Prepare("DELETE FROM PDF_DATA WHERE KANJAID = ?;", del) &&
              del.BindInteger(1, patient) && del.Step() == Statement::StepResult::Done &&
              db.Prepare("INSERT INTO PDF_DATA (KANJAID, IJIDATA) VALUES (?, ?);", ins) &&
              ins.BindInteger(1, patient) && ins.BindBlob(2, cipher) &&
              ins.Step() == Statement::StepResult::Done;
    del.Finalize();
    ins.Finalize();
    if (!ok || !db.CommitTransaction()) {
        std::string why = db.LastError();
        db.RollbackTransaction();
        return FailSjis(why);
    }
    return kOk;
}

int RunIjiShow(Args& args) {
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError("iji-show", "unknown option " + *unknown);
    if (args.Rest().size() != 2)
        return UsageError("iji-show");
    std::int64_t patient;
    if (!ParsePatient(args.Rest()[1], patient))
        return UsageError("iji-show", "PATIENT must be a number from 0 to 99999999");

    Database db;
    db.SetFileName(DatabaseFile(args.Rest()[0]));
    Statement query;
    if (!db.Prepare("SELECT * FROM PDF_DATA WHERE KANJAID = ?;", query) ||
        !query.BindInteger(1, patient))
        return FailSjis(SjisOf("DB System エラー(医事)"));
    Statement::StepResult step = query.Step();
    if (step == Statement::StepResult::Error)
        return FailSjis(SjisOf("DB System エラー(医事)"));
    if (step == Statement::StepResult::Done)
        return FailSjis(SjisOf("医事データが見つかりません。"));
    int column = query.ColumnIndex("IJIDATA");
    std::optional<std::string> blob;
    if (column >= 0 && !query.ColumnIsNull(column))
        blob = query.ColumnBlob(column);

    IjiDecodeResult r = DecodeIjiBlob(blob, TProtectData());
    if (!r.Ok()) {
        std::string message = IjiFailureMessage(r);
        for (auto& c : message)
            if (c == '\n')
                c = ' ';
        return FailSjis(message);
    }
    std::printf("Signature=%s\nDataVersion=%d\nTargetYear=%d\nCreateDate=%s\n", r.Signature.c_str(),
                r.DataVersion, r.TargetYear, DateTimeTextIso(r.CreateDate).c_str());
    for (const auto& e : r.Entries) {
        std::string text;
        if (const auto* s = std::get_if<std::string>(&e.Value))
            text = SjisToUtf8(EscapeText(*s));
        else if (const auto* n = std::get_if<std::int32_t>(&e.Value))
            text = std::to_string(*n);
        else if (const auto* b = std::get_if<bool>(&e.Value))
            text = *b ? "1" : "0";
        std::printf("%s=%s\n", e.Field->Name.c_str(), text.c_str());
    }
    return kOk;
}

PENDLAR_TOOL_COMMAND("iji-put", "[--profile DIR] DBDIR PATIENT FILE", RunIjiPut);
PENDLAR_TOOL_COMMAND("iji-show", "[--profile DIR] DBDIR PATIENT", RunIjiShow);

} // namespace
} // namespace pendlar::tool
