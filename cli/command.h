#pragma once
// One subcommand of kestrelyn-cli: its name, its options, its help, and what it does.
#include "cli/arguments.h"
#include "cli/terminal_dialogs.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace kv::cli {

// What every subcommand works with. The profile is open (and its login passed) before a
// command that needs it runs.
struct CommandContext {
    const Arguments& arguments;
    TerminalDialogs& dialogs;
    std::filesystem::path profileDirectory; // empty for commands without a profile
    std::filesystem::path profileFile;
};

inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;

struct Command {
    std::string_view name;
    std::string_view synopsis; // the line of the overview
    std::string_view help;     // the whole --help text
    std::vector<OptionSpec> options;
    bool opensProfile = true;
    int (*run)(const CommandContext& context) = nullptr;
};

// What --help adds for every command that opens the profile.
extern const std::string_view kProfileNote;

// Every subcommand, in the order of the overview.
const std::vector<Command>& Commands();

// Prints the reason and answers kFailed.
int Fail(std::string_view reason);

} // namespace kv::cli
