#include "browser/site_commands.h"

#include "browser/login_texts.h"
#include "sites/site_tree_texts.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"

#include <vector>

namespace kv {
namespace {

bool isSite(const SitesTreeNode& node)
{
    return node.selectedImage == kSiteImage;
}

bool isFolder(const SitesTreeNode& node)
{
    return node.selectedImage == kFolderImage;
}

} // namespace

bool SiteCommands::reportMissing(const SitesTreeNode* selected)
{
    if (selected)
        return false;
    dialogs_.message(kSelectASite);
    return true;
}

void SiteCommands::cmdGoToSite(const SitesTreeNode* selected)
{
    if (!selected || !isSite(*selected)) {
        dialogs_.message(kSelectASite);
        return;
    }
    if (const auto siteUrl = ReadSecureValue(kMainSection, SITEURL, selected->key))
        engine_.LaunchBrowser(*siteUrl);
}

void SiteCommands::cmd_LaunchAndLogin(const SitesTreeNode* selected)
{
    if (!selected || !isSite(*selected)) {
        dialogs_.message(kSelectASite);
        return;
    }
    engine_.LoginToSite(selected->key);
}

void SiteCommands::mnuLogin(const SitesTreeNode* selected)
{
    if (reportMissing(selected) || !isSite(*selected))
        return;
    engine_.LoginToSite(selected->key);
}

void SiteCommands::mnuLoginAllSites(const SitesTreeNode* selected)
{
    if (reportMissing(selected) || !isFolder(*selected))
        return;
    std::vector<std::filesystem::path> sites;
    std::int32_t files = 0;
    std::int32_t folders = 0;
    CollectSiteFiles(selected->key, kSitePattern, sites, files, folders);
    engine_.LoginToSites(sites);
}

bool SiteCommands::mnuVelotrip(const SitesTreeNode* selected, bool checked)
{
    if (reportMissing(selected) || !isSite(*selected))
        return checked;
    if (checked) {
        checked = false;
    } else {
        const std::string action = ReadSecureValue(kMainSection, FORMACTIONURL, selected->key).value_or("");
        // A relative action may still work once resolved against the page; the user decides.
        if (action.find("https") == std::string::npos && action.find("http") == std::string::npos &&
            dialogs_.ask(kVelotripUnsupportedQuestion, Buttons::YesNo, Icon::Exclamation) !=
                Dialogs::Answer::Yes)
            return false;
        checked = true;
    }
    if (const std::error_code failure =
            WriteSecureValue(kMainSection, VELOTRIP, checked ? kVelotripOn : kVelotripOff, selected->key)) {
        dialogs_.message(SiteNotWrittenMessage(selected->key, failure));
        return !checked;
    }
    return checked;
}

} // namespace kv
