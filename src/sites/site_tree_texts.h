#pragma once
// Messages and questions of the Sites area.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace kv {

inline constexpr std::string_view kOperationsFailed =
    "One or more operations were not successfully completed.";
inline constexpr std::string_view kDragNotPermitted = "This drag operation is not permitted.";
inline constexpr std::string_view kSelectASite = "Please select a site.";
inline constexpr std::string_view kDeleteWarning = "!!! WARNING  !!!";
inline constexpr std::string_view kDeleteFolderQuestion = "Are you sure you want to delete the folder '";
inline constexpr std::string_view kDeleteFolderSitesWarning =
    "This will delete all sites contained under the folder '";
inline constexpr std::string_view kDeleteFileQuestion = "Are you sure you want to delete the file '";
inline constexpr std::string_view kBadNameCharacters = "\\/:*?\"<>|";
inline constexpr std::string_view kBadNameMessage =
    "A file name cannot contain any of the following characters:\n\\ / : * ? \" < > |";

inline constexpr std::string_view kLinkedSiteNote =
    "Damaged site: this site file is a link to another file, and Kestrelyn never writes through a link. "
    "Put the file itself in its place to change the site.";
inline constexpr std::string_view kSiteNotWritten = "The site could not be saved to:";

// kSiteNotWritten, the file and why, for the user.
std::string SiteNotWrittenMessage(const std::filesystem::path& siteFile, const std::error_code& why);

std::string DeleteFolderQuestion(std::string_view nodeText);
std::string DeleteFileQuestion(std::string_view nodeText);

} // namespace kv
