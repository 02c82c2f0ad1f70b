#include "registry_fixture.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

class RegHexText : public ::testing::Test {
protected:
    std::string strToBin(std::string text) { return temp_.registry().StrToBin(text); }

    TempRegistry temp_;
    clsRegAccess& reg_ = temp_.registry();
};

TEST_F(RegHexText, BinToStrWritesBlankLedUppercasePairs)
{
    EXPECT_EQ(reg_.BinToStr(std::string("\x4A\x00\xFF", 3)), " 4A 00 FF");
    EXPECT_EQ(reg_.BinToStr(""), "");
}

TEST_F(RegHexText, StrToBinReadsPairsAndLeavesItsArgumentWithoutBlanks)
{
    std::string text = " 4A 00  FF ";
    EXPECT_EQ(reg_.StrToBin(text), std::string("\x4A\x00\xFF", 3));
    EXPECT_EQ(text, "4A00FF");
    EXPECT_EQ(strToBin("4a0f"), "\x4A\x0F");
    EXPECT_EQ(strToBin(""), "");
    EXPECT_EQ(strToBin("   "), "");
}

TEST_F(RegHexText, StrToBinUsesALoneLastDigitOnlyAfterAnOddNumberOfPairs)
{
    EXPECT_EQ(strToBin("ABC"), "\xAB\x0C");
    EXPECT_EQ(strToBin("ABCDE"), "\xAB\xCD");
    EXPECT_EQ(strToBin("A"), "");
    EXPECT_EQ(strToBin("ABCDEF1"), "\xAB\xCD\xEF\x01");
}

TEST_F(RegHexText, StrToBinReadsEachPieceUpToItsFirstNonHexCharacter)
{
    EXPECT_EQ(strToBin("1G"), "\x01");
    EXPECT_EQ(strToBin("G1"), std::string(1, '\0'));
    EXPECT_EQ(strToBin("zz10"), std::string("\x00\x10", 2));
}

TEST_F(RegHexText, IsBinValidAcceptsHexDigitsOfEitherCaseOnly)
{
    EXPECT_TRUE(reg_.isBinValid("4A 00 FF"));
    EXPECT_TRUE(reg_.isBinValid("4a 0f"));
    EXPECT_FALSE(reg_.isBinValid("4a 0g"));
    EXPECT_FALSE(reg_.isBinValid(""));
    EXPECT_FALSE(reg_.isBinValid("   "));
    EXPECT_FALSE(reg_.isBinValid("4A,00"));
}

} // namespace
} // namespace kv::test
