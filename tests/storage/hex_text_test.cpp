#include "storage/hex_text.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using namespace std::string_literals;

TEST(HexText, EncodesUppercasePairsWithTheFirstSeparatorCharacter)
{
    EXPECT_EQ(HexEncode("\x4A\x00\xFF"s, " "), "4A 00 FF");
    EXPECT_EQ(HexEncode("\x4A\x00\xFF"s, ",;"), "4A,00,FF");
    EXPECT_EQ(HexEncode("\x4A\x00\xFF"s, ""), "4A00FF");
    EXPECT_EQ(HexEncode("\xAB"s, " "), "AB");
    EXPECT_EQ(HexEncode("", " "), "");
}

TEST(HexText, DecodesPairsWithoutLookingAtSeparators)
{
    EXPECT_EQ(HexDecode("4A", 1).value(), "\x4A"s);
    EXPECT_EQ(HexDecode("4A 00 FF", 1).value(), "\x4A\x00\xFF"s);
    EXPECT_EQ(HexDecode("4A-00_FF", 1).value(), "\x4A\x00\xFF"s);
    EXPECT_EQ(HexDecode("4A00FF", 0).value(), "\x4A\x00\xFF"s);
    EXPECT_EQ(HexDecode("4A, 00, FF", 2).value(), "\x4A\x00\xFF"s);
    EXPECT_EQ(HexDecode("", 1).value(), "");
}

TEST(HexText, EveryByteRoundTrips)
{
    std::string every(256, '\0');
    for (int i = 0; i < 256; ++i)
        every[static_cast<std::size_t>(i)] = static_cast<char>(i);
    const std::string text = HexEncode(every, " ");
    EXPECT_EQ(text.size(), 3 * 256 - 1);
    EXPECT_EQ(HexDecode(text, 1).value(), every);
}

TEST(HexText, RefusesAnythingButUppercaseDigitsInTheRightLayout)
{
    for (std::string_view bad : std::initializer_list<std::string_view>{
             "4a", "4G", "G4", ":0", "@0", " 4A", "4A ", "4A 0", "4A 00 F", "4", "4A00", "4A  00",
             std::string_view("4\0", 2)}) {
        const auto result = HexDecode(bad, 1);
        ASSERT_FALSE(result.has_value()) << bad;
        EXPECT_EQ(result.error().description, "Invalid hex text in encrypted value");
    }
    EXPECT_FALSE(HexDecode("4A0", 0).has_value());
    EXPECT_FALSE(HexDecode("4A", -1).has_value());
}

} // namespace
} // namespace kv::test
