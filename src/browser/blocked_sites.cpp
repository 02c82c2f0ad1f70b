#include "browser/blocked_sites.h"

#include "browser/blocked_sites_texts.h"
#include "storage/ini_values.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace kv {
namespace {

// Section and key names are matched without regard to case; one spelling serves all.
constexpr std::string_view kSection = "Blacklist";

std::string entryKey(int number)
{
    return "BlackList" + std::to_string(number);
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

BlockedSites::BlockedSites(std::filesystem::path profileFile) : profileFile_(std::move(profileFile)) {}

bool BlockedSites::contains(std::string_view url) const
{
    const int count = CountSectionKeys(kSection, profileFile_);
    for (int n = 1; n <= count; ++n) {
        if (ReadIniValue(kSection, entryKey(n), profileFile_) == url)
            return true;
    }
    return false;
}

void BlockedSites::add(std::string_view url)
{
    const int count = CountSectionKeys(kSection, profileFile_);
    WriteIniValue(kSection, entryKey(count + 1), url, profileFile_);
}

void BlockedSites::remove(int entryNumber)
{
    const int count = CountSectionKeys(kSection, profileFile_);
    if (entryNumber < 1 || entryNumber > count)
        return;
    WriteIniValue(kSection, entryKey(entryNumber), std::nullopt, profileFile_);
    for (int n = entryNumber + 1; n <= count; ++n) {
        const std::string url = ReadIniValue(kSection, entryKey(n), profileFile_);
        WriteIniValue(kSection, entryKey(n), std::nullopt, profileFile_);
        WriteIniValue(kSection, entryKey(n - 1), url, profileFile_);
    }
}

void BlockedSites::removeAll(Dialogs& dialogs)
{
    if (dialogs.ask(kRemoveAllBlockedQuestion, Buttons::YesNoDefaultNo, Icon::Exclamation) !=
        Dialogs::Answer::Yes)
        return;
    DeleteIniSection(kSection, profileFile_);
}

std::vector<BlockedEntry> BlockedSites::entries() const
{
    std::vector<BlockedEntry> result;
    const int count = CountSectionKeys(kSection, profileFile_);
    for (int n = 1; n <= count; ++n)
        result.push_back({n, ReadIniValue(kSection, entryKey(n), profileFile_)});
    return result;
}

std::vector<BlockedEntry> BlockedSites::listItems() const
{
    std::vector<BlockedEntry> items = entries();
    std::stable_sort(items.begin(), items.end(), [](const BlockedEntry& a, const BlockedEntry& b) {
        return lessIgnoringCase(a.url, b.url);
    });
    return items;
}

} // namespace kv
