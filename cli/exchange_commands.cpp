// export and import: plain site files (and other programs' CSV files) in and out.
#include "cli/command_runners.h"
#include "sites/site_lookup.h"
#include "support/ascii_text.h"
#include "tools/csv_import.h"
#include "tools/site_export.h"
#include "tools/site_import.h"

#include <algorithm>
#include <iostream>

namespace kv::cli {
namespace {
namespace fs = std::filesystem;

// The folder as the profile check must see it: absolute, without "..", links resolved, so
// that no spelling of the sites folder slips past the check.
std::string ResolvedFolderText(const std::string& given)
{
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(given, error), error);
    return error ? given : resolved.string();
}

int ReportSkipped(const std::vector<SkippedSite>& skipped)
{
    for (const SkippedSite& site : skipped)
        PrintError(site.name + ": " + std::string(site.reason));
    return skipped.empty() ? kSucceeded : kFailed;
}

int ImportCsv(const fs::path& file, const CommandContext& context)
{
    const CsvImportOutcome outcome = ImportCsvFile(file, context.profileDirectory);
    std::cout << "Imported " << outcome.written.size() << " sites from " << file.string() << '\n';
    if (outcome.problems.empty())
        return kSucceeded;
    const std::string problems = CsvProblemList(file, outcome.problems);
    for (std::size_t at = 0; at < problems.size();) {
        const std::size_t end = std::min(problems.find('\n', at), problems.size());
        if (end > at)
            PrintError(problems.substr(at, end - at));
        at = end + 1;
    }
    return kFailed;
}

} // namespace

int RunExport(const CommandContext& context)
{
    const auto& words = context.arguments.positionals();
    if (words.empty())
        return Fail("export needs DIR, the folder for the plain site files");
    const std::string folder = ResolvedFolderText(words.front());
    if (const auto problem = ExportFolderProblem(folder, context.profileDirectory))
        return Fail(*problem);
    std::vector<ExchangeItem> items = ExportList(context.profileDirectory);
    if (words.size() == 1) {
        for (ExchangeItem& item : items)
            item.checked = true;
    }
    for (auto name = words.begin() + 1; name != words.end(); ++name) {
        const auto site = LookUpSite(context.profileDirectory, *name);
        if (!site)
            return Fail(site.error());
        for (ExchangeItem& item : items)
            item.checked = item.checked || item.file == site->file;
    }
    if (!AnyChecked(items))
        return Fail("there are no sites to export");
    const ExportOutcome outcome = ExportSites(items, folder);
    if (outcome.folderError)
        return Fail("the export folder could not be created: " + *outcome.folderError);
    std::cout << "Exported " << outcome.written.size() << " sites to " << outcome.folder.string() << '\n';
    return ReportSkipped(outcome.skipped);
}

int RunImport(const CommandContext& context)
{
    const auto& words = context.arguments.positionals();
    if (words.size() != 1)
        return Fail("import needs one DIR or FILE.csv");
    const bool overwrite = context.arguments.has("overwrite");
    const bool skip = context.arguments.has("skip");
    if (overwrite && skip)
        return Fail("give --overwrite or --skip, not both");
    const std::string source = ResolvedFolderText(words.front());
    if (const auto problem = ImportFolderProblem(source, context.profileDirectory))
        return Fail(*problem);
    std::error_code error;
    if (fs::is_regular_file(source, error))
        return ImportCsv(source, context);
    if (!fs::is_directory(source, error))
        return Fail("no folder or CSV file " + words.front());
    std::vector<ExchangeItem> items = ImportList(source);
    if (items.empty())
        return Fail("no site files in " + source);
    for (ExchangeItem& item : items)
        item.checked = true;
    context.dialogs.answerQuestions(overwrite ? TerminalDialogs::Questions::Yes
                                    : skip    ? TerminalDialogs::Questions::No
                                              : TerminalDialogs::Questions::Ask);
    const ImportOutcome outcome = ImportSiteFiles(items, context.profileDirectory, context.dialogs);
    std::cout << "Imported " << outcome.written.size() << " sites into the root sites folder" << '\n';
    return ReportSkipped(outcome.skipped);
}

} // namespace kv::cli
