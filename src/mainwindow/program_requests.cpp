#include "mainwindow/program_requests.h"

#include "sites/site_lookup.h"
#include "storage/sites_tree_model.h"

namespace kv {

ProgramRequests::ProgramRequests(std::filesystem::path profileDirectory, LoginEngine& engine,
                                 SiteCommands& commands, Window window)
    : profileDirectory_(std::move(profileDirectory)), engine_(engine), commands_(commands),
      window_(std::move(window))
{
}

InstanceReply ProgramRequests::handle(const InstanceRequest& request)
{
    if (request.kind == InstanceRequest::Kind::Show) {
        window_.show();
        return {true, "shown"};
    }
    if (window_.locked())
        return {false, "the program is locked: show it and log in first"};
    switch (request.kind) {
    case InstanceRequest::Kind::LoginSites:
        return loginSites(request.sites);
    case InstanceRequest::Kind::LoginFolder:
        return loginFolder(request.folder);
    case InstanceRequest::Kind::LoginHotkey:
        return loginHotkey(request.hotkey);
    case InstanceRequest::Kind::Show:
        break;
    }
    return {false, "unknown request"};
}

InstanceReply ProgramRequests::loginSites(const std::vector<std::string>& names)
{
    std::vector<std::filesystem::path> files;
    for (const std::string& name : names) {
        const auto site = LookUpSite(profileDirectory_, name);
        if (!site)
            return {false, site.error()};
        files.push_back(site->file);
    }
    for (const auto& file : files)
        engine_.LoginToSite(file);
    return {true, "logging in to " + std::to_string(files.size()) + " site(s) in the program's browser"};
}

InstanceReply ProgramRequests::loginFolder(const std::string& folder)
{
    const auto found = LookUpFolder(profileDirectory_, folder);
    if (!found)
        return {false, found.error()};
    const std::size_t count = ListSites(profileDirectory_, *found).size();
    if (count == 0)
        return {false, "no sites below '" + folder + "'"};
    SitesTreeNode node;
    node.key = found->string() + "/";
    commands_.mnuLoginAllSites(&node);
    return {true, "logging in to " + std::to_string(count) + " site(s) in the program's browser"};
}

InstanceReply ProgramRequests::loginHotkey(int hotkey)
{
    if (hotkey < 1 || hotkey > 10)
        return {false, "there is no hotkey " + std::to_string(hotkey)};
    engine_.LoginHotkeySites(hotkey);
    return {true,
            "logging in to the sites of hotkey " + std::to_string(hotkey) + " in the program's browser"};
}

} // namespace kv
