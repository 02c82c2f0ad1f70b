#pragma once
// Export of sites as plain site files into a folder outside the profile, for moving them
// to another machine or profile. The files hold passwords in plain text: they are
// owner-only, and a folder the export creates is too.
#include "platform/desktop_shell.h"
#include "support/dialogs.h"
#include "tools/exchange_items.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Every site below the sites directory, shown by its friendly name (its file's name when
// that cannot be decrypted).
std::vector<ExchangeItem> ExportList(const std::filesystem::path& sitesDirectory);

// The message that refuses a folder text, or nothing when it may be used.
std::optional<std::string_view> ExportFolderProblem(std::string_view folderText,
                                                    const std::filesystem::path& sitesDirectory);

struct ExportOutcome {
    std::filesystem::path folder;           // made absolute
    std::optional<std::string> folderError; // the folder could not be made: nothing was exported
    std::vector<std::filesystem::path> written;
    std::vector<SkippedSite> skipped;
};

// Writes each checked item as folder/<safe friendly name>.QVR. Two sites whose names give
// the same file name get "name (2)" and so on instead of overwriting each other; a file of
// an earlier export is replaced. A site that cannot be decrypted is skipped, as is one with
// a value a one-line plain value cannot hold.
ExportOutcome ExportSites(const std::vector<ExchangeItem>& items, const std::filesystem::path& folder);

// cmdExportNext1_Click: false, after saying so, when no site is checked.
bool cmdExportNext1_Click(const std::vector<ExchangeItem>& items, Dialogs& dialogs);

// cmdFinishExport_Click: checks the folder, exports, reports, opens the folder in the
// desktop's file browser when there is one. False when the folder was refused (the page stays).
bool cmdFinishExport_Click(const std::vector<ExchangeItem>& items, std::string_view folderText,
                           const std::filesystem::path& sitesDirectory, Dialogs& dialogs,
                           DesktopShell* shell);

} // namespace kv
