#include "storage/site_file_text.h"

#include "storage/ini_file.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"

namespace kv {

tl::expected<SiteFileText, std::error_code> SiteFileText::load(const std::filesystem::path& file)
{
    auto text = ReadIniText(file);
    if (!text)
        return tl::unexpected(text.error());
    return SiteFileText(std::move(*text));
}

std::string SiteFileText::plain(std::string_view section, std::string_view key) const
{
    const auto value = FindIniValue(text_, section, key);
    return value ? std::string(value->substr(0, kMaxIniValueLength)) : std::string();
}

tl::expected<std::string, CipherError> SiteFileText::secure(std::string_view section,
                                                            std::string_view key) const
{
    const std::string text = plain(section, key);
    if (text.empty())
        return std::string();
    return DecryptValue(text, CurrentCipherKeys().valueKey);
}

} // namespace kv
