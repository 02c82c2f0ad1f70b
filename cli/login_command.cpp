// login: as the program logs in; through the running program when there is one, so that
// one browser does the logins and counts them.
#include "cli/command_runners.h"
#include "cli/own_browser_login.h"
#include "platform/instance_request.h"
#include "platform/single_instance.h"
#include "sites/site_lookup.h"
#include "startup/profile_settings.h"

#include <iostream>

namespace kv::cli {
namespace {

// Starting the browser and opening its windows can take the program a while.
constexpr std::chrono::seconds kReplyLimit{60};

// The request with every name looked up first, so that a wrong one stops everything.
tl::expected<InstanceRequest, std::string> LoginRequest(const CommandContext& context)
{
    const Arguments& arguments = context.arguments;
    const auto& sites = arguments.positionals();
    const auto folder = arguments.value("folder");
    const auto hotkey = arguments.value("hotkey");
    if ((sites.empty() ? 0 : 1) + (folder ? 1 : 0) + (hotkey ? 1 : 0) != 1)
        return tl::unexpected(std::string("login needs SITE..., --folder PATH or --hotkey N (one of them)"));
    InstanceRequest request;
    if (folder) {
        if (const auto found = LookUpFolder(context.profileDirectory, *folder); !found)
            return tl::unexpected(found.error());
        request.kind = InstanceRequest::Kind::LoginFolder;
        request.folder = *folder;
    } else if (hotkey) {
        const auto number = WholeNumber(*hotkey, 1, kSiteHotkeyCount);
        if (!number)
            return tl::unexpected("--hotkey is a number from 1 to " + std::to_string(kSiteHotkeyCount));
        request.kind = InstanceRequest::Kind::LoginHotkey;
        request.hotkey = static_cast<int>(*number);
    } else {
        request.kind = InstanceRequest::Kind::LoginSites;
        for (const std::string& name : sites) {
            const auto site = LookUpSite(context.profileDirectory, name);
            if (!site)
                return tl::unexpected(site.error());
            request.sites.push_back("/" + site->treePath());
        }
    }
    return request;
}

} // namespace

int RunLogin(const CommandContext& context)
{
    const auto request = LoginRequest(context);
    if (!request)
        return Fail(request.error());
    const RuntimeDirInstanceLock instance(UserRuntimeDirectory());
    const auto answer = instance.sendRequest(EncodeInstanceRequest(*request), kReplyLimit);
    if (!answer)
        return LoginInOwnBrowser(*request, context.profileDirectory, context.profileFile, context.dialogs);
    const auto reply = DecodeInstanceReply(*answer);
    if (!reply)
        return Fail(reply.error());
    if (!reply->ok)
        return Fail(reply->message);
    std::cout << reply->message << '\n';
    return kSucceeded;
}

} // namespace kv::cli
