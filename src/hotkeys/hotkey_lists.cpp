#include "hotkeys/hotkey_lists.h"

#include "browser/numeric_value.h"
#include "hotkeys/hotkey_texts.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "storage/sites_tree.h"
#include "support/ascii_text.h"

#include <algorithm>

namespace kv {
namespace {

bool Holds(const std::vector<std::string>& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

void RemoveFirst(std::vector<std::string>& list, const std::string& name)
{
    if (const auto it = std::find(list.begin(), list.end(), name); it != list.end())
        list.erase(it);
}

// The row now at the place of a removed one, if the list reaches that far.
std::optional<int> RowAt(const std::vector<std::string>& list, int row)
{
    return row < static_cast<int>(list.size()) ? std::optional<int>(row) : std::nullopt;
}

bool ValidRow(const std::vector<std::string>& list, std::optional<int> row)
{
    return row && *row >= 0 && *row < static_cast<int>(list.size());
}

} // namespace

std::vector<std::string> HotkeySiteNames(const std::filesystem::path& profileFile, int hotkeyNumber)
{
    std::vector<std::string> names;
    const std::string section = HotkeySection(hotkeyNumber);
    for (int i = 1; i <= kHotkeyEntryCount; ++i) {
        std::string name = TrimBlanks(ReadIniValue(section, HotkeyEntryKey(i), profileFile));
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

HotkeyLists::HotkeyLists(std::filesystem::path profileDirectory, std::filesystem::path profileFile,
                         Dialogs& dialogs, std::function<void()> registerAfresh)
    : profileDirectory_(std::move(profileDirectory)), profileFile_(std::move(profileFile)), dialogs_(dialogs),
      registerAfresh_(std::move(registerAfresh))
{
}

void HotkeyLists::LoadHotkeyLists(int hotkeyNumber)
{
    hotkeyNumber_ = hotkeyNumber;
    available_.clear();
    current_.clear();
    saved_ = false;
    SiteSearch search{true, profileDirectory_};
    ListSiteNames(search, available_);
    current_ = HotkeySiteNames(profileFile_, hotkeyNumber);
    // A site in the list is not offered again (one copy of a name found in two folders is).
    for (const std::string& name : current_)
        RemoveFirst(available_, name);
    lock_ = LeadingNumber(ReadIniValue(HotkeySection(hotkeyNumber), HOTKEYLOCK, profileFile_)) == 1.0;
}

std::optional<int> HotkeyLists::AddToHotkey(std::optional<int> availableRow)
{
    if (!ValidRow(available_, availableRow))
        return std::nullopt;
    const std::string name = available_[static_cast<std::size_t>(*availableRow)];
    if (current_.size() >= static_cast<std::size_t>(kHotkeyEntryCount)) {
        dialogs_.message(kTooManyHotkeySitesMessage);
        return availableRow;
    }
    if (Holds(current_, name)) {
        dialogs_.message(kDuplicateHotkeySiteMessage);
        return availableRow;
    }
    current_.push_back(name);
    available_.erase(available_.begin() + *availableRow);
    return RowAt(available_, *availableRow);
}

std::optional<int> HotkeyLists::RemoveFromHotkey(std::optional<int> currentRow)
{
    if (!ValidRow(current_, currentRow))
        return std::nullopt;
    const std::string name = current_[static_cast<std::size_t>(*currentRow)];
    // A name that is still offered (its twin in another folder) is only taken off the list:
    // refusing would leave the user a site that can never be removed from the hotkey.
    if (!Holds(available_, name))
        available_.push_back(name);
    current_.erase(current_.begin() + *currentRow);
    return RowAt(current_, *currentRow);
}

void HotkeyLists::SaveHotkeyList(bool lockOnHotkey)
{
    if (hotkeyNumber_ < 1 || hotkeyNumber_ > kSiteHotkeyCount)
        return;
    const std::string section = HotkeySection(hotkeyNumber_);
    for (int i = 1; i <= kHotkeyEntryCount; ++i) {
        const auto entry = static_cast<std::size_t>(i - 1);
        WriteIniValue(section, HotkeyEntryKey(i), entry < current_.size() ? current_[entry] : std::string(),
                      profileFile_);
    }
    lock_ = lockOnHotkey;
    WriteIniValue(section, HOTKEYLOCK, lockOnHotkey ? kSettingOn : kSettingOff, profileFile_);
    saved_ = true;
    if (registerAfresh_)
        registerAfresh_();
}

} // namespace kv
