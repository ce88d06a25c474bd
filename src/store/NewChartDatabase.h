// Making a new, empty chart database: every table and column the program uses, the two
// indexes its searches need, and the lookup tables filled with the header tabs' own
// choices. Used by `pendlar-tool db-create` and by the "新規作成" button of the
// database-path dialog, so a new installation needs no terminal.
#pragma once

#include <string>

namespace pendlar {

struct NewDatabaseResult {
    bool Ok = false;
    std::string Path;    // the database file (Shift-JIS), also on failure
    std::string Message; // Shift-JIS text for the person when !Ok
};

// Creates QuilmoCaruteDb.sqb in an existing folder. An existing file is never touched:
// the new database is built under a temporary name and linked into place only when no
// file of that name exists, so two stations creating at once cannot overwrite each other.
NewDatabaseResult CreateChartDatabase(const std::string& sjisFolder);

// The statements that build the tables and indexes (no rows).
const char* ChartDatabaseSchema();

} // namespace pendlar
