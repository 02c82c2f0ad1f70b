#pragma once
// What the running program does for a later start (the command-line tool, or the program
// started again): show itself, or log in as asked with its own browser, so that one browser
// does every login and the counters count them all. A locked program logs into nothing.
#include "browser/login_engine.h"
#include "browser/site_commands.h"
#include "platform/instance_request.h"

#include <filesystem>
#include <functional>

namespace kv {

class ProgramRequests {
public:
    struct Window {
        std::function<void()> show;   // brings the window forward (asking the login when locked)
        std::function<bool()> locked; // the window is locked now
    };

    ProgramRequests(std::filesystem::path profileDirectory, LoginEngine& engine, SiteCommands& commands,
                    Window window);

    InstanceReply handle(const InstanceRequest& request);

private:
    InstanceReply loginSites(const std::vector<std::string>& names);
    InstanceReply loginFolder(const std::string& folder);
    InstanceReply loginHotkey(int hotkey);

    std::filesystem::path profileDirectory_;
    LoginEngine& engine_;
    SiteCommands& commands_;
    Window window_;
};

} // namespace kv
