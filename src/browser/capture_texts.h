#pragma once
// Texts of site capture and its two dialogs, quoted once for the rules and their tests.
#include <string_view>

namespace kv {

inline constexpr std::string_view kSaveSiteQuestion = "Would you like Kestrelyn to save this site?";
inline constexpr std::string_view kBlockSiteQuestion = "Would you like to block this site?";
inline constexpr std::string_view kHiddenFieldsMessage =
    "Some sites use javascript to transfer your login and password values to hidden fields in the webpage.\n"
    " this looks to be such a site.\n"
    "\n"
    "Fortunatly most sites do not do this since it really does nothing to increase the security.\n"
    "\n"
    "We will now ask that you input your login and password directly into Kestrelyn to complete saving the "
    "site.";
inline constexpr std::string_view kInputLoginPrompt = "Please input your login";
inline constexpr std::string_view kInputPasswordPrompt = "Please input your password";

// Lines of the capture log.
inline constexpr std::string_view kSiteKnownLog = "Site is known: ";
inline constexpr std::string_view kSavingSiteLog = "User is saving site: ";

// The save dialog.
inline constexpr std::string_view kSaveSiteCaption = "Save Login";
inline constexpr std::string_view kFriendlyNameLabel = "Site friendly name:";
inline constexpr std::string_view kCategoryLabel = "Site category:";
inline constexpr std::string_view kNameMissingMessage = "You must give the site a name.";
inline constexpr std::string_view kCategoryMissingMessage = "You must select a category for the site.";
inline constexpr std::string_view kSaveToRootQuestion = "Are you sure want to save to the root folder?";
inline constexpr std::string_view kReplaceSiteQuestion =
    "This site file appears to already exist, would you like to replace it?";
inline constexpr std::string_view kFriendlyNameCharacters =
    " abcdefghijklmnopqrstuvwxyz!@#$%^&()_+=[];'.,0123456789-{}";

} // namespace kv
