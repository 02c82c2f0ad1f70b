#pragma once
// The site details dialog's content: the items it shows from a site file, in order,
// and the save of the three editable ones.
#include "support/dialogs.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::string_view kSiteDetailsCaption = "Site Details";
inline constexpr std::string_view kSiteDetailsCategory = "Site Details";
inline constexpr std::string_view kSaveChangesCaption = "&Save changes";
inline constexpr std::string_view kSiteSavedCaption = "Site Saved";

struct PropertyItem {
    std::string caption;
    std::string value;
    bool readOnly = true;
};

// Every item, read (decrypted) from the site file; a value that cannot be read shows empty.
std::vector<PropertyItem> LoadSiteDetails(const std::filesystem::path& siteFile);
// Writes "Friendly name", "Login" and "Password" when not empty; other items are ignored.
// False, after telling the user, when the site file could not be written.
bool SaveSiteDetails(const std::filesystem::path& siteFile, const std::vector<PropertyItem>& items,
                     Dialogs& dialogs);

} // namespace kv
