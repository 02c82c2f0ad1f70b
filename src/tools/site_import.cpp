#include "tools/site_import.h"

#include "storage/atomic_file.h"
#include "storage/ini_file.h"
#include "storage/site_file_text.h"
#include "storage/sites_tree.h"
#include "support/ascii_text.h"
#include "tools/exchange_texts.h"
#include "tools/stored_site.h"

#include <set>

namespace kv {

namespace {

std::string OverwriteQuestion(std::string_view fileName)
{
    return std::string(kOverwriteBefore) + std::string(fileName) + std::string(kOverwriteAfter);
}

} // namespace

std::optional<std::string_view> ImportFolderProblem(std::string_view folderText,
                                                    const std::filesystem::path& sitesDirectory)
{
    if (TrimBlanks(folderText).empty())
        return kSelectFolder;
    if (folderText.find(sitesDirectory.string()) != std::string_view::npos)
        return kNoImportFromProfile;
    return std::nullopt;
}

std::vector<ExchangeItem> ImportList(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::int32_t fileCount = 0, folderCount = 0;
    CollectSiteFiles(folder, kSitePattern, files, fileCount, folderCount);
    std::vector<ExchangeItem> items;
    items.reserve(files.size());
    for (auto& file : files) {
        std::string name = file.filename().string();
        items.push_back({std::move(file), std::move(name)});
    }
    return items;
}

std::optional<std::vector<ExchangeItem>> cmdImportNext1_Click(std::string_view folderText,
                                                              const std::filesystem::path& sitesDirectory,
                                                              Dialogs& dialogs)
{
    if (const auto problem = ImportFolderProblem(folderText, sitesDirectory)) {
        dialogs.message(*problem);
        return std::nullopt;
    }
    auto items = ImportList(std::filesystem::path(std::string(folderText)));
    if (items.empty())
        return std::nullopt;
    return items;
}

ImportOutcome ImportSiteFiles(const std::vector<ExchangeItem>& items,
                              const std::filesystem::path& sitesDirectory, Dialogs& dialogs)
{
    ImportOutcome outcome;
    AtomicFileBatch batch;
    std::set<std::string> pending; // names added to the batch and not yet on disk
    auto commit = [&] {
        for (const auto& failure : batch.commit()) {
            outcome.skipped.push_back({failure.file.filename().string(), kReasonWriteFailed});
            std::erase(outcome.written, failure.file);
        }
        pending.clear();
    };
    for (const ExchangeItem& item : items) {
        if (!item.checked)
            continue;
        const std::string fileName = FileNameFromPath(item.file.string());
        const auto source = SiteFileText::load(item.file);
        if (!source) {
            outcome.skipped.push_back({fileName, kReasonUnreadable});
            continue;
        }
        SiteValues values;
        for (std::size_t i = 0; i < kMainKeys.size(); ++i)
            values[i] = source->plain(kMainSection, kMainKeys[i]);
        if (const auto problem = StoredValuesProblem(values)) {
            outcome.skipped.push_back({fileName, *problem});
            continue;
        }
        // A second file of the same name replaces the first only once that one is on disk.
        if (pending.contains(fileName))
            commit();
        const std::filesystem::path target = sitesDirectory / fileName;
        std::string existing;
        if (FileExists(target)) {
            if (dialogs.ask(OverwriteQuestion(fileName), Buttons::YesNo, Icon::Exclamation) !=
                Dialogs::Answer::Yes)
                continue;
            auto text = ReadIniText(target);
            if (!text) {
                outcome.skipped.push_back({fileName, kReasonUnreadable});
                continue;
            }
            existing = std::move(*text);
        }
        if (!batch.add(target, StoredSiteText(existing, values))) {
            outcome.skipped.push_back({fileName, kReasonWriteFailed});
            continue;
        }
        pending.insert(fileName);
        outcome.written.push_back(target);
    }
    commit();
    return outcome;
}

void cmdFinishImport_Click(const std::vector<ExchangeItem>& items,
                           const std::filesystem::path& sitesDirectory, Dialogs& dialogs)
{
    const ImportOutcome outcome = ImportSiteFiles(items, sitesDirectory, dialogs);
    dialogs.message(kImportCompleted);
    if (!outcome.skipped.empty())
        dialogs.message(SkippedList(kNotImportedIntro, outcome.skipped), {}, Icon::Exclamation);
}

} // namespace kv
