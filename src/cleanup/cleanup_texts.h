#pragma once
// The texts of the browser cleanup, quoted once for the forms, the rules and the tests.
#include <string_view>

namespace kv {

inline constexpr std::string_view kDeleteAllQuestion =
    "Would you like to delete all cookies, history and temporary files?";

inline constexpr std::string_view kBrowserInformationCaption = "Browser information";
inline constexpr std::string_view kCookiesCaption = "Cookies";
inline constexpr std::string_view kHistoryCaption = "History";
inline constexpr std::string_view kTemporaryFilesCaption = "Temporary files";
inline constexpr std::string_view kTotalCaption = "Total";
inline constexpr std::string_view kCookiesFolderTip = "Click here to go the cookies folder";
inline constexpr std::string_view kHistoryFolderTip = "Click here to go the history folder";
inline constexpr std::string_view kTempFolderTip = "Click here to go the temp files folder";
inline constexpr std::string_view kClearAllCaption = "Clear all";

inline constexpr std::string_view kDeleteCookiesCaption = "Delete cookies on exit";
inline constexpr std::string_view kDeleteHistoryCaption = "Delete history on exit";
inline constexpr std::string_view kDeleteTempCaption = "Delete temp files on exit";
inline constexpr std::string_view kDeleteAllCaption = "Delete all on exit";
inline constexpr std::string_view kDeletePromptCaption = "Prompt on delete";

} // namespace kv
