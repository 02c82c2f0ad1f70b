#pragma once
// Messages and questions of the Sites area.
#include <string>
#include <string_view>

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

std::string DeleteFolderQuestion(std::string_view nodeText);
std::string DeleteFileQuestion(std::string_view nodeText);

} // namespace kv
