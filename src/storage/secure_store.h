#pragma once
// The encrypted half of the storage layer. Values are byte strings (UTF-8 text as
// it stands, post data as raw bytes); the same bytes go in and come out.
#include "storage/cipher_error.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <tl/expected.hpp>

namespace kv {

// Decrypted with the ValueKey; "" when absent; an error when it cannot be decrypted.
tl::expected<std::string, CipherError> ReadSecureValue(std::string_view section, std::string_view key,
                                                       const std::filesystem::path& file);

// An empty value writes nothing at all; the key keeps what it had. The answer as for WriteIniValue.
std::error_code WriteSecureValue(std::string_view section, std::string_view key, std::string_view value,
                                 const std::filesystem::path& file);

// The value encrypted with cipherKey (the profile's own values under the MachineKey) as hex
// text; written also when empty. The answer as for WriteIniValue.
std::error_code WriteEncryptedValue(std::string_view section, std::string_view key, std::string_view value,
                                    std::string_view cipherKey, const std::filesystem::path& file);

// Ciphertext bytes of the envelope around text under key.
std::string EncryptValue(std::string_view text, std::string_view key);
tl::expected<std::string, CipherError> DecryptValue(std::string_view hexText, std::string_view key);

// Stats SUCCESS + 1 (1 when absent).
void IncrementSuccessCount(const std::filesystem::path& siteFile);

} // namespace kv
