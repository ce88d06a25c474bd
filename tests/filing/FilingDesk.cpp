#include "FilingDesk.h"

#include "intake/ImageFile.h"
#include "store/ChartChoice.h"
#include "store/NewChartDatabase.h"
#include "store/PatientConfirm.h"
#include "store/SaveChart.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pendlar::test {

const char* const kIjiKey = "QwertyuiopAsdfghjklZxcvbnmQwertyuiopAsdf";

namespace {

class NoPrompt : public DatabasePathPrompt {
public:
    std::optional<std::string> AskDatabasePath(const std::string&) override { return std::nullopt; }
};

} // namespace

FilingDesk::FilingDesk() {
    // One fixed moment: 2024-05-03 09:05:07, for the file name and the row's date.
    ::setenv("SOURCE_DATE_EPOCH", "1714727107", 1);
    std::filesystem::create_directories(Dir.Path() / "scan");
    std::filesystem::create_directories(Dir.Path() / "db");
    const NewDatabaseResult created = CreateChartDatabase(Dir.Sjis("db"));
    EXPECT_TRUE(created.Ok) << SjisToUtf8(created.Message);
    Settings.DatabasePath = created.Path;
    Settings.ScannerDir = Dir.Sjis("scan") + "/";
    Settings.Target = Dir.Sjis("charts");
    Settings.HPCode = "1234";
    Settings.UseIryoData = false;
    Settings.HeaderOut = 0;
    Settings.WriteInhibit = false;
    NoPrompt prompt;
    EXPECT_EQ(OpenChartDatabase(Db, Settings, Logs, Ui, prompt, nullptr),
              OpenDatabaseResult::Opened);
    Composer.Threads = 1;
    Window.ClearRecord();
}

FilingDesk::~FilingDesk() {
    Db.Close();
    ::unsetenv("SOURCE_DATE_EPOCH");
}

std::string FilingDesk::ScanDir() const {
    return (Dir.Path() / "scan").string();
}

std::string FilingDesk::ChartsDir() const {
    return (Dir.Path() / "charts").string();
}

void FilingDesk::ScanPages(int count) {
    for (int i = 0; i < count; ++i) {
        Bitmap page(48, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 48; ++x)
                page.SetPixel(
                    x, y,
                    Rgb{static_cast<std::uint8_t>(40 * i), 200, static_cast<std::uint8_t>(x * 5)});
        const std::string name = "page" + std::to_string(i + 1) + ".png";
        ASSERT_TRUE(SaveImageFile(page, Dir.Sjis("scan/" + name)));
    }
    Intake.ScannerReadClick(false);
    ASSERT_EQ(Intake.Pages().size(), static_cast<std::size_t>(count));
}

void FilingDesk::PutIji(long patient, const std::string& plain) {
    PutRawIji(patient, Protect.Encrypt(plain));
}

void FilingDesk::PutRawIji(long patient, const std::string& blob) {
    Query q(Db.CaruteDatabase);
    q.SQL = "INSERT INTO PDF_DATA (KANJAID, IJIDATA) VALUES (?1, ?2);";
    q.Params = {static_cast<std::int64_t>(patient), SqlBlob{blob}};
    ASSERT_TRUE(q.ExecSQL()) << q.LastError();
}

std::string FilingDesk::PutChart(long patient, long sub, bool file) {
    const std::string path =
        Dir.Sjis("stored/chart_" + std::to_string(patient) + "_" + std::to_string(sub) + ".pdf");
    if (file)
        WriteFile(FsPath(path), "%PDF-1.2 stored\n");
    Query q(Db.CaruteDatabase);
    q.SQL = "INSERT INTO PDF_PATH (CARUTENO, CARUTESUBNO, CARUTEDATE, FILEPATH, INETPATH, "
            "FILENAME) VALUES (?1, ?2, '2024/01/01', ?3, ?3, 'chart.pdf');";
    q.Params = {static_cast<std::int64_t>(patient), static_cast<std::int64_t>(sub), path};
    EXPECT_TRUE(q.ExecSQL()) << q.LastError();
    return path;
}

void FilingDesk::Confirm(const std::string& patient) {
    Window.PatientText = patient;
    PidBtnClick(Context);
}

void FilingDesk::Select(const std::string& sub) {
    Window.SubNoText = sub;
    SubNoBtnClick(Context);
}

void FilingDesk::Save() {
    SaveChart(Context);
}

std::vector<Row> FilingDesk::Rows() {
    std::vector<Row> rows;
    Query q(Db.CaruteDatabase);
    q.SQL = "SELECT * FROM PDF_PATH ORDER BY CARUTENO, CARUTESUBNO;";
    EXPECT_TRUE(q.Open()) << q.LastError();
    for (; q.Active() && !q.Eof(); q.Next()) {
        Row row;
        for (const char* column :
             {"CARUTENO", "CARUTESUBNO", "CARUTEDATE", "FILEPATH", "INETPATH", "FILENAME", "KEY1",
              "KEY2", "KEY3", "KEY4", "KEY5", "KEY6", "KEY7", "KEY8"})
            row[column] = q.FieldText(column).value_or("<missing>");
        rows.push_back(row);
    }
    q.Close();
    return rows;
}

std::vector<std::string> FilingDesk::MessagesUtf8() const {
    std::vector<std::string> texts;
    for (const auto& m : Ui.Messages)
        texts.push_back(SjisToUtf8(m.Text));
    return texts;
}

std::vector<std::string> FilingDesk::ErrorLogUtf8() const {
    std::vector<std::string> lines;
    for (const std::string& line : Logs.Error.Lines())
        lines.push_back(SjisToUtf8(line));
    return lines;
}

void FilingDesk::SetReadOnly(bool readOnly) {
    ASSERT_TRUE(Db.CaruteDatabase.Execute(readOnly ? "PRAGMA query_only = ON;"
                                                   : "PRAGMA query_only = OFF;"))
        << Db.CaruteDatabase.LastError();
}

} // namespace pendlar::test
