// The chart database of the running program: the one connection, the main window's query
// objects on it, the five lookup lists, the start-up that opens it and the database-path
// command.
#pragma once

#include "store/Database.h"
#include "store/DatabasePathPrompt.h"
#include "store/LookupTables.h"
#include "store/Query.h"

#include <string>
#include <vector>

namespace pendlar {

class TRegistory;
struct TLogs;
class UserInterface;

// The database file's fixed name inside the folder of the DatabasePath setting.
constexpr const char* kChartDatabaseFileName = "QuilmoCaruteDb.sqb";

class ChartDatabase {
public:
    ChartDatabase();
    ChartDatabase(const ChartDatabase&) = delete;
    ChartDatabase& operator=(const ChartDatabase&) = delete;

    Database CaruteDatabase;
    // Lookups (fixed SQL).
    Query TenkiQuery, NyuinToQuery, RenrakuZokugara, FutanQuery, NtenkiQuery;
    // Queries whose SQL the flows set.
    Query IryoQuery, CaruteQuery, PrintQuery, DeleteQuery;

    // The texts of the lookup tables in table order (Shift-JIS), filled once at start-up.
    std::vector<std::string> ZokugaraList, NtenkiList, TenkisakiList, TenkiList, FutanList;

    std::vector<std::string>& List(LookupTable table);
    Query& LookupQuery(LookupTable table);

    // Points the connection at the database file of a folder ("" = the working folder).
    void SetDatabaseFolder(const std::string& sjisFolder);

    // Shutdown: closes the open queries, then the connection.
    void Close();
};

enum class OpenDatabaseResult {
    Opened,       // connected and the lookup lists loaded
    CloseProgram, // a failure was shown and logged; DatabasePath is cleared
};

// The database step of the start-up: finds the database through DatabasePath (asking with
// the database-path dialog when the setting is too short or names no file), connects, and
// loads the five lookup lists, replacing the choices of the combo boxes of each table that
// has rows. Each failure shows its message, adds its error-log line, clears DatabasePath
// and returns CloseProgram; the caller closes the main window.
OpenDatabaseResult OpenChartDatabase(ChartDatabase& db, TRegistory& settings, TLogs& logs,
                                     UserInterface& ui, DatabasePathPrompt& prompt,
                                     LookupChoiceTarget* choices);

// The "DB設定" command: asks for a new path and stores it for the next start; the running
// connection is not changed.
void DatabasePathCommand(TRegistory& settings, TLogs& logs, UserInterface& ui,
                         DatabasePathPrompt& prompt);

// The folder part of a path: everything up to and including its last "/", or "".
std::string FolderOf(const std::string& path);

} // namespace pendlar
