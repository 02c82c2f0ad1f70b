#include "tools/print_page.h"

#include "storage/site_file.h"
#include "storage/site_file_text.h"
#include "storage/sites_tree.h"
#include "tools/exchange_texts.h"

#include <array>
#include <optional>
#include <vector>

namespace kv {

namespace {

constexpr std::array<std::string_view, 4> kPrintedKeys = {SITEFRIENDLYNAME, SITEDOMAIN, FORMLOGINVALUE,
                                                          FORMPASSVALUE};

std::optional<std::array<std::string, 4>> PrintedValues(const std::filesystem::path& file)
{
    const auto text = SiteFileText::load(file);
    if (!text)
        return std::nullopt;
    std::array<std::string, 4> values;
    for (std::size_t i = 0; i < kPrintedKeys.size(); ++i) {
        auto value = text->secure(kMainSection, kPrintedKeys[i]);
        if (!value)
            return std::nullopt;
        values[i] = std::move(*value);
    }
    return values;
}

} // namespace

std::string HtmlEscape(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string BuildPrintPage(const std::filesystem::path& sitesDirectory)
{
    std::vector<std::filesystem::path> sites;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(sitesDirectory, kSitePattern, sites, files, folders);
    std::string page;
    page.append(kPrintHead).append(kPrintWarning).append(kPrintTableHead);
    for (const auto& site : sites) {
        std::array<std::string, 4> cells;
        if (auto values = PrintedValues(site))
            cells = std::move(*values);
        else
            cells = {SiteDisplayName(site.filename().string()), std::string(kPrintDamaged),
                     std::string(kPrintDamaged), std::string(kPrintDamaged)};
        page += "<tr>";
        for (const std::string& cell : cells)
            page.append("<td>").append(HtmlEscape(cell));
        page += "</tr>";
    }
    page.append(kPrintTail);
    return page;
}

} // namespace kv
