#include "mainwindow/site_details.h"

#include "sites/site_tree_texts.h"
#include "storage/secure_store.h"
#include "storage/site_file.h"

namespace kv {
namespace {

bool IsEditable(const SiteDetailField& field)
{
    return field.key == SITEFRIENDLYNAME || field.key == FORMLOGINVALUE || field.key == FORMPASSVALUE;
}

} // namespace

std::vector<PropertyItem> LoadSiteDetails(const std::filesystem::path& siteFile)
{
    std::vector<PropertyItem> items;
    for (const SiteDetailField& field : kSiteDetailFields) {
        auto value = ReadSecureValue(field.section, field.key, siteFile);
        items.push_back({std::string(field.label), value ? *value : std::string(), !IsEditable(field)});
    }
    return items;
}

bool SaveSiteDetails(const std::filesystem::path& siteFile, const std::vector<PropertyItem>& items,
                     Dialogs& dialogs)
{
    for (const PropertyItem& item : items) {
        for (const SiteDetailField& field : kSiteDetailFields) {
            if (!IsEditable(field) || item.caption != field.label || item.value.empty())
                continue;
            if (const std::error_code failure =
                    WriteSecureValue(field.section, field.key, item.value, siteFile)) {
                dialogs.message(SiteNotWrittenMessage(siteFile, failure));
                return false;
            }
        }
    }
    return true;
}

} // namespace kv
