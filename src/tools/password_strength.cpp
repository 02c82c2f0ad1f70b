#include "tools/password_strength.h"

#include "tools/tools_texts.h"

#include <algorithm>

namespace kv {

namespace {
constexpr std::size_t kMinimumLength = 7;

bool AnyIn(std::string_view text, char first, char last)
{
    return std::any_of(text.begin(), text.end(), [=](char c) { return c >= first && c <= last; });
}
} // namespace

int PasswordStrength::score() const
{
    return static_cast<int>(std::count(criteria.begin(), criteria.end(), true));
}

PasswordStrength RatePassword(std::string_view text)
{
    return {{AnyIn(text, 'A', 'Z'), AnyIn(text, 'a', 'z'), AnyIn(text, '0', '9'), AnyIn(text, '!', '/'),
             text.size() >= kMinimumLength}};
}

std::string_view Verdict(const PasswordStrength& strength)
{
    return strength.secure() ? kSecure : kNotSecure;
}

} // namespace kv
