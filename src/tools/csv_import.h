#pragma once
// Moving in from another password manager or browser: its CSV export becomes one encrypted
// site file per login, in a folder of the tree named after the login's folder or group
// (created when missing). A site never replaces an existing one: a taken name gets
// "name (2)" and so on. Each site file is written whole or not at all, and a line that
// cannot be imported is reported by its number while the others are imported.
#include "support/dialogs.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct CsvProblem {
    std::size_t line = 0; // 0: the file as a whole
    std::string reason;
};

struct CsvImportOutcome {
    std::vector<std::filesystem::path> written;
    std::vector<CsvProblem> problems;
};

CsvImportOutcome ImportCsvText(std::string_view text, const std::filesystem::path& sitesDirectory);
CsvImportOutcome ImportCsvFile(const std::filesystem::path& file,
                               const std::filesystem::path& sitesDirectory);

// One line per problem: "<file>: line N: reason" (or "<file>: reason").
std::string CsvProblemList(const std::filesystem::path& file, const std::vector<CsvProblem>& problems);

// The CSV page's Finish: checks the file text, imports and reports. False when the text
// was refused (the page stays).
bool cmdFinishCsvImport_Click(std::string_view fileText, const std::filesystem::path& sitesDirectory,
                              Dialogs& dialogs);

} // namespace kv
