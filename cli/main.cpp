// kestrelyn-cli: the program's sites, logins and tools from a terminal, on the same files
// and the same rules.
#include "cli/command.h"
#include "cli/open_profile.h"
#include "startup/profile.h"

#include "version.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace kv::cli {

namespace {

void PrintOverview()
{
    std::cout << "Usage: kestrelyn-cli COMMAND [OPTIONS]\n"
                 "       kestrelyn-cli COMMAND --help\n\nCommands:\n";
    for (const Command& command : Commands())
        std::printf("  %-10s %s\n", std::string(command.name).c_str(), std::string(command.synopsis).c_str());
    std::cout << "\nEvery command ends with 0 when it did what was asked, otherwise with 1 and one line\n"
                 "on standard error that says why.\n";
}

int Run(const std::vector<std::string>& words)
{
    if (words.empty() || words.front() == "--help" || words.front() == "help") {
        PrintOverview();
        return words.empty() ? kFailed : kSucceeded;
    }
    if (words.front() == "--version") {
        std::cout << "kestrelyn-cli " << kVersionText << '\n';
        return kSucceeded;
    }
    const Command* command = nullptr;
    for (const Command& candidate : Commands())
        if (candidate.name == words.front())
            command = &candidate;
    if (!command)
        return Fail("unknown command '" + words.front() + "' (see kestrelyn-cli --help)");
    const auto arguments = Arguments::parse({words.begin() + 1, words.end()}, command->options);
    if (!arguments)
        return Fail(std::string(command->name) + ": " + arguments.error());
    if (arguments->has("help")) {
        std::cout << command->help;
        if (command->opensProfile)
            std::cout << kProfileNote;
        return kSucceeded;
    }

    Terminal terminal;
    TerminalDialogs dialogs(terminal, arguments->has("password-stdin"));
    CommandContext context{*arguments, dialogs, {}, {}};
    if (command->opensProfile) {
        const auto profile = OpenRecordedProfile(dialogs);
        if (!profile)
            return Fail(profile.error());
        context.profileDirectory = profile->path;
        context.profileFile = ProfileFile(*profile);
    }
    return command->run(context);
}

} // namespace
} // namespace kv::cli

int main(int argc, char** argv)
{
    return kv::cli::Run(std::vector<std::string>(argv + 1, argv + argc));
}
