#pragma once
// A site file read once, its values then taken out as ReadIniValue and ReadSecureValue
// take them: for walks that need several values of many sites.
#include "storage/cipher_error.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <tl/expected.hpp>

namespace kv {

class SiteFileText {
public:
    // An absent file reads as empty; a file that cannot be read is an error.
    static tl::expected<SiteFileText, std::error_code> load(const std::filesystem::path& file);

    std::string plain(std::string_view section, std::string_view key) const;
    // Decrypted with the current ValueKey; "" when absent.
    tl::expected<std::string, CipherError> secure(std::string_view section, std::string_view key) const;

private:
    explicit SiteFileText(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

} // namespace kv
