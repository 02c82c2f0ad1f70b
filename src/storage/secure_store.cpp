#include "storage/secure_store.h"

#include "storage/blowfish.h"
#include "storage/hex_text.h"
#include "storage/ini_values.h"
#include "storage/key_material.h"
#include "storage/site_file.h"

#include <charconv>
#include <cstdint>

namespace kv {

namespace {

// A fresh cipher object keyed with key. The schedule of the last key used on this
// thread is kept, so the same key (almost always the ValueKey) costs a table copy
// instead of 521 block encryptions; the result is the same as a new object's.
clsBlowfish CipherFor(std::string_view key)
{
    thread_local clsBlowfish prepared;
    prepared.Key(key);
    return prepared;
}

} // namespace

std::string EncryptValue(std::string_view text, std::string_view key)
{
    return CipherFor(key).EncryptString(text);
}

tl::expected<std::string, CipherError> DecryptValue(std::string_view hexText, std::string_view key)
{
    auto bytes = HexDecode(hexText, 1);
    if (!bytes)
        return bytes;
    if (auto decrypted = CipherFor(key).DecryptByte(*bytes); !decrypted)
        return tl::unexpected(std::move(decrypted.error()));
    return bytes;
}

tl::expected<std::string, CipherError> ReadSecureValue(std::string_view section, std::string_view key,
                                                       const std::filesystem::path& file)
{
    const std::string text = ReadIniValue(section, key, file);
    if (text.empty())
        return std::string();
    return DecryptValue(text, CurrentCipherKeys().valueKey);
}

std::error_code WriteSecureValue(std::string_view section, std::string_view key, std::string_view value,
                                 const std::filesystem::path& file)
{
    if (value.empty())
        return {};
    return WriteEncryptedValue(section, key, value, CurrentCipherKeys().valueKey, file);
}

std::error_code WriteEncryptedValue(std::string_view section, std::string_view key, std::string_view value,
                                    std::string_view cipherKey, const std::filesystem::path& file)
{
    return WriteIniValue(section, key, HexEncode(EncryptValue(value, cipherKey), " "), file);
}

void IncrementSuccessCount(const std::filesystem::path& siteFile)
{
    const auto stored = ReadSecureValue(kStatsSection, SUCCESS, siteFile);
    // A count that cannot be decrypted or is not a number is left as it is:
    // nothing is overwritten to repair it.
    if (!stored)
        return;
    std::uint64_t count = 0;
    if (!stored->empty()) {
        const char* end = stored->data() + stored->size();
        const auto [stop, error] = std::from_chars(stored->data(), end, count);
        if (error != std::errc() || stop != end || count == UINT64_MAX)
            return;
    }
    WriteSecureValue(kStatsSection, SUCCESS, std::to_string(count + 1), siteFile);
}

} // namespace kv
