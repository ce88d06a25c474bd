#include "Command.h"

#include "util/Profile.h"
#include "util/Sjis.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

namespace pendlar::tool {
namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

bool IsOption(const std::string& arg, const std::string& name) {
    return arg == "--" + name || arg.rfind("--" + name + "=", 0) == 0;
}

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: pendlar-tool COMMAND [--profile DIR] ...\n\ncommands:\n");
    std::vector<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return std::string(a.Name) < b.Name; });
    for (const auto& c : sorted)
        std::fprintf(to, "  %s %s\n", c.Name, c.Usage);
}

} // namespace

Registrar::Registrar(const Command& command) {
    Registry().push_back(command);
}

const std::vector<Command>& Commands() {
    return Registry();
}

std::optional<std::string> Args::TakeOption(const std::string& name) {
    std::optional<std::string> value;
    for (std::size_t i = 0; i < items_.size();) {
        const std::string& arg = items_[i];
        if (arg == "--" + name) {
            if (i + 1 >= items_.size()) {
                missingValue_ = true;
                items_.erase(items_.begin() + static_cast<long>(i));
                continue;
            }
            value = items_[i + 1];
            items_.erase(items_.begin() + static_cast<long>(i),
                         items_.begin() + static_cast<long>(i) + 2);
        } else if (IsOption(arg, name)) {
            value = arg.substr(name.size() + 3);
            items_.erase(items_.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    return value;
}

std::vector<std::string> Args::TakeAll(const std::string& name) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < items_.size();) {
        const std::string& arg = items_[i];
        if (arg == "--" + name) {
            if (i + 1 >= items_.size()) {
                missingValue_ = true;
                items_.erase(items_.begin() + static_cast<long>(i));
                continue;
            }
            values.push_back(items_[i + 1]);
            items_.erase(items_.begin() + static_cast<long>(i),
                         items_.begin() + static_cast<long>(i) + 2);
        } else if (IsOption(arg, name)) {
            values.push_back(arg.substr(name.size() + 3));
            items_.erase(items_.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    return values;
}

bool Args::TakeFlag(const std::string& name) {
    auto it = std::find(items_.begin(), items_.end(), "--" + name);
    if (it == items_.end())
        return false;
    items_.erase(it);
    return true;
}

std::optional<std::string> Args::UnknownOption() const {
    for (const auto& arg : items_)
        if (arg.size() > 2 && arg.rfind("--", 0) == 0)
            return arg;
    return std::nullopt;
}

std::optional<int> ParseInt(const std::string& text, long lo, long hi) {
    if (text.empty())
        return std::nullopt;
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != text.size() || value < lo || value > hi)
        return std::nullopt;
    return static_cast<int>(value);
}

int Fail(const std::string& utf8Text) {
    std::fprintf(stderr, "pendlar-tool: %s\n", utf8Text.c_str());
    return kFailed;
}

int FailSjis(const std::string& sjisText) {
    return Fail(SjisToUtf8(sjisText));
}

std::optional<int> RejectLeftovers(const Args& args, const char* commandName) {
    if (args.MissingValue())
        return UsageError(commandName, "an option lacks its value");
    if (std::optional<std::string> unknown = args.UnknownOption())
        return UsageError(commandName, "unknown option " + *unknown);
    if (!args.Rest().empty())
        return UsageError(commandName, "unexpected argument " + args.Rest().front());
    return std::nullopt;
}

int UsageError(const char* commandName, const std::string& why) {
    if (!why.empty())
        std::fprintf(stderr, "pendlar-tool %s: %s\n", commandName, why.c_str());
    for (const auto& c : Commands())
        if (std::string(c.Name) == commandName)
            std::fprintf(stderr, "usage: pendlar-tool %s %s\n", c.Name, c.Usage);
    return kUsage;
}

} // namespace pendlar::tool

int main(int argc, char** argv) {
    using namespace pendlar::tool;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? kUsage : kOk;
    }
    std::string name = argv[1];
    Args args(std::vector<std::string>(argv + 2, argv + argc));
    if (std::optional<std::string> profile = args.TakeOption("profile"))
        pendlar::SetProfileDir(*profile);
    if (args.MissingValue())
        return UsageError(name.c_str(), "--profile needs a folder");
    for (const auto& c : Commands()) {
        if (name == c.Name) {
            try {
                return c.Run(args);
            } catch (const std::exception& e) {
                return Fail(e.what());
            }
        }
    }
    std::fprintf(stderr, "pendlar-tool: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return kUsage;
}
