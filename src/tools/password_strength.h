#pragma once
// How strong a stored login or password is: one point per criterion met, "Secure" from 3.
#include <array>
#include <string_view>

namespace kv {

// In the order they are scored and shown: uppercase, lowercase, digit, symbol, length.
struct PasswordStrength {
    std::array<bool, 5> criteria{};

    int score() const;
    bool secure() const { return score() >= 3; }
};

// Letters and digits are ASCII; only "!" to "/" count as symbols; the length counts bytes.
PasswordStrength RatePassword(std::string_view text);

// "Secure" or "Not Secure".
std::string_view Verdict(const PasswordStrength& strength);

} // namespace kv
