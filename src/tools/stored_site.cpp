#include "tools/stored_site.h"

#include "storage/hex_text.h"
#include "storage/ini_file.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"
#include "tools/exchange_texts.h"

#include <algorithm>

namespace kv {

std::string& ValueOf(SiteValues& values, std::string_view key)
{
    const auto at = std::find(kMainKeys.begin(), kMainKeys.end(), key);
    return values[static_cast<std::size_t>(at - kMainKeys.begin())];
}

std::optional<std::string_view> StoredValuesProblem(const SiteValues& values)
{
    for (const std::string& value : values)
        if (value.size() > kMaxSecureValueLength)
            return kReasonTooLong;
    return std::nullopt;
}

std::string StoredSiteText(std::string_view existingText, const SiteValues& values)
{
    IniFile site = IniFile::parse(existingText);
    const std::string& valueKey = CurrentCipherKeys().valueKey;
    for (std::size_t i = 0; i < kMainKeys.size(); ++i)
        if (!values[i].empty())
            site.setValue(kMainSection, kMainKeys[i], HexEncode(EncryptValue(values[i], valueKey), " "));
    return site.serialize();
}

} // namespace kv
