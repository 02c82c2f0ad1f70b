#pragma once
// The cleanup settings of the profile ("Options" section) as the check boxes of the Browser
// tab show them, and the rule that ties the three category boxes to "Delete all on exit".
#include <filesystem>
#include <optional>
#include <string_view>

namespace kv {

struct CategoryChoices {
    bool chkCookies = false;
    bool chkHistory = false;
    bool chkTemp = false;

    bool operator==(const CategoryChoices&) const = default;
};

struct CleanupChoices {
    bool chkDelAll = false;
    CategoryChoices categories;
    bool chkDeletePrompt = false;
};

// What the load shows. A BROWSERDELETEALL the panel never writes leaves the boxes as they are.
struct LoadedCleanupChoices {
    std::optional<bool> chkDelAll;
    std::optional<CategoryChoices> categories; // only when chkDelAll is cleared by the load
    bool chkDeletePrompt = false;
};

// Reads the keys, writing the defaults of a profile that has none yet.
LoadedCleanupChoices LoadCleanupChoices(const std::filesystem::path& profileFile);
void SaveCleanupChoices(const CleanupChoices& choices, const std::filesystem::path& profileFile);

// The category boxes after chkDelAll changed: all checked and locked while it is checked;
// unlocked, as they were, when it is cleared.
struct CategoryBoxes {
    CategoryChoices checked;
    bool enabled = true;
};
CategoryBoxes DelAllInterlock(bool delAllChecked, const CategoryChoices& current);

// A settings value read as a number: blanks around it allowed, nothing else; nullopt for an
// empty or non-numeric text.
std::optional<double> OptionNumber(std::string_view text);

} // namespace kv
