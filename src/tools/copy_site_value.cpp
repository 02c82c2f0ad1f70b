#include "tools/copy_site_value.h"

#include "storage/secure_store.h"
#include "storage/site_file.h"
#include "tools/tools_texts.h"

namespace kv {

void CopySiteValue(const std::filesystem::path& siteFile, std::string_view key, SecretClipboard& clipboard,
                   Dialogs& dialogs)
{
    const auto value = ReadSecureValue(kMainSection, key, siteFile);
    if (!value)
        dialogs.message(kCopyDamaged, {}, Icon::Exclamation);
    else if (!value->empty())
        clipboard.copy(*value);
}

} // namespace kv
