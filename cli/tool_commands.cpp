// generate, audit and timesaved: the Tools, Security Audit and Time Saved areas' rules.
#include "cli/command_runners.h"
#include "cli/json_output.h"
#include "sites/site_lookup.h"
#include "tools/password_generator.h"
#include "tools/security_audit.h"
#include "tools/time_saved.h"
#include "tools/tools_texts.h"

#include <cstdio>
#include <iostream>

namespace kv::cli {

int RunGenerate(const CommandContext& context)
{
    const Arguments& arguments = context.arguments;
    const auto set = WholeNumber(arguments.value("set").value_or("0"), 0, 5);
    if (!set)
        return Fail("--set is a number from 0 to 5");
    const std::string length = arguments.value("length").value_or(std::string(kDefaultPasswordLength));
    const std::string count = arguments.value("count").value_or(std::string(kDefaultPasswordCount));
    const std::vector<std::string> passwords = cmdGeneratePassword_Click(
        {static_cast<PasswordCharacters>(*set), length, count}, context.dialogs, {});
    if (passwords.empty())
        return kFailed;
    for (const std::string& password : passwords)
        std::cout << password << '\n';
    return kSucceeded;
}

int RunAudit(const CommandContext& context)
{
    const std::vector<AuditRow> rows = AuditSites(context.profileDirectory);
    if (context.arguments.has("json")) {
        JsonOutput list = JsonOutput::array();
        for (const AuditRow& row : rows) {
            const SiteEntry site = SiteEntryOf(context.profileDirectory, row.file);
            list.push_back({{"name", row.site},
                            {"path", "/" + site.treePath()},
                            {"login", row.login},
                            {"password", row.password},
                            {"reused", row.reused},
                            {"damaged", row.damaged}});
        }
        PrintJson(list);
        return kSucceeded;
    }
    std::printf("%-32s %-12s %-12s %s\n", std::string(kAuditSiteColumn).c_str(),
                std::string(kAuditLoginColumn).c_str(), std::string(kAuditPasswordColumn).c_str(),
                std::string(kAuditReusedColumn).c_str());
    for (const AuditRow& row : rows)
        std::printf("%-32s %-12s %-12s %s\n", row.site.c_str(), row.login.c_str(), row.password.c_str(),
                    row.reused ? std::string(kReusedMark).c_str() : "");
    return kSucceeded;
}

int RunTimeSaved(const CommandContext& context)
{
    const std::optional<std::string> given = context.arguments.value("seconds");
    const auto seconds = WholeNumber(given.value_or(std::to_string(kDefaultSecondsPerLogin)), 0, 86'400);
    if (!seconds)
        return Fail("--seconds is a whole number from 0 to 86400");
    const std::int64_t logins = CountAutomaticLogins(context.profileDirectory);
    const TimeSaved saved = ComputeTimeSaved(logins, static_cast<int>(*seconds));
    if (context.arguments.has("json")) {
        PrintJson({{"logins", saved.logins},
                   {"secondsPerLogin", *seconds == 0 ? kDefaultSecondsPerLogin : *seconds},
                   {"days", saved.days},
                   {"hours", saved.hours},
                   {"minutes", saved.minutes},
                   {"seconds", saved.seconds}});
        return kSucceeded;
    }
    std::cout << LoggedIntoText(logins) << '\n';
    if (given)
        std::cout << ManualTimeText(*given) << '\n';
    std::cout << kTotalSavingsCaption << ' ' << saved.days << ' ' << kTimeUnitCaptions[0] << ", "
              << saved.hours << ' ' << kTimeUnitCaptions[1] << ", " << saved.minutes << ' '
              << kTimeUnitCaptions[2] << ", " << saved.seconds << ' ' << kTimeUnitCaptions[3] << '\n'
              << kSavingsFooter << '\n';
    return kSucceeded;
}

} // namespace kv::cli
