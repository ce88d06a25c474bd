// pendlar-tool subcommands. Each Cmd*.cpp file of this folder registers its commands with
// PENDLAR_TOOL_COMMAND; main() dispatches on the first argument.
//
// Exit status: 0 success, 1 the operation failed (one line on standard error with the
// system's own message, in UTF-8), 2 usage error. Output is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pendlar::tool {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The arguments after the subcommand (with --profile already taken out by main).
class Args {
public:
    explicit Args(std::vector<std::string> items) : items_(std::move(items)) {}

    // Takes "--name VALUE" (or "--name=VALUE") out of the arguments; the last one wins.
    // Sets `missingValue` when the option is the last argument without a value.
    std::optional<std::string> TakeOption(const std::string& name);
    // Takes every "--name VALUE" in order.
    std::vector<std::string> TakeAll(const std::string& name);
    // Takes a flag "--name"; true when it was there.
    bool TakeFlag(const std::string& name);
    // What is left, in order; an argument starting with "--" left here is unknown.
    const std::vector<std::string>& Rest() const { return items_; }
    // The first unknown option, if any.
    std::optional<std::string> UnknownOption() const;
    bool MissingValue() const { return missingValue_; }

private:
    std::vector<std::string> items_;
    bool missingValue_ = false;
};

struct Command {
    const char* Name;
    const char* Usage; // one line, without the program name
    int (*Run)(Args& args);
};

class Registrar {
public:
    explicit Registrar(const Command& command);
};

const std::vector<Command>& Commands();

// A decimal option value within [lo, hi] (blanks before it and a sign allowed), or nullopt.
std::optional<int> ParseInt(const std::string& text, long lo, long hi);

// Prints "pendlar-tool: " + text (UTF-8) on standard error and returns kFailed.
int Fail(const std::string& utf8Text);
// The same for a Shift-JIS message of the system.
int FailSjis(const std::string& sjisText);
// Prints the usage of a command on standard error and returns kUsage.
int UsageError(const char* commandName, const std::string& why = "");
// For a command that takes options only, once it has taken them: the usage error for an
// option without its value, an unknown option or a stray argument; nullopt when none is left.
std::optional<int> RejectLeftovers(const Args& args, const char* commandName);

} // namespace pendlar::tool

#define PENDLAR_TOOL_CONCAT2(a, b) a##b
#define PENDLAR_TOOL_CONCAT(a, b) PENDLAR_TOOL_CONCAT2(a, b)
#define PENDLAR_TOOL_COMMAND(name, usage, fn)                                                      \
    static ::pendlar::tool::Registrar PENDLAR_TOOL_CONCAT(registrar_, __LINE__)(                   \
        ::pendlar::tool::Command{name, usage, fn})
