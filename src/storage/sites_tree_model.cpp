#include "storage/sites_tree_model.h"

#include "storage/sites_tree.h"
#include "storage/sites_tree_listing.h"

namespace kv {

void SitesTreeModel::clear()
{
    nodes_.clear();
    byKey_.clear();
}

std::optional<std::size_t> SitesTreeModel::add(std::optional<std::string_view> parentKey, std::string key,
                                               std::string text, std::string tag, int image,
                                               int selectedImage)
{
    std::optional<std::size_t> parent;
    if (parentKey) {
        const auto found = byKey_.find(std::string(*parentKey));
        if (found == byKey_.end())
            return std::nullopt;
        parent = found->second;
    }
    const std::size_t index = nodes_.size();
    if (!byKey_.emplace(key, index).second)
        return std::nullopt;
    nodes_.push_back(
        {std::move(key), std::move(text), std::move(tag), image, selectedImage, parent, {}, false});
    if (parent)
        nodes_[*parent].children.push_back(index);
    return index;
}

const SitesTreeNode* SitesTreeModel::find(std::string_view key) const
{
    const auto found = byKey_.find(std::string(key));
    return found == byKey_.end() ? nullptr : &nodes_[found->second];
}

void FillSitesTree(SitesTreeModel& tree, const std::filesystem::path& profilePath)
{
    tree.clear();
    const auto root = tree.add(std::nullopt, AddTrailingSlash(profilePath.string()),
                               std::string(kSitesRootText), {}, kFolderImage, kFolderImage);
    AddFolderNodes(profilePath, tree, true);
    tree.expand(*root);
}

void AddFolderNodes(const std::filesystem::path& directory, SitesTreeModel& tree, bool includeSites)
{
    const std::string parentKey = AddTrailingSlash(directory.string());
    for (const SitesTreeEntry& entry : ListSitesTreeEntries(directory)) {
        if (entry.name.starts_with('.'))
            continue;
        if (entry.isFolder) {
            const std::string key = parentKey + entry.name + '/';
            tree.add(parentKey, key, entry.name, entry.name, kFolderImage, kFolderImage);
            AddFolderNodes(key, tree, includeSites);
        } else if (includeSites && IsSiteFileName(entry.name)) {
            const std::string name = SiteDisplayName(entry.name);
            const auto site = tree.add(parentKey, parentKey + entry.name, name, name, kSiteImage, kSiteImage);
            if (site && entry.isLink)
                tree.setProblem(*site, SiteProblem::Link);
        }
    }
}

} // namespace kv
