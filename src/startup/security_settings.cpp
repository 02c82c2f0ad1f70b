#include "startup/security_settings.h"

#include "startup/profile_settings.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"

#include <charconv>

namespace kv {

std::string SecuritySettings::read(std::string_view key, std::string_view cipherKey) const
{
    const std::string stored = ReadIniValue(kSecuritySection, key, profileFile_);
    if (stored.empty())
        return {};
    auto value = DecryptValue(stored, cipherKey);
    if (!value) {
        dialogs_.message(value.error().description);
        process_.endProgram();
    }
    return std::move(*value);
}

std::int16_t SecuritySettings::loginCount() const
{
    const auto count = ParseInt16(read(LOGIN_COUNT, CurrentCipherKeys().valueKey));
    if (!count)
        process_.endProgram();
    return *count;
}

std::optional<std::int16_t> ParseInt16(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.starts_with('+') && !text.starts_with("+-"))
        text.remove_prefix(1);
    std::int16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace kv
