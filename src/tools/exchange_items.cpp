#include "tools/exchange_items.h"

#include "tools/exchange_texts.h"

#include <algorithm>

namespace kv {

std::filesystem::path DefaultExchangeFolder(const std::filesystem::path& home)
{
    return home / kExchangeFolderName;
}

bool AnyChecked(const std::vector<ExchangeItem>& items)
{
    return std::any_of(items.begin(), items.end(), [](const ExchangeItem& item) { return item.checked; });
}

std::string_view ToggleAllChecked(std::vector<ExchangeItem>& items, std::string_view caption)
{
    const bool check = caption == kCheckAll;
    for (ExchangeItem& item : items)
        item.checked = check;
    return check ? kUncheckAll : kCheckAll;
}

std::string SkippedList(std::string_view intro, const std::vector<SkippedSite>& skipped)
{
    std::string text(intro);
    for (const auto& site : skipped)
        text.append("\n").append(site.name).append(": ").append(site.reason);
    return text;
}

} // namespace kv
