#include "tools/password_generator.h"

#include "browser/numeric_value.h"
#include "tools/tools_texts.h"

#include <cmath>

namespace kv {

namespace {

// Codes 0x80 to 0x9F of Windows-1252 as Unicode; 0 where the code page defines nothing.
constexpr char32_t kWindows1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string Utf8(char32_t code)
{
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

void AddRange(std::vector<std::string>& pool, char first, char last)
{
    for (char c = first; c <= last; ++c)
        pool.emplace_back(1, c);
}

void AddPunctuation(std::vector<std::string>& pool)
{
    AddRange(pool, '!', '/');
    AddRange(pool, ':', '@');
    AddRange(pool, '[', '`');
    AddRange(pool, '{', '~');
}

std::vector<std::string> BuildPool(PasswordCharacters set)
{
    std::vector<std::string> pool;
    switch (set) {
    case PasswordCharacters::Uppercase:
        AddRange(pool, 'A', 'Z');
        break;
    case PasswordCharacters::Lowercase:
        AddRange(pool, 'a', 'z');
        break;
    case PasswordCharacters::Numeric:
        AddRange(pool, '0', '9');
        break;
    case PasswordCharacters::Alphanumeric:
        AddRange(pool, 'a', 'z');
        AddRange(pool, 'A', 'Z');
        AddRange(pool, '0', '9');
        break;
    case PasswordCharacters::Special:
        AddPunctuation(pool);
        break;
    case PasswordCharacters::All:
        pool = BuildPool(PasswordCharacters::Alphanumeric);
        AddPunctuation(pool);
        for (char32_t code : kWindows1252High)
            if (code != 0)
                pool.push_back(Utf8(code));
        for (char32_t code = 0xA0; code <= 0xFE; ++code)
            pool.push_back(Utf8(code));
        break;
    }
    return pool;
}

} // namespace

const std::vector<std::string>& PasswordPool(PasswordCharacters set)
{
    static const std::vector<std::string> pools[] = {
        BuildPool(PasswordCharacters::Uppercase), BuildPool(PasswordCharacters::Lowercase),
        BuildPool(PasswordCharacters::Numeric),   BuildPool(PasswordCharacters::Alphanumeric),
        BuildPool(PasswordCharacters::Special),   BuildPool(PasswordCharacters::All)};
    return pools[static_cast<int>(set)];
}

std::vector<std::string> GeneratePasswords(PasswordCharacters set, int length, int count,
                                           const RandomFill& random)
{
    const std::vector<std::string>& pool = PasswordPool(set);
    UniformDraw draw(random);
    std::vector<std::string> passwords(static_cast<std::size_t>(std::max(count, 0)));
    for (std::string& password : passwords)
        for (int i = 0; i < length; ++i)
            password += pool[draw.below(pool.size())];
    return passwords;
}

std::vector<std::string> cmdGeneratePassword_Click(const GeneratorRequest& request, Dialogs& dialogs,
                                                   std::string_view title, const RandomFill& random)
{
    const double length = std::nearbyint(LeadingNumber(request.length));
    // Written so that a text read as not-a-number is refused too.
    if (!(length >= kMinimumPasswordLength)) {
        dialogs.message(kLengthTooShort, title, Icon::Information);
        return {};
    }
    const double countValue = LeadingNumber(request.count);
    if (!(countValue >= 1)) {
        dialogs.message(kCountTooSmall, title, Icon::Information);
        return {};
    }
    if (length > kMaximumPasswordLength) {
        dialogs.message(kLengthTooLong, title, Icon::Information);
        return {};
    }
    const double count = std::nearbyint(countValue - 1) + 1;
    if (count > kMaximumPasswordCount) {
        dialogs.message(kCountTooLarge, title, Icon::Information);
        return {};
    }
    if (!request.set)
        return std::vector<std::string>(static_cast<std::size_t>(count));
    return GeneratePasswords(*request.set, static_cast<int>(length), static_cast<int>(count), random);
}

} // namespace kv
