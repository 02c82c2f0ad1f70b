// block: the blocked sites list, as the Blocked Sites frame keeps it.
#include "browser/blocked_sites.h"
#include "cli/command_runners.h"

#include <iostream>

namespace kv::cli {

int RunBlock(const CommandContext& context)
{
    const auto& words = context.arguments.positionals();
    if (words.empty())
        return Fail("block needs list, add URL, remove N or clear");
    const std::string& action = words.front();
    const std::size_t operands = action == "add" || action == "remove" ? 1 : 0;
    if (words.size() != operands + 1 ||
        (action != "list" && action != "add" && action != "remove" && action != "clear"))
        return Fail("block needs list, add URL, remove N or clear");
    BlockedSites blocked(context.profileFile);
    if (action == "list") {
        for (const BlockedEntry& entry : blocked.entries())
            std::cout << entry.number << '\t' << entry.url << '\n';
        return kSucceeded;
    }
    if (action == "add") {
        if (words[1].empty() || words[1].find_first_of("\r\n") != std::string::npos)
            return Fail("an address is one line of text");
        blocked.add(words[1]);
        return kSucceeded;
    }
    if (action == "remove") {
        const auto count = static_cast<long>(blocked.entries().size());
        const auto number = WholeNumber(words[1], 1, std::max(count, 1L));
        if (!number || *number > count)
            return Fail("there is no blocked address number " + words[1]);
        blocked.remove(static_cast<int>(*number));
        return kSucceeded;
    }
    context.dialogs.answerQuestions(context.arguments.has("yes") ? TerminalDialogs::Questions::Yes
                                                                 : TerminalDialogs::Questions::Ask);
    blocked.removeAll(context.dialogs);
    if (!blocked.entries().empty())
        return Fail("the blocked addresses were kept");
    return kSucceeded;
}

} // namespace kv::cli
