// db-create: makes a new chart database in a folder, never over an existing one.
#include "Command.h"

#include "store/NewChartDatabase.h"
#include "util/Sjis.h"

#include <cstdio>

namespace pendlar::tool {
namespace {

int RunDbCreate(Args& args) {
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError("db-create", "unknown option " + *unknown);
    if (args.Rest().size() != 1)
        return UsageError("db-create", "needs exactly one folder");
    std::optional<std::string> folder = Utf8ToSjis(args.Rest().front());
    if (!folder)
        return Fail("folder name has no Shift-JIS form: " + args.Rest().front());
    NewDatabaseResult result = CreateChartDatabase(*folder);
    if (!result.Ok)
        return FailSjis(result.Message);
    std::printf("%s\n", SjisToUtf8(result.Path).c_str());
    return kOk;
}

PENDLAR_TOOL_COMMAND("db-create", "DIR", RunDbCreate);

} // namespace
} // namespace pendlar::tool
