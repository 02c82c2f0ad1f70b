#pragma once
// The site tree as plain data: the nodes a tree view shows, keyed by full path.
// A folder's key (and the root's) ends with "/"; a site's key is its file's path.
// Views tell the kinds apart by the selected image: 1 folder or root, 2 site.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

inline constexpr int kFolderImage = 1;
inline constexpr int kSiteImage = 2;
inline constexpr std::string_view kSitesRootText = "Sites";

// Why a site cannot be used as it stands; the tree shows it beside the site.
enum class SiteProblem {
    None,
    Link, // a link to another file: never written through, so never changed
};

struct SitesTreeNode {
    std::string key;
    std::string text;
    std::string tag;
    int image = kFolderImage;
    int selectedImage = kFolderImage;
    std::optional<std::size_t> parent; // index into nodes(); none for the root
    std::vector<std::size_t> children; // indices, in insertion order
    bool expanded = false;
    SiteProblem problem = SiteProblem::None;
};

class SitesTreeModel {
public:
    void clear();

    // Adds a node below the node keyed parentKey (no parent key: a top-level node).
    // Refused (nullopt) when the key is taken or the parent is unknown.
    std::optional<std::size_t> add(std::optional<std::string_view> parentKey, std::string key,
                                   std::string text, std::string tag, int image, int selectedImage);
    void expand(std::size_t index) { nodes_.at(index).expanded = true; }
    void setProblem(std::size_t index, SiteProblem problem) { nodes_.at(index).problem = problem; }

    // Every node in insertion order; a node's parent always comes before it.
    const std::vector<SitesTreeNode>& nodes() const { return nodes_; }
    const SitesTreeNode* find(std::string_view key) const;

private:
    std::vector<SitesTreeNode> nodes_;
    std::unordered_map<std::string, std::size_t> byKey_;
};

// Rebuilds the tree: the root "Sites" keyed profilePath + "/", everything below it, root expanded.
void FillSitesTree(SitesTreeModel& tree, const std::filesystem::path& profilePath);

// Adds the folders below directory (and their sites when includeSites), depth first in
// listing order, each below the node keyed by its containing folder's path + "/". Hidden
// entries (names beginning with ".", such as a save's temp file) are no folders or sites.
void AddFolderNodes(const std::filesystem::path& directory, SitesTreeModel& tree, bool includeSites);

} // namespace kv
