#pragma once
// Sites and folders named from outside the program (the command line, a request of another
// process): a name is looked up among the entries of the tree, never used as a path, so no
// name reaches a file outside the profile.
#include <filesystem>
#include <string>
#include <string_view>
#include <tl/expected.hpp>
#include <vector>

namespace kv {

struct SiteEntry {
    std::filesystem::path file; // the site file
    std::string name;           // as the tree shows it: the file name without ".QVR"
    std::string folder;         // below the root, "/" between levels; "" for the root

    // folder/name, or the name alone in the root: unique in the tree.
    std::string treePath() const;
};

// The entry of a site file below root.
SiteEntry SiteEntryOf(const std::filesystem::path& root, const std::filesystem::path& file);

// The sites below folder (the root when empty), each folder's own sites before those of
// its subfolders, in name order.
std::vector<SiteEntry> ListSites(const std::filesystem::path& root, const std::filesystem::path& folder = {});

// A folder given as its path below the root ("Music/Rock"); "" and "/" are the root.
tl::expected<std::filesystem::path, std::string> LookUpFolder(const std::filesystem::path& root,
                                                              std::string_view folderPath);

// A site given by its tree path ("/Bank" is the one in the root), or by its name alone when
// only one site has that name.
tl::expected<SiteEntry, std::string> LookUpSite(const std::filesystem::path& root, std::string_view name);

} // namespace kv
