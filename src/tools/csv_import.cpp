#include "tools/csv_import.h"

#include "storage/atomic_file.h"
#include "storage/ini_file.h"
#include "storage/sites_tree.h"
#include "support/ascii_text.h"
#include "support/parse_url.h"
#include "tools/csv_formats.h"
#include "tools/exchange_texts.h"
#include "tools/site_file_name.h"
#include "tools/stored_site.h"

#include <algorithm>
#include <map>
#include <set>

namespace kv {

namespace {

SiteValues ValuesOf(const CsvSite& site, const std::string& friendlyName)
{
    SiteValues values;
    ValueOf(values, SITEFRIENDLYNAME) = friendlyName;
    ValueOf(values, SITEURL) = site.url;
    ValueOf(values, SITEDOMAIN) = ParseUrl(site.url, "domain");
    ValueOf(values, FORMLOGINVALUE) = site.login;
    ValueOf(values, FORMPASSVALUE) = site.password;
    ValueOf(values, VELOTRIP) = std::string(kVelotripOff);
    return values;
}

std::filesystem::path FolderFor(const std::filesystem::path& sitesDirectory,
                                const std::vector<std::string>& folder)
{
    std::filesystem::path path = sitesDirectory;
    for (const std::string& name : folder)
        path /= SafeFileName(name);
    return path;
}

} // namespace

CsvImportOutcome ImportCsvText(std::string_view text, const std::filesystem::path& sitesDirectory)
{
    CsvImportOutcome outcome;
    const CsvText csv = ParseCsv(text);
    if (csv.outOfMemory) {
        outcome.problems.push_back({0, std::make_error_code(std::errc::not_enough_memory).message()});
        return outcome;
    }
    const auto columns = csv.records.empty() ? std::nullopt : RecogniseCsvHeader(csv.records.front().fields);
    if (!columns) {
        outcome.problems.push_back(
            {csv.records.empty() ? 0 : csv.records.front().line, std::string(kCsvUnknownHeader)});
        return outcome;
    }
    AtomicFileBatch batch;
    std::map<std::filesystem::path, std::size_t> lineOf;
    std::map<std::filesystem::path, std::set<std::string>> takenIn;
    for (std::size_t i = 1; i < csv.records.size(); ++i) {
        const CsvRecord& record = csv.records[i];
        const auto site = ReadCsvSite(*columns, record);
        if (!site) {
            outcome.problems.push_back({record.line, std::string(site.error())});
            continue;
        }
        if (!*site)
            continue;
        const std::filesystem::path folder = FolderFor(sitesDirectory, (*site)->folder);
        MakeDirPath(folder);
        const std::filesystem::path file =
            UniqueSiteFile(folder, (*site)->name, takenIn[folder], ExistingFiles::Keep);
        const SiteValues values = ValuesOf(**site, SiteDisplayName(file.filename().string()));
        if (auto added = batch.add(file, StoredSiteText({}, values)); !added) {
            outcome.problems.push_back({record.line, added.error().message()});
            continue;
        }
        lineOf[file] = record.line;
        outcome.written.push_back(file);
    }
    for (const auto& failure : batch.commit()) {
        outcome.problems.push_back({lineOf[failure.file], failure.error.message()});
        std::erase(outcome.written, failure.file);
    }
    for (std::size_t line : csv.malformedLines)
        outcome.problems.push_back({line, std::string(kCsvMisplacedQuote)});
    std::stable_sort(outcome.problems.begin(), outcome.problems.end(),
                     [](const CsvProblem& a, const CsvProblem& b) { return a.line < b.line; });
    if (csv.unclosedQuoteLine)
        outcome.problems.push_back({*csv.unclosedQuoteLine, std::string(kCsvUnclosedQuote)});
    return outcome;
}

CsvImportOutcome ImportCsvFile(const std::filesystem::path& file, const std::filesystem::path& sitesDirectory)
{
    // The size limit of our own files is far above any export of logins.
    const auto text = ReadIniText(file);
    if (!text) {
        const bool tooLarge = text.error() == std::errc::file_too_large;
        return {{}, {{0, tooLarge ? std::string(kCsvTooLarge) : text.error().message()}}};
    }
    return ImportCsvText(*text, sitesDirectory);
}

std::string CsvProblemList(const std::filesystem::path& file, const std::vector<CsvProblem>& problems)
{
    std::string text;
    for (const CsvProblem& problem : problems) {
        if (!text.empty())
            text += '\n';
        text += file.string();
        if (problem.line > 0)
            text.append(": line ").append(std::to_string(problem.line));
        text.append(": ").append(problem.reason);
    }
    return text;
}

bool cmdFinishCsvImport_Click(std::string_view fileText, const std::filesystem::path& sitesDirectory,
                              Dialogs& dialogs)
{
    if (TrimBlanks(fileText).empty()) {
        dialogs.message(kCsvSelectFile);
        return false;
    }
    const std::filesystem::path file{std::string(fileText)};
    const CsvImportOutcome outcome = ImportCsvFile(file, sitesDirectory);
    dialogs.message(std::string(kCsvImportCompletedBefore) + std::to_string(outcome.written.size()) +
                    std::string(kCsvImportCompletedAfter));
    if (!outcome.problems.empty())
        dialogs.message(std::string(kNotImportedIntro) + "\n" + CsvProblemList(file, outcome.problems), {},
                        Icon::Exclamation);
    return true;
}

} // namespace kv
