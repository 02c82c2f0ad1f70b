#include "tools/csv_formats.h"

#include "storage/ini_values.h"
#include "support/ascii_text.h"
#include "support/parse_url.h"
#include "support/utf8_text.h"
#include "tools/exchange_texts.h"

#include <algorithm>
#include <array>

namespace kv {

namespace {

int ColumnOf(const std::vector<std::string>& header, std::string_view name)
{
    for (std::size_t i = 0; i < header.size(); ++i)
        if (EqualsIgnoringCase(TrimBlanks(header[i]), name))
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> SplitPath(std::string_view path)
{
    std::vector<std::string> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find_first_of("/\\");
        const std::string part = TrimBlanks(path.substr(0, slash));
        if (!part.empty())
            parts.push_back(part);
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
    }
    return parts;
}

std::string WithScheme(std::string url)
{
    if (!url.empty() && url.find("://") == std::string::npos)
        url.insert(0, "https://");
    return url;
}

std::string NameFor(const CsvSite& site, std::string_view given)
{
    // The address helpers work on bytes and may cut a character of an odd address in two.
    for (std::string name :
         {TrimBlanks(given), SiteNameFromUrl(site.url), ParseUrl(site.url, "server"), TrimBlanks(site.login)})
        if (!name.empty() && IsValidUtf8(name))
            return name;
    return "Site";
}

} // namespace

std::optional<CsvColumns> RecogniseCsvHeader(const std::vector<std::string>& header)
{
    auto has = [&](std::initializer_list<std::string_view> names) {
        return std::all_of(names.begin(), names.end(),
                           [&](std::string_view n) { return ColumnOf(header, n) >= 0; });
    };
    auto col = [&](std::string_view name) { return ColumnOf(header, name); };
    if (has({"type", "name", "login_uri", "login_username", "login_password"}))
        return CsvColumns{CsvFormat::Bitwarden,  col("name"),   col("login_uri"), col("login_username"),
                          col("login_password"), col("folder"), col("type")};
    if (has({"url", "username", "password", "httpRealm"}))
        return CsvColumns{CsvFormat::Firefox, -1, col("url"), col("username"), col("password")};
    if (has({"Group", "Title", "Username", "Password", "URL"}))
        return CsvColumns{CsvFormat::KeePassXC, col("Title"),    col("URL"),
                          col("Username"),      col("Password"), col("Group")};
    if (has({"name", "url", "username", "password"}))
        return CsvColumns{CsvFormat::Chromium, col("name"), col("url"), col("username"), col("password")};
    return std::nullopt;
}

tl::expected<std::optional<CsvSite>, std::string_view> ReadCsvSite(const CsvColumns& columns,
                                                                   const CsvRecord& record)
{
    const int needed =
        std::max({columns.name, columns.url, columns.login, columns.password, columns.folder, columns.type});
    if (static_cast<int>(record.fields.size()) <= needed)
        return tl::unexpected(kCsvMissingColumns);
    auto field = [&](int column) -> std::string_view {
        return column < 0 ? std::string_view()
                          : std::string_view(record.fields[static_cast<std::size_t>(column)]);
    };
    for (int column : {columns.name, columns.url, columns.login, columns.password, columns.folder})
        if (!IsValidUtf8(field(column)))
            return tl::unexpected(kCsvInvalidUtf8);
    if (columns.type >= 0 && !EqualsIgnoringCase(TrimBlanks(field(columns.type)), "login"))
        return std::nullopt;

    CsvSite site;
    std::string url = TrimBlanks(field(columns.url));
    // One entry may list several addresses; the first is where it logs in.
    if (columns.format == CsvFormat::Bitwarden)
        url = TrimBlanks(url.substr(0, url.find(',')));
    site.url = WithScheme(std::move(url));
    site.login = field(columns.login);
    site.password = field(columns.password);
    if (site.url.empty() && site.login.empty() && site.password.empty())
        return std::nullopt;
    site.folder = SplitPath(field(columns.folder));
    // The first group of a KeePassXC path is the database's root group.
    if (columns.format == CsvFormat::KeePassXC && !site.folder.empty())
        site.folder.erase(site.folder.begin());
    site.name = NameFor(site, field(columns.name));
    for (std::string_view value : {std::string_view(site.url), std::string_view(site.login),
                                   std::string_view(site.password), std::string_view(site.name)})
        if (value.size() > kMaxSecureValueLength)
            return tl::unexpected(kReasonTooLong);
    return site;
}

} // namespace kv
