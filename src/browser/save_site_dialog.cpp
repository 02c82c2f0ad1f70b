#include "browser/save_site_dialog.h"

#include "browser/capture_texts.h"
#include "sites/site_tree_commands.h"
#include "sites/site_tree_texts.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "support/parse_url.h"

#include <cctype>
#include <utility>

namespace kv {
namespace {

constexpr char kBackspace = 8;

bool isFolder(const SitesTreeNode& node)
{
    return node.selectedImage == kFolderImage;
}

} // namespace

SaveSiteDialog::SaveSiteDialog(std::string pageUrl, std::filesystem::path sitesRoot, Dialogs& dialogs,
                               Trash& trash)
    : pageUrl_(std::move(pageUrl)), sitesRoot_(std::move(sitesRoot)), dialogs_(dialogs), trash_(trash)
{
}

std::string SaveSiteDialog::initialName() const
{
    return SiteNameFromUrl(pageUrl_);
}

void SaveSiteDialog::loadFolders(SitesTreeModel& tree) const
{
    tree.clear();
    const auto root = tree.add(std::nullopt, AddTrailingSlash(sitesRoot_.string()),
                               std::string(kSitesRootText), {}, kFolderImage, kFolderImage);
    AddFolderNodes(sitesRoot_, tree, false);
    if (root)
        tree.expand(*root);
}

bool SaveSiteDialog::acceptsCharacter(char character)
{
    if (character == kBackspace)
        return true;
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    return lower != '\0' && kFriendlyNameCharacters.find(lower) != std::string_view::npos;
}

std::string SaveSiteDialog::nameCharactersOf(std::string_view text)
{
    std::string kept;
    for (const char c : text) {
        if (c != kBackspace && acceptsCharacter(c))
            kept += c;
    }
    return kept;
}

bool SaveSiteDialog::cmdSave(const std::string& name, const SitesTreeNode* selected)
{
    if (name.empty()) {
        dialogs_.message(kNameMissingMessage);
        return false;
    }
    if (!selected) {
        dialogs_.message(kCategoryMissingMessage);
        return false;
    }
    if (!isFolder(*selected))
        return false;
    if (selected->text == kSitesRootText &&
        dialogs_.ask(kSaveToRootQuestion, Buttons::YesNo, Icon::Exclamation) != Dialogs::Answer::Yes)
        return false;
    const std::filesystem::path folder = selected->key;
    if (FileExists(folder / (name + std::string(kSiteFileExtension))) &&
        dialogs_.ask(kReplaceSiteQuestion, Buttons::YesNoDefaultNo, Icon::Exclamation) !=
            Dialogs::Answer::Yes)
        return false;
    folderPath_ = folder;
    friendlyName_ = name;
    return true;
}

bool SaveSiteDialog::isRoot(const SitesTreeNode& node) const
{
    return !node.parent.has_value();
}

bool SaveSiteDialog::offersRenameAndDelete(const SitesTreeNode& node) const
{
    return FolderMenuOffersFolderCommands(isRoot(node));
}

const SitesTreeNode* SaveSiteDialog::selectedFolder(const SitesTreeNode* selected)
{
    if (!selected) {
        dialogs_.message(kSelectASite);
        return nullptr;
    }
    return isFolder(*selected) ? selected : nullptr;
}

std::optional<std::string> SaveSiteDialog::mnuNewFolder(const SitesTreeNode* selected)
{
    const SitesTreeNode* folder = selectedFolder(selected);
    if (!folder)
        return std::nullopt;
    return CreateNewFolder(folder->key);
}

bool SaveSiteDialog::mnuRenameFolder(const SitesTreeNode* selected)
{
    const SitesTreeNode* folder = selectedFolder(selected);
    return folder && !isRoot(*folder);
}

std::optional<std::string> SaveSiteDialog::renameFolder(const SitesTreeNode& node, const std::string& label)
{
    if (isRoot(node) || !isFolder(node) || !CheckNodeName(label, dialogs_))
        return std::nullopt;
    return RenameFolder(node.key, label, dialogs_);
}

bool SaveSiteDialog::mnuDeleteFolder(const SitesTreeNode* selected)
{
    const SitesTreeNode* folder = selectedFolder(selected);
    if (!folder || isRoot(*folder))
        return false;
    return DeleteFolder(folder->key, folder->text, dialogs_, trash_);
}

} // namespace kv
