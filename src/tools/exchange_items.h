#pragma once
// What export and import share: the proposed folder, the lists of checkable sites and the
// report of what was left out.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The folder export and import propose, in the user's home folder.
std::filesystem::path DefaultExchangeFolder(const std::filesystem::path& home);

// One entry of an export or import list: its file and the text shown for it.
struct ExchangeItem {
    std::filesystem::path file;
    std::string text;
    bool checked = false;
};

bool AnyChecked(const std::vector<ExchangeItem>& items);

// The "Check all" button: checks every item and answers "Uncheck all", or the reverse.
std::string_view ToggleAllChecked(std::vector<ExchangeItem>& items, std::string_view caption);

struct SkippedSite {
    std::string name;
    std::string_view reason;
};

// intro, then one line "name: reason" per site.
std::string SkippedList(std::string_view intro, const std::vector<SkippedSite>& skipped);

} // namespace kv
