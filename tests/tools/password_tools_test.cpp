// Strength verdicts and the password generator.
#include "common/scripted_dialogs.h"
#include "support/utf8_text.h"
#include "tools/password_generator.h"
#include "tools/password_strength.h"
#include "tools/tools_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>

namespace kv {
namespace {

using test::ScriptedDialogs;

TEST(PasswordStrength, ScoresOnePointPerCriterion)
{
    EXPECT_EQ(RatePassword("").score(), 0);
    EXPECT_EQ(RatePassword("abcdef12").score(), 3);
    EXPECT_TRUE(RatePassword("abcdef12").secure());
    EXPECT_EQ(RatePassword("abcdefghij").score(), 2);
    EXPECT_FALSE(RatePassword("abcdefghij").secure());
    // The underscore earns nothing: uppercase, lowercase and length only.
    const PasswordStrength underscore = RatePassword("Abcdefg_h");
    EXPECT_EQ(underscore.score(), 3);
    EXPECT_EQ(underscore.criteria, (std::array<bool, 5>{true, true, false, false, true}));
    EXPECT_EQ(Verdict(underscore), "Secure");
    EXPECT_EQ(Verdict(RatePassword("abc")), "Not Secure");
    EXPECT_EQ(RatePassword("Ab1!xyz").score(), 5);
}

TEST(PasswordStrength, OnlyExclamationToSlashAreSymbols)
{
    for (char symbol : std::string("!\"#$%&'()*+,-./"))
        EXPECT_TRUE(RatePassword(std::string(1, symbol)).criteria[3]) << symbol;
    for (char other : std::string(":;<=>?@[\\]^_`{|}~ "))
        EXPECT_FALSE(RatePassword(std::string(1, other)).criteria[3]) << other;
}

TEST(PasswordGenerator, PoolsHoldTheirCharactersOnceEachAsUtf8)
{
    const std::pair<PasswordCharacters, std::size_t> sizes[] = {
        {PasswordCharacters::Uppercase, 26}, {PasswordCharacters::Lowercase, 26},
        {PasswordCharacters::Numeric, 10},   {PasswordCharacters::Alphanumeric, 62},
        {PasswordCharacters::Special, 32},   {PasswordCharacters::All, 94 + 122}};
    for (const auto& [set, size] : sizes) {
        const auto& pool = PasswordPool(set);
        EXPECT_EQ(pool.size(), size);
        EXPECT_EQ(std::set<std::string>(pool.begin(), pool.end()).size(), size);
        for (const std::string& c : pool)
            EXPECT_TRUE(IsValidUtf8(c)) << c;
    }
    const auto& all = PasswordPool(PasswordCharacters::All);
    auto has = [&](std::string_view c) { return std::find(all.begin(), all.end(), c) != all.end(); };
    EXPECT_TRUE(has("\u20AC"));  // 0x80
    EXPECT_TRUE(has("\u0178"));  // 0x9F
    EXPECT_TRUE(has("\u00FE"));  // 0xFE
    EXPECT_FALSE(has("\u00FF")); // 0xFF is beyond the range
    EXPECT_FALSE(has("\u0081")); // undefined in Windows-1252, not the C1 control
    EXPECT_FALSE(has("\u008D"));
}

TEST(PasswordGenerator, PasswordsHoldOnlyTheirSetAtTheirLength)
{
    for (auto set : {PasswordCharacters::Numeric, PasswordCharacters::Special, PasswordCharacters::All}) {
        const auto& pool = PasswordPool(set);
        for (const std::string& password : GeneratePasswords(set, 8, 20)) {
            EXPECT_TRUE(IsValidUtf8(password));
            std::size_t characters = 0;
            for (std::string_view rest = password; !rest.empty(); ++characters) {
                auto match = std::find_if(pool.begin(), pool.end(),
                                          [&](const std::string& c) { return rest.starts_with(c); });
                ASSERT_NE(match, pool.end()) << password;
                rest.remove_prefix(match->size());
            }
            EXPECT_EQ(characters, 8u);
        }
    }
}

TEST(PasswordGenerator, DrawsWithoutModuloBias)
{
    // For the 10 digits only bytes below 250 are used: 250 to 255 would favour "0" to "5".
    std::deque<unsigned char> bytes = {255, 250, 7, 249, 13};
    RandomFill scripted = [&](std::span<unsigned char> out) {
        for (auto& b : out) {
            b = bytes.empty() ? 0 : bytes.front();
            if (!bytes.empty())
                bytes.pop_front();
        }
    };
    EXPECT_EQ(GeneratePasswords(PasswordCharacters::Numeric, 3, 1, scripted),
              std::vector<std::string>{"793"});
}

TEST(PasswordGenerator, PasswordsMadeAtOnceDiffer)
{
    const auto passwords = GeneratePasswords(PasswordCharacters::Alphanumeric, 16, 50);
    EXPECT_EQ(std::set<std::string>(passwords.begin(), passwords.end()).size(), 50u);
}

TEST(PasswordGenerator, InputIsCheckedAndRoundedHalfToEven)
{
    struct Case {
        std::string_view length, count;
        std::size_t passwords;
        std::size_t characters;
        std::string_view message;
    };
    const Case cases[] = {
        {"3", "10", 0, 0, kLengthTooShort},
        {"4", "1", 1, 4, {}},
        {"3.5", "1", 1, 4, {}},
        {"4.5", "1", 1, 4, {}},
        {"abc", "1", 0, 0, kLengthTooShort},
        {"8", "0", 0, 0, kCountTooSmall},
        {"8", "0.9", 0, 0, kCountTooSmall},
        {"8", "2.5", 3, 8, {}},
        {"8", "1.5", 1, 8, {}},
        {"1025", "1", 0, 0, kLengthTooLong},
        {"8", "1001", 0, 0, kCountTooLarge},
        {" 12 ", "2", 2, 12, {}},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        const auto passwords =
            cmdGeneratePassword_Click({PasswordCharacters::Lowercase, c.length, c.count}, dialogs,
                                      "Kestrelyn Vormaplex with Velotrip technology");
        EXPECT_EQ(passwords.size(), c.passwords) << c.length << " " << c.count;
        for (const auto& password : passwords)
            EXPECT_EQ(password.size(), c.characters);
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs.messages().empty());
        } else {
            EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(c.message)});
            EXPECT_EQ(dialogs.titles(),
                      std::vector<std::string>{"Kestrelyn Vormaplex with Velotrip technology"});
        }
    }
}

TEST(PasswordGenerator, WithoutASelectedSetEveryEntryIsEmpty)
{
    ScriptedDialogs dialogs;
    EXPECT_EQ(cmdGeneratePassword_Click({std::nullopt, "8", "3"}, dialogs, {}), std::vector<std::string>(3));
}

} // namespace
} // namespace kv
