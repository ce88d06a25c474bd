#include "store/ChartDatabase.h"

#include "logs/Logs.h"
#include "settings/Registory.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/UserInterface.h"

namespace pendlar {
namespace {

constexpr const char* kCancelAndQuit =
    "データベース設定をキャンセルします。\nシステムを終了します。";

OpenDatabaseResult GiveUp(TRegistory& settings, TLogs& logs, UserInterface& ui,
                          const char* messageUtf8, const char* logLine) {
    ui.Message(SjisOf(messageUtf8), "", MsgIcon::Error, MsgButtons::Yes);
    logs.AddErrorLog(SjisOf(logLine));
    // The shutdown saves the empty path, so the next start asks for the database again.
    settings.DatabasePath.clear();
    return OpenDatabaseResult::CloseProgram;
}

// Reads one lookup table into its list; false when the query cannot be opened or a row
// cannot be read.
bool LoadLookupTable(ChartDatabase& db, const LookupTableInfo& info) {
    Query& query = db.LookupQuery(info.Id);
    std::vector<std::string>& list = db.List(info.Id);
    list.clear();
    query.SQL = info.Sql;
    query.Params.clear();
    if (!query.Open())
        return false;
    while (!query.Eof()) {
        std::optional<std::string> text = query.FieldText(info.TextColumn);
        if (!text || !query.Next()) {
            query.Close();
            list.clear();
            return false;
        }
        list.push_back(*text);
    }
    query.Close();
    return true;
}

} // namespace

ChartDatabase::ChartDatabase()
    : TenkiQuery(CaruteDatabase), NyuinToQuery(CaruteDatabase), RenrakuZokugara(CaruteDatabase),
      FutanQuery(CaruteDatabase), NtenkiQuery(CaruteDatabase), IryoQuery(CaruteDatabase),
      CaruteQuery(CaruteDatabase), PrintQuery(CaruteDatabase), DeleteQuery(CaruteDatabase) {
    SetDatabaseFolder("");
}

std::vector<std::string>& ChartDatabase::List(LookupTable table) {
    switch (table) {
    case LookupTable::Zokugara:
        return ZokugaraList;
    case LookupTable::Ntenki:
        return NtenkiList;
    case LookupTable::Tenkisaki:
        return TenkisakiList;
    case LookupTable::Tenki:
        return TenkiList;
    case LookupTable::Futan:
        return FutanList;
    }
    return FutanList;
}

Query& ChartDatabase::LookupQuery(LookupTable table) {
    switch (table) {
    case LookupTable::Zokugara:
        return RenrakuZokugara;
    case LookupTable::Ntenki:
        return NtenkiQuery;
    case LookupTable::Tenkisaki:
        return NyuinToQuery;
    case LookupTable::Tenki:
        return TenkiQuery;
    case LookupTable::Futan:
        return FutanQuery;
    }
    return FutanQuery;
}

void ChartDatabase::SetDatabaseFolder(const std::string& sjisFolder) {
    std::string folder = sjisFolder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    CaruteDatabase.SetFileName(folder + kChartDatabaseFileName);
}

void ChartDatabase::Close() {
    for (Query* q : {&RenrakuZokugara, &IryoQuery, &PrintQuery, &DeleteQuery, &CaruteQuery,
                     &TenkiQuery, &NyuinToQuery, &FutanQuery, &NtenkiQuery})
        if (q->Active())
            q->Close();
    if (CaruteDatabase.Connected())
        CaruteDatabase.Disconnect();
}

std::string FolderOf(const std::string& path) {
    // "/" is never the second byte of a Shift-JIS character, so a byte search is safe.
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

OpenDatabaseResult OpenChartDatabase(ChartDatabase& db, TRegistory& settings, TLogs& logs,
                                     UserInterface& ui, DatabasePathPrompt& prompt,
                                     LookupChoiceTarget* choices) {
    if (settings.DatabasePath.size() < 3) {
        std::optional<std::string> path = prompt.AskDatabasePath(settings.DatabasePath);
        if (!path)
            return GiveUp(settings, logs, ui, kCancelAndQuit, "*** DataBase Path Error");
        settings.DatabasePath = *path;
    }
    if (!FileExists(settings.DatabasePath)) {
        std::optional<std::string> path = prompt.AskDatabasePath(settings.DatabasePath);
        if (!path)
            return GiveUp(settings, logs, ui, kCancelAndQuit, "*** DataBase not ExistError");
        settings.DatabasePath = *path;
    }
    // Only the folder counts: the file there is always QuilmoCaruteDb.sqb.
    db.SetDatabaseFolder(FolderOf(settings.DatabasePath));

    if (!db.CaruteDatabase.Connected() && !db.CaruteDatabase.Connect()) {
        ui.Message(SjisOf("データベース接続エラー：データベースを再設定します。"), "",
                   MsgIcon::Error, MsgButtons::Yes);
        std::optional<std::string> path = prompt.AskDatabasePath(settings.DatabasePath);
        if (!path)
            return GiveUp(settings, logs, ui, kCancelAndQuit, "*** DataBase Connect Error");
        // The clerk has just named another database: the lookups below connect to that
        // one, rather than failing again on the folder that could not be opened.
        settings.DatabasePath = *path;
        db.SetDatabaseFolder(FolderOf(settings.DatabasePath));
    }

    for (const LookupTableInfo& info : LookupTables()) {
        if (!LoadLookupTable(db, info))
            return GiveUp(settings, logs, ui, info.MessageUtf8, info.LogLine);
        const std::vector<std::string>& list = db.List(info.Id);
        if (!list.empty() && choices)
            for (const std::string& combo : info.ComboBoxes)
                choices->ReplaceChoices(combo, list);
    }
    return OpenDatabaseResult::Opened;
}

void DatabasePathCommand(TRegistory& settings, TLogs& logs, UserInterface& ui,
                         DatabasePathPrompt& prompt) {
    std::optional<std::string> path = prompt.AskDatabasePath(settings.DatabasePath);
    if (!path) {
        ui.Message(SjisOf("データベース設定をキャンセルします。"), "", MsgIcon::Error,
                   MsgButtons::Yes);
        logs.AddErrorLog(SjisOf("* DataBase Setting is Cancel"));
        return;
    }
    settings.DatabasePath = *path;
    ui.Message(SjisOf("データベースの設定は、次回起動時に有効になります。"), "",
               MsgIcon::Information, MsgButtons::Yes);
}

} // namespace pendlar
