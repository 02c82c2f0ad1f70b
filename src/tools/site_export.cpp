#include "tools/site_export.h"

#include "storage/atomic_file.h"
#include "storage/ini_file.h"
#include "storage/site_file.h"
#include "storage/site_file_text.h"
#include "storage/sites_tree.h"
#include "support/ascii_text.h"
#include "tools/exchange_texts.h"
#include "tools/site_file_name.h"

#include <set>

namespace kv {

namespace {

bool FitsOneLine(std::string_view value)
{
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string FriendlyNameOf(const std::filesystem::path& file)
{
    if (const auto text = SiteFileText::load(file))
        if (auto name = text->secure(kMainSection, SITEFRIENDLYNAME))
            return std::move(*name);
    return SiteDisplayName(file.filename().string());
}

// The plain "Main" section of an exported site, or why the site cannot be exported.
tl::expected<IniFile, std::string_view> PlainSite(const std::filesystem::path& file)
{
    const auto text = SiteFileText::load(file);
    if (!text)
        return tl::unexpected(kReasonUnreadable);
    IniFile plain;
    for (std::string_view key : kMainKeys) {
        const auto value = text->secure(kMainSection, key);
        if (!value)
            return tl::unexpected(kReasonDamaged);
        if (!FitsOneLine(*value))
            return tl::unexpected(kReasonLineBreak);
        // Keys a form's site lacks are left out rather than written empty.
        if ((key != SITEPOSTDATA && key != SITEPOSTTYPE) || !value->empty())
            plain.setValue(kMainSection, key, *value);
    }
    return plain;
}

} // namespace

std::vector<ExchangeItem> ExportList(const std::filesystem::path& sitesDirectory)
{
    std::vector<std::filesystem::path> sites;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(sitesDirectory, kSitePattern, sites, files, folders);
    std::vector<ExchangeItem> items;
    items.reserve(sites.size());
    for (auto& site : sites) {
        std::string name = FriendlyNameOf(site);
        items.push_back({std::move(site), std::move(name)});
    }
    return items;
}

std::optional<std::string_view> ExportFolderProblem(std::string_view folderText,
                                                    const std::filesystem::path& sitesDirectory)
{
    if (TrimBlanks(folderText).empty())
        return kSelectFolder;
    if (folderText.find(sitesDirectory.string()) != std::string_view::npos)
        return kNoExportIntoProfile;
    return std::nullopt;
}

ExportOutcome ExportSites(const std::vector<ExchangeItem>& items, const std::filesystem::path& folder)
{
    ExportOutcome outcome;
    std::error_code error;
    outcome.folder = std::filesystem::absolute(folder, error);
    const std::filesystem::path& target = outcome.folder;
    MakeDirPath(target);
    if (error || !std::filesystem::is_directory(target, error)) {
        outcome.folderError = target.string();
        return outcome;
    }
    AtomicFileBatch batch;
    std::set<std::string> taken;
    for (const ExchangeItem& item : items) {
        if (!item.checked)
            continue;
        auto plain = PlainSite(item.file);
        if (!plain) {
            outcome.skipped.push_back({item.text, plain.error()});
            continue;
        }
        const auto file = UniqueSiteFile(target, item.text, taken, ExistingFiles::Replace);
        if (!batch.add(file, plain->serialize()))
            outcome.skipped.push_back({item.text, kReasonWriteFailed});
        else
            outcome.written.push_back(file);
    }
    for (const auto& failure : batch.commit()) {
        outcome.skipped.push_back({failure.file.stem().string(), kReasonWriteFailed});
        std::erase(outcome.written, failure.file);
    }
    return outcome;
}

bool cmdExportNext1_Click(const std::vector<ExchangeItem>& items, Dialogs& dialogs)
{
    if (AnyChecked(items))
        return true;
    dialogs.message(kExportAtLeastOne);
    return false;
}

bool cmdFinishExport_Click(const std::vector<ExchangeItem>& items, std::string_view folderText,
                           const std::filesystem::path& sitesDirectory, Dialogs& dialogs, DesktopShell* shell)
{
    if (const auto problem = ExportFolderProblem(folderText, sitesDirectory)) {
        dialogs.message(*problem);
        return false;
    }
    const ExportOutcome outcome = ExportSites(items, std::filesystem::path(std::string(folderText)));
    if (outcome.folderError) {
        dialogs.message(std::string(kExportFolderFailed) + *outcome.folderError, {}, Icon::Exclamation);
        return false;
    }
    dialogs.message(kExportCompleted);
    if (!outcome.skipped.empty())
        dialogs.message(SkippedList(kSkippedSitesIntro, outcome.skipped), {}, Icon::Exclamation);
    if (shell)
        shell->open(outcome.folder.string());
    return true;
}

} // namespace kv
