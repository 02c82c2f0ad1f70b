#pragma once
// The Sites area's rules over the sites directory: names, rename, new folder, delete and
// move. Keys are full paths; a folder's key ends with "/". Every change is made on disk
// first; the caller then brings the tree in step with the key returned.
#include "platform/trash.h"
#include "support/dialogs.h"

#include <optional>
#include <string>

namespace kv {

// True when text may name a site or folder; otherwise the character message is shown.
bool CheckNodeName(const std::string& text, Dialogs& dialogs);

// Renames the folder or site file; the new key, or nothing after message 112 (the disk
// refused, or a site or folder of that name is already there: it is never replaced).
std::optional<std::string> RenameFolder(const std::string& folderKey, const std::string& newName,
                                        Dialogs& dialogs);
std::optional<std::string> RenameSite(const std::string& siteKey, const std::string& newName,
                                      Dialogs& dialogs);

// "New Folder", then "New Folder (2)" … "New Folder (1000)": the first name not yet used.
std::optional<std::string> FreeNewFolderName(const std::string& folderKey);
// Creates the folder; its key, or nothing when every name is taken or the disk refused.
std::optional<std::string> CreateNewFolder(const std::string& folderKey);

// Ask first (Enter answers No); on Yes the folder or site goes to the trash, where the user
// can still bring it back. True when the user said Yes (the tree is then reloaded); a trash
// that refused is reported with message 112 and leaves everything in place.
bool DeleteFolder(const std::string& folderKey, const std::string& nodeText, Dialogs& dialogs, Trash& trash);
bool DeleteSite(const std::string& siteKey, const std::string& nodeText, Dialogs& dialogs, Trash& trash);

enum class MoveOutcome {
    Refused,   // a folder into itself or below itself: message 113, nothing touched
    Failed,    // message 112, the node keeps its key
    Unchanged, // already there
    Moved
};
struct MoveResult {
    MoveOutcome outcome;
    std::string key; // the node's key afterwards
};
// Moves a site or folder into the target folder (key ending in "/"). A site or folder of
// the same name in the target is never overwritten: that move fails with message 112.
MoveResult MoveSiteOrFolder(const std::string& sourceKey, bool isFolder, const std::string& nodeText,
                            const std::string& targetFolderKey, Dialogs& dialogs);

// Whether a folder's context menu offers the folder commands (the root offers only "New Folder").
bool FolderMenuOffersFolderCommands(bool isRoot);
// The site's VELOTRIP value is 1.
bool IsVelotripSite(const std::string& siteKey);

} // namespace kv
