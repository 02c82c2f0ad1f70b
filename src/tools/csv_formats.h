#pragma once
// The CSV exports of other password managers and browsers, recognised by their header
// line, and one line of each read as a site to import.
#include "tools/csv_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <tl/expected.hpp>
#include <vector>

namespace kv {

enum class CsvFormat { Chromium, Firefox, Bitwarden, KeePassXC };

// Where a format keeps what an imported site needs; -1 where it has no such column.
struct CsvColumns {
    CsvFormat format = CsvFormat::Chromium;
    int name = -1;
    int url = -1;
    int login = -1;
    int password = -1;
    int folder = -1;
    int type = -1; // entries of other kinds than logins are left out
};

// Column names compare without regard to case or surrounding blanks; their order is free.
std::optional<CsvColumns> RecogniseCsvHeader(const std::vector<std::string>& header);

struct CsvSite {
    std::vector<std::string> folder; // below the sites folder; empty for its root
    std::string name;                // a name to show, never empty
    std::string url;                 // with "https://" added when it has no scheme
    std::string login;
    std::string password;
};

// The site of one line; nothing for a line to leave out silently (not a login, or no
// address, login or password at all); an error text for a line that cannot be imported.
tl::expected<std::optional<CsvSite>, std::string_view> ReadCsvSite(const CsvColumns& columns,
                                                                   const CsvRecord& record);

} // namespace kv
