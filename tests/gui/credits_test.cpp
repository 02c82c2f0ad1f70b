#include "mainwindow/credits.h"
#include "mainwindow/credits_scroller.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(Credits, TheShippedTextIsBoldItalicCentredWithItsSizes)
{
    Credits credits = ParseCredits(CreditsText());
    ASSERT_EQ(credits.lastIndex(), 4);
    EXPECT_EQ(credits.texts[0], "Kestrelyn Vormaplex");
    EXPECT_EQ(credits.texts[4], "Special thanks to everyone involved!");
    std::vector<int> sizes;
    for (const CreditLine& line : credits.lines) {
        EXPECT_TRUE(line.Bold && line.Italic);
        EXPECT_EQ(line.Align, CreditAlign::Centre);
        sizes.push_back(line.FontSize);
    }
    EXPECT_EQ(sizes, (std::vector<int>{22, 22, 10, 10, 13}));
}

TEST(Credits, AlignmentAndStyleCarryOverToLinesWithoutTags)
{
    Credits credits = ParseCredits("<AR>one\r\ntwo\r\n<AL></B>three\r\nfour\r\n<B><I></I>five\r\n");
    ASSERT_EQ(credits.lastIndex(), 4);
    EXPECT_EQ(credits.lines[0].Align, CreditAlign::Right);
    EXPECT_EQ(credits.lines[1].Align, CreditAlign::Right);
    EXPECT_EQ(credits.lines[2].Align, CreditAlign::Left);
    EXPECT_TRUE(credits.lines[1].Bold);
    EXPECT_FALSE(credits.lines[2].Bold);
    EXPECT_FALSE(credits.lines[3].Bold);
    EXPECT_TRUE(credits.lines[4].Bold);
    EXPECT_TRUE(credits.lines[4].Italic) << "an opening tag wins over a closing one on the same line";
    EXPECT_EQ(credits.texts[4], "five");
}

TEST(Credits, PauseAndSameLineAreSeparateTagsAndSizesNeedTwoDigits)
{
    Credits credits = ParseCredits("<PL><P>both\r\n<F08>small\r\nkeeps\r\n<Fx1>odd\r\n");
    ASSERT_EQ(credits.lastIndex(), 3);
    EXPECT_TRUE(credits.lines[0].PauseHere);
    EXPECT_TRUE(credits.lines[0].SameLine);
    EXPECT_EQ(credits.texts[0], "both");
    EXPECT_EQ(credits.lines[1].FontSize, 8);
    EXPECT_EQ(credits.texts[1], "small");
    EXPECT_EQ(credits.lines[2].FontSize, 8);
    EXPECT_EQ(credits.lines[3].FontSize, 8);
    EXPECT_EQ(credits.texts[3], "<Fx1>odd");
}

TEST(Credits, OnlyLinesEndedByCrLfCount)
{
    EXPECT_EQ(ParseCredits("no line break").lastIndex(), -1);
    EXPECT_EQ(ParseCredits("").lastIndex(), -1);
    EXPECT_EQ(ParseCredits("a\r\nb").lastIndex(), 0);
    EXPECT_EQ(ParseCredits("a\nb\n").lastIndex(), -1);
}

TEST(Credits, RemoveTagRemovesEveryOccurrence)
{
    std::string line = "<B>x<B>y";
    EXPECT_TRUE(RemoveTag(line, "<B>"));
    EXPECT_EQ(line, "xy");
    EXPECT_FALSE(RemoveTag(line, "<b>"));
}

TEST(CreditsScroller, MovesUpOnePixelAndRestartsBelowOnceTheLastLineLeaves)
{
    CreditsScroller scroller;
    scroller.start(200);
    auto measure = [](const std::string&, const CreditLine&) { return TextExtent{100, 20}; };
    CreditsFrame first = scroller.nextFrame(300, 200, measure);
    ASSERT_EQ(first.lines.size(), 5u);
    EXPECT_EQ(first.lines[0].top, 200 + 28);
    EXPECT_EQ(first.lines[0].left, 100);
    EXPECT_EQ(scroller.scrollOffset(), 199);

    int restarts = 0;
    for (int tick = 0; tick < 400; ++tick) {
        int before = scroller.scrollOffset();
        scroller.nextFrame(300, 200, measure);
        if (scroller.scrollOffset() > before)
            ++restarts;
    }
    EXPECT_EQ(restarts, 1);
}

TEST(CreditsScroller, AMarkedLinePausesForASecondWhenItsTopReachesTheMiddle)
{
    CreditsScroller scroller;
    scroller.start(100, "<P>middle\r\n");
    auto measure = [](const std::string&, const CreditLine&) { return TextExtent{10, 10}; };
    std::vector<int> pausedAtTop;
    for (int tick = 0; tick < 150; ++tick) {
        CreditsFrame frame = scroller.nextFrame(100, 100, measure);
        if (frame.nextIntervalMs == kCreditsPauseMs)
            pausedAtTop.push_back(frame.lines[0].top);
        else
            EXPECT_EQ(frame.nextIntervalMs, kCreditsFrameMs);
    }
    EXPECT_EQ(pausedAtTop, std::vector<int>{45});
}

TEST(CreditsScroller, NoLinesDrawNothing)
{
    CreditsScroller scroller;
    scroller.start(100, "no break");
    auto measure = [](const std::string&, const CreditLine&) { return TextExtent{10, 10}; };
    EXPECT_TRUE(scroller.nextFrame(100, 100, measure).lines.empty());
}

} // namespace
} // namespace kv::test
