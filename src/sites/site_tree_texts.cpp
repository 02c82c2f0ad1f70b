#include "sites/site_tree_texts.h"

namespace kv {

std::string DeleteFolderQuestion(std::string_view nodeText)
{
    std::string text(nodeText);
    return std::string(kDeleteWarning) + "\n" + std::string(kDeleteFolderQuestion) + text + "' ?\n\n" +
           std::string(kDeleteFolderSitesWarning) + text + "' ?";
}

std::string DeleteFileQuestion(std::string_view nodeText)
{
    return std::string(kDeleteFileQuestion) + std::string(nodeText) + "'?";
}

std::string SiteNotWrittenMessage(const std::filesystem::path& siteFile, const std::error_code& why)
{
    return std::string(kSiteNotWritten) + "\n" + siteFile.string() + "\n\n" + why.message();
}

} // namespace kv
