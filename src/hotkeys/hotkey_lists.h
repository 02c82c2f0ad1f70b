#pragma once
// The Hotkeys area's rules: the sites available for a site hotkey (every site of the tree
// not yet in its list), the hotkey's list of up to 20 sites, its lock setting, and saving
// them, after which the hotkeys are registered afresh.
#include "support/dialogs.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The sites of site hotkey n (1 to 10) as the profile lists them, blanks trimmed, empty
// entries left out.
std::vector<std::string> HotkeySiteNames(const std::filesystem::path& profileFile, int hotkeyNumber);

class HotkeyLists {
public:
    HotkeyLists(std::filesystem::path profileDirectory, std::filesystem::path profileFile, Dialogs& dialogs,
                std::function<void()> registerAfresh);

    // Fills the lists and the lock setting for site hotkey n (1 to 10).
    void LoadHotkeyLists(int hotkeyNumber);

    // Moves the site at that row of the available list to the hotkey's list. The answer is
    // the available row to select next (the one now at the same place), if any.
    std::optional<int> AddToHotkey(std::optional<int> availableRow);
    // Moves the site at that row of the hotkey's list back; the answer is the row of the
    // hotkey's list to select next, if any.
    std::optional<int> RemoveFromHotkey(std::optional<int> currentRow);

    // Writes all 20 entries of the loaded hotkey (empty beyond the list) and its lock, then
    // registers the hotkeys afresh.
    void SaveHotkeyList(bool lockOnHotkey);

    int hotkeyNumber() const { return hotkeyNumber_; }
    const std::vector<std::string>& availableSites() const { return available_; }
    const std::vector<std::string>& hotkeySites() const { return current_; }
    bool lockOnHotkey() const { return lock_; }
    // "Hotkey Saved" shows from a save until the lists are loaded again.
    bool savedShown() const { return saved_; }

private:
    std::filesystem::path profileDirectory_;
    std::filesystem::path profileFile_;
    Dialogs& dialogs_;
    std::function<void()> registerAfresh_;
    int hotkeyNumber_ = 0;
    std::vector<std::string> available_;
    std::vector<std::string> current_;
    bool lock_ = false;
    bool saved_ = false;
};

} // namespace kv
