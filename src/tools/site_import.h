#pragma once
// Import of plain site files (as export writes them) from a folder into the root of the
// sites folder, their values encrypted with this profile's key. Each site file is written
// whole or not at all.
#include "support/dialogs.h"
#include "tools/exchange_items.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace kv {

// The message that refuses a folder text, or nothing when it may be used.
std::optional<std::string_view> ImportFolderProblem(std::string_view folderText,
                                                    const std::filesystem::path& sitesDirectory);

// Every site file below the folder, shown by its file name.
std::vector<ExchangeItem> ImportList(const std::filesystem::path& folder);

// cmdImportNext1_Click: the list to choose from; nothing when the folder is refused (after
// saying why) or holds no site files (silently, the page stays).
std::optional<std::vector<ExchangeItem>> cmdImportNext1_Click(std::string_view folderText,
                                                              const std::filesystem::path& sitesDirectory,
                                                              Dialogs& dialogs);

struct ImportOutcome {
    std::vector<std::filesystem::path> written;
    std::vector<SkippedSite> skipped; // not the ones the user chose not to overwrite
};

// Each checked file goes to sitesDirectory/<its file name>; an existing one is replaced
// key by key only when the user says Yes.
ImportOutcome ImportSiteFiles(const std::vector<ExchangeItem>& items,
                              const std::filesystem::path& sitesDirectory, Dialogs& dialogs);

// cmdFinishImport_Click: imports and reports.
void cmdFinishImport_Click(const std::vector<ExchangeItem>& items,
                           const std::filesystem::path& sitesDirectory, Dialogs& dialogs);

} // namespace kv
