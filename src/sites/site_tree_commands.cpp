#include "sites/site_tree_commands.h"

#include "sites/site_tree_texts.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "storage/sites_tree.h"
#include "support/ascii_text.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace kv {
namespace {

std::string WithoutTrailingSlash(const std::string& key)
{
    return !key.empty() && key.back() == '/' ? key.substr(0, key.size() - 1) : key;
}

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

// rename() replaces an existing file silently; a name already in use is refused instead.
bool MoveWithoutReplacing(const fs::path& from, const fs::path& to)
{
    if (Exists(to))
        return false;
    std::error_code error;
    fs::rename(from, to, error);
    return !error;
}

} // namespace

bool CheckNodeName(const std::string& text, Dialogs& dialogs)
{
    if (text.find_first_of(kBadNameCharacters) == std::string::npos)
        return true;
    dialogs.message(kBadNameMessage);
    return false;
}

std::optional<std::string> RenameFolder(const std::string& folderKey, const std::string& newName,
                                        Dialogs& dialogs)
{
    fs::path old = WithoutTrailingSlash(folderKey);
    fs::path renamed = old.parent_path() / newName;
    if (renamed == old)
        return folderKey;
    if (!MoveWithoutReplacing(old, renamed)) {
        dialogs.message(kOperationsFailed);
        return std::nullopt;
    }
    return renamed.string() + "/";
}

std::optional<std::string> RenameSite(const std::string& siteKey, const std::string& newName,
                                      Dialogs& dialogs)
{
    fs::path old = siteKey;
    fs::path renamed = old.parent_path() / (newName + std::string(kSiteFileExtension));
    if (renamed == old)
        return siteKey;
    if (!MoveWithoutReplacing(old, renamed)) {
        dialogs.message(kOperationsFailed);
        return std::nullopt;
    }
    return renamed.string();
}

std::optional<std::string> FreeNewFolderName(const std::string& folderKey)
{
    fs::path folder = WithoutTrailingSlash(folderKey);
    if (!Exists(folder / "New Folder"))
        return "New Folder";
    for (int n = 2; n <= 1000; ++n) {
        std::string name = "New Folder (" + std::to_string(n) + ")";
        if (!Exists(folder / name))
            return name;
    }
    return std::nullopt;
}

std::optional<std::string> CreateNewFolder(const std::string& folderKey)
{
    auto name = FreeNewFolderName(folderKey);
    if (!name)
        return std::nullopt;
    fs::path created = fs::path(WithoutTrailingSlash(folderKey)) / *name;
    MakeDirPath(created);
    std::error_code error;
    if (!fs::is_directory(created, error))
        return std::nullopt;
    return created.string() + "/";
}

bool DeleteFolder(const std::string& folderKey, const std::string& nodeText, Dialogs& dialogs, Trash& trash)
{
    if (dialogs.ask(DeleteFolderQuestion(nodeText), Buttons::YesNoDefaultNo, Icon::Exclamation) !=
        Dialogs::Answer::Yes)
        return false;
    if (!trash.moveToTrash(WithoutTrailingSlash(folderKey)))
        dialogs.message(kOperationsFailed);
    return true;
}

bool DeleteSite(const std::string& siteKey, const std::string& nodeText, Dialogs& dialogs, Trash& trash)
{
    if (dialogs.ask(DeleteFileQuestion(nodeText), Buttons::YesNoDefaultNo, Icon::Exclamation) !=
        Dialogs::Answer::Yes)
        return false;
    if (!trash.moveToTrash(siteKey))
        dialogs.message(kOperationsFailed);
    return true;
}

MoveResult MoveSiteOrFolder(const std::string& sourceKey, bool isFolder, const std::string& nodeText,
                            const std::string& targetFolderKey, Dialogs& dialogs)
{
    // A folder can go neither into itself nor below itself.
    if (isFolder && targetFolderKey.compare(0, sourceKey.size(), sourceKey) == 0) {
        dialogs.ask(kDragNotPermitted, Buttons::OKCancel, Icon::None);
        return {MoveOutcome::Refused, sourceKey};
    }
    std::string source = isFolder ? WithoutTrailingSlash(sourceKey) : sourceKey;
    std::string destination = isFolder ? targetFolderKey + nodeText + "/"
                                       : targetFolderKey + fs::path(sourceKey).filename().string();
    if (destination == sourceKey)
        return {MoveOutcome::Unchanged, sourceKey};
    if (!MoveWithoutReplacing(source, WithoutTrailingSlash(destination))) {
        dialogs.message(kOperationsFailed);
        return {MoveOutcome::Failed, sourceKey};
    }
    return {MoveOutcome::Moved, destination};
}

bool FolderMenuOffersFolderCommands(bool isRoot)
{
    return !isRoot;
}

bool IsVelotripSite(const std::string& siteKey)
{
    auto value = ReadSecureValue(kMainSection, VELOTRIP, siteKey);
    return value && TrimBlanks(*value) == kVelotripOn;
}

} // namespace kv
