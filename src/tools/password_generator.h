#pragma once
// Random passwords from one of six character sets (the option buttons OptGen 0 to 5).
// Every character is drawn uniformly from the operating system's CSPRNG; the result is
// always valid UTF-8.
#include "storage/secure_random.h"
#include "support/dialogs.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class PasswordCharacters { Uppercase, Lowercase, Numeric, Alphanumeric, Special, All };

inline constexpr int kMinimumPasswordLength = 4;
inline constexpr int kMaximumPasswordLength = 1024;
inline constexpr int kMaximumPasswordCount = 1000;

// The characters of a set, each one UTF-8 sequence. "All" adds to the letters, digits and
// punctuation what codes 128 to 254 stand for in Windows-1252 (the five codes it leaves
// undefined are left out).
const std::vector<std::string>& PasswordPool(PasswordCharacters set);

std::vector<std::string> GeneratePasswords(PasswordCharacters set, int length, int count,
                                           const RandomFill& random = FillSecureRandom);

// What the user typed for length and count, read as numbers.
struct GeneratorRequest {
    std::optional<PasswordCharacters> set; // nothing: no option selected
    std::string_view length;
    std::string_view count;
};

// cmdGeneratePassword_Click: the passwords, or nothing after telling the user why.
// Without a selected set every entry is empty.
std::vector<std::string> cmdGeneratePassword_Click(const GeneratorRequest& request, Dialogs& dialogs,
                                                   std::string_view title,
                                                   const RandomFill& random = FillSecureRandom);

} // namespace kv
