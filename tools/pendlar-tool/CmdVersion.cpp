#include "Command.h"

#include <cstdio>

#ifndef PENDLAR_VERSION
#define PENDLAR_VERSION "0"
#endif

namespace pendlar::tool {
namespace {

int RunVersion(Args& args) {
    if (!args.Rest().empty())
        return UsageError("version", "takes no arguments");
    std::printf("Quilmo Pendlar %s\n", PENDLAR_VERSION);
    return kOk;
}

PENDLAR_TOOL_COMMAND("version", "", RunVersion);

} // namespace
} // namespace pendlar::tool
