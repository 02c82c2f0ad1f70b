#pragma once
// One directory's entries as the sites tree walks see them: folders and plain files,
// in name order without regard to case so that every walk (and "last found wins")
// is the same on every run. Symbolic links to folders are left out: following them
// could walk in circles or out of the profile.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct SitesTreeEntry {
    std::string name;
    bool isFolder = false;
    bool isLink = false; // a link to a plain file
};

// Nothing when the directory cannot be listed; what was listed so far when listing fails midway.
std::vector<SitesTreeEntry> ListSitesTreeEntries(const std::filesystem::path& directory);

// A file pattern as the platform's listing matched it: "*" and "?" wildcards, case ignored,
// and "*.*" matching every name.
bool MatchesFilePattern(std::string_view pattern, const std::string& fileName);

} // namespace kv
