#pragma once
// Scripted stand-ins for the platform services the start-up sequence uses.
#include "common/ending_process.h"
#include "platform/account_check.h"
#include "platform/machine_identity.h"
#include "platform/process_terminator.h"
#include "platform/single_instance.h"
#include "platform/user_account.h"
#include "startup/desktop_shortcuts.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kv::test {

class FixedAccountCheck : public AccountCheck {
public:
    AccountCheckResult answer = AccountCheckResult::Match;
    std::vector<std::pair<std::string, std::string>> asked;

    AccountCheckResult passwordMatches(const std::string& user, const std::string& password) override
    {
        asked.emplace_back(user, password);
        return answer;
    }
};

class FixedUserAccount : public UserAccount {
public:
    std::string userName = "alice";
    std::filesystem::path documents;

    std::string name() const override { return userName; }
    std::filesystem::path documentsFolder() const override { return documents; }
};

class FixedMachineIdentity : public MachineIdentity {
public:
    std::uint32_t serial = 0x1A2B3C4Du;
    std::uint32_t volumeSerial() const override { return serial; }
};

class FixedInstance : public SingleInstance {
public:
    bool alone = true;
    int claims = 0;
    int takeOvers = 0;
    mutable int showRequests = 0;
    bool claim() override
    {
        ++claims;
        return alone;
    }
    void takeOver() override { ++takeOvers; }
    bool askRunningInstanceToShow() const override
    {
        ++showRequests;
        return !alone;
    }
};

class RecordingTerminator : public ProcessTerminator {
public:
    std::vector<long> terminated;
    void terminate(long processId) override { terminated.push_back(processId); }
};

class RecordingShortcuts : public DesktopShortcuts {
public:
    std::vector<std::string> calls;
    bool toolbarButton = false;
    bool quickLaunch = false;
    void addToolbarButton() override { calls.emplace_back("addToolbarButton"); }
    void removeToolbarButton() override { calls.emplace_back("removeToolbarButton"); }
    bool toolbarButtonPresent() override { return toolbarButton; }
    void createQuickLaunchShortcut() override { calls.emplace_back("createQuickLaunchShortcut"); }
    void deleteQuickLaunchShortcut() override { calls.emplace_back("deleteQuickLaunchShortcut"); }
    bool quickLaunchShortcutExists() override { return quickLaunch; }
};

} // namespace kv::test
