#pragma once
// Reading the encrypted "Security" values of the settings file at start-up, where a
// value that cannot be decrypted is shown to the user and ends the program.
#include "support/dialogs.h"
#include "support/process.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

class SecuritySettings {
public:
    SecuritySettings(std::filesystem::path profileFile, Dialogs& dialogs, Process& process)
        : profileFile_(std::move(profileFile)), dialogs_(dialogs), process_(process)
    {
    }

    // "" when absent.
    std::string read(std::string_view key, std::string_view cipherKey) const;
    // LOGIN COUNT; the program ends when it is absent or not a 16-bit number.
    std::int16_t loginCount() const;

    const std::filesystem::path& profileFile() const { return profileFile_; }

private:
    std::filesystem::path profileFile_;
    Dialogs& dialogs_;
    Process& process_;
};

// A whole decimal number with optional blanks around it and an optional sign.
std::optional<std::int16_t> ParseInt16(std::string_view text);

} // namespace kv
