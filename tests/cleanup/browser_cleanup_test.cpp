// The cleanup engine over an in-memory cache: counting, deleting by category, and passes that
// wait for each other.
#include "cleanup/browser_cleanup.h"
#include "common/fake_url_cache.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::FakeUrlCache;

class BrowserCleanupTest : public ::testing::Test {
protected:
    BrowserCleanupTest() { cache.addBrowsingLeftovers(); }
    CacheCounts shownCounts()
    {
        CacheCounts shown{-1, -1, -1, -1};
        cleanup.ShowCacheCounts([&](const CacheCounts& counts) { shown = counts; });
        return shown;
    }

    FakeUrlCache cache;
    BrowserCleanup cleanup{cache};
};

TEST_F(BrowserCleanupTest, CountsEachCategoryAndTheTotal)
{
    EXPECT_EQ(shownCounts(), (CacheCounts{10, 5, 3, 2}));
    // A fresh count starts from zero instead of adding to the last one.
    EXPECT_EQ(shownCounts(), (CacheCounts{10, 5, 3, 2}));
}

TEST_F(BrowserCleanupTest, TypeBitsDecideTheCategoryWithHistoryFirst)
{
    EXPECT_EQ(CategoryOf(URLHISTORY_CACHE_ENTRY | COOKIE_CACHE_ENTRY), EntryCategory::History);
    EXPECT_EQ(CategoryOf(COOKIE_CACHE_ENTRY | NORMAL_CACHE_ENTRY), EntryCategory::Cookie);
    EXPECT_EQ(CategoryOf(0), EntryCategory::TemporaryFile);
    EXPECT_EQ(CategoryOf(0x00000004), EntryCategory::TemporaryFile);
}

TEST_F(BrowserCleanupTest, DeletePassRemovesOnlySwitchedOnCategoriesAndLowersTheirCounts)
{
    shownCounts();
    cleanup.switches = {false, false, true}; // cookies only
    bool done = false;
    cleanup.ScanUrlCache(true, [&] { done = true; });

    EXPECT_TRUE(done);
    ASSERT_EQ(cache.deleteCalls.size(), 1u);
    EXPECT_EQ(cache.deleteCalls[0].entries.size(), 3u);
    EXPECT_FALSE(cache.deleteCalls[0].clearHistory);
    EXPECT_EQ(cache.countOf(EntryCategory::Cookie), 0);
    EXPECT_EQ(cache.countOf(EntryCategory::History), 2);
    // The total is what was counted, not what is left.
    EXPECT_EQ(cleanup.counts(), (CacheCounts{10, 5, 0, 2}));
}

TEST_F(BrowserCleanupTest, DeletingHistoryAlsoEmptiesTheHistoryStoreOnlyWhenThereWasHistory)
{
    cleanup.switches = CleanupSwitches::All();
    cleanup.ScanUrlCache(true);
    ASSERT_EQ(cache.deleteCalls.size(), 1u);
    EXPECT_TRUE(cache.deleteCalls[0].clearHistory);
    EXPECT_TRUE(cache.entries.empty());

    cache.add(EntryCategory::Cookie, 1);
    cleanup.ScanUrlCache(true);
    ASSERT_EQ(cache.deleteCalls.size(), 2u);
    EXPECT_FALSE(cache.deleteCalls[1].clearHistory);
}

TEST_F(BrowserCleanupTest, NothingSwitchedOnOrNothingThereDeletesNothing)
{
    cleanup.switches = {};
    bool done = false;
    cleanup.ScanUrlCache(true, [&] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_TRUE(cache.deleteCalls.empty());

    cache.entries.clear();
    cleanup.switches = CleanupSwitches::All();
    cleanup.ScanUrlCache(true);
    EXPECT_TRUE(cache.deleteCalls.empty());
}

TEST_F(BrowserCleanupTest, FailedDeletionsStillLowerTheCountsUntilTheNextCount)
{
    shownCounts();
    cache.failDeletes = true;
    cleanup.switches = CleanupSwitches::All();
    cleanup.ScanUrlCache(true);
    EXPECT_EQ(cleanup.counts(), (CacheCounts{10, 0, 0, 0}));
    EXPECT_EQ(shownCounts(), (CacheCounts{10, 5, 3, 2}));
}

TEST_F(BrowserCleanupTest, PassesWaitForEachOtherAndKeepTheSwitchesTheyWereAskedWith)
{
    cache.hold = true;
    cleanup.switches = {false, false, true};
    cleanup.ScanUrlCache(true);
    cleanup.switches = {true, false, false};
    cleanup.ScanUrlCache(true);
    CacheCounts shown{};
    cleanup.ShowCacheCounts([&](const CacheCounts& counts) { shown = counts; });

    // Only the first walk has started; the others wait for it.
    EXPECT_EQ(cache.walks, 1);
    EXPECT_FALSE(cleanup.idle());
    cache.release(); // first walk
    cache.release(); // first deletion: cookies
    EXPECT_EQ(cache.walks, 2);
    cache.release(); // second walk
    cache.release(); // second deletion: temporary files
    cache.release(); // the count
    EXPECT_TRUE(cleanup.idle());
    ASSERT_EQ(cache.deleteCalls.size(), 2u);
    EXPECT_EQ(CategoryOf(cache.deleteCalls[0].entries.front().CacheEntryType), EntryCategory::Cookie);
    EXPECT_EQ(CategoryOf(cache.deleteCalls[1].entries.front().CacheEntryType), EntryCategory::TemporaryFile);
    EXPECT_EQ(shown, (CacheCounts{2, 0, 0, 2}));
}

TEST_F(BrowserCleanupTest, SecureBrowsingDeletesEverythingAndPagesThatCompleteMeanwhileShareOnePass)
{
    cache.hold = true;
    cleanup.SecureBrowsingPass(); // starts at once
    cleanup.SecureBrowsingPass(); // waits
    cleanup.SecureBrowsingPass(); // covered by the waiting one
    cleanup.SecureBrowsingPass();
    while (!cache.held.empty())
        cache.release();

    EXPECT_EQ(cache.walks, 2);
    ASSERT_EQ(cache.deleteCalls.size(), 1u); // the second walk found nothing left
    EXPECT_EQ(cache.deleteCalls[0].entries.size(), 10u);
    EXPECT_TRUE(cache.entries.empty());
}

} // namespace
} // namespace kv
