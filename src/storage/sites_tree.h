#pragma once
// The saved sites as a directory tree: the profile directory is the root, every
// subdirectory is a category folder, and every file whose name holds ".QVR" (in
// exactly that case) is a site. The tree on disk is the only record; these walks
// keep nothing between calls. A directory that cannot be listed contributes nothing.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::string_view kSitePattern = "*.QVR";

// A listing walk's arguments and its running file count.
struct SiteSearch {
    bool recursive = false;
    std::filesystem::path directory;
    std::string pattern{kSitePattern};
    std::int32_t fileCount = 0;
};

bool IsSiteFileName(std::string_view fileName);
// The file name with every ".QVR" removed.
std::string SiteDisplayName(std::string_view fileName);

// Appends the full path of every site file under directory matching pattern (a
// case-insensitive wildcard), a folder's own sites before those of its subfolders.
void CollectSiteFiles(const std::filesystem::path& directory, std::string_view pattern,
                      std::vector<std::filesystem::path>& list, std::int32_t& fileCount,
                      std::int32_t& folderCount);

// Sets result to the path of the file named exactly fileName; when several folders
// hold one, the last met in the walk wins; nothing found leaves result as it was.
void FindSiteFile(const std::filesystem::path& directory, std::string_view fileName, std::int32_t& fileCount,
                  std::int32_t& folderCount, std::filesystem::path& result);

// Display names of the sites in the search's directory (and below it when recursive;
// folders whose names begin with "." are left out).
void ListSiteNames(SiteSearch& search, std::vector<std::string>& names);

// Adds every site's Stats SUCCESS (read with the current ValueKey) to total.
// A site whose counter cannot be decrypted adds nothing.
void SumSuccessCounts(SiteSearch& search, std::int64_t& total);

// Creates an absolute directory path level by level (owner-only), ignoring levels that
// exist or fail; a relative path creates nothing. Callers that need it test afterwards.
void MakeDirPath(const std::filesystem::path& path);

// True when the entry exists and is not hidden (its name does not begin with ".").
bool FileExists(const std::filesystem::path& path);

// The text after the last "/", without surrounding blanks; all of it without a "/".
std::string FileNameFromPath(std::string_view path);
std::string AddTrailingSlash(std::string_view path);
std::string TrimAtNul(std::string_view text);

} // namespace kv
