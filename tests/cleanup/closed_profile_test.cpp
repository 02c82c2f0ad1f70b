// The cleanup of a profile whose browser is closed: read and delete in the profile's own
// files, and leave alone whatever is not ours to touch.
#include "browser/chromium/chromium_session.h"
#include "cleanup/browser_cleanup.h"
#include "cleanup/chromium/chromium_profile_cache.h"
#include "cleanup/chromium/simple_cache_directory.h"
#include "common/manual_task_timer.h"
#include "synthetic_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/wait.h>
#include <unistd.h>

namespace kv {
namespace {

using test::SyntheticProfile;

ChromiumOptions ClosedBrowser(const std::filesystem::path& profile)
{
    ChromiumOptions options;
    options.userDataDir = profile;
    return options;
}

class ClosedProfileTest : public ::testing::Test {
protected:
    ClosedProfileTest()
    {
        profile.visit("https://mail.example/inbox");
        profile.visit("https://bank.example/");
        profile.cookie(".example", "session", true);
        profile.cookie("mail.example", "id");
        profile.cookie("bank.example", "csrf", true);
        for (int i = 0; i < 5; ++i)
            profile.cacheEntry("00000000000000a" + std::to_string(i),
                               "1/0/_dk_https://example https://example https://cdn.example/" +
                                   std::to_string(i) + ".css",
                               i == 0);
    }

    UrlCache::Entries walk()
    {
        UrlCache::Entries found;
        bool answered = false;
        cache.FindUrlCacheEntries([&](UrlCache::Entries entries) {
            found = std::move(entries);
            answered = true;
        });
        EXPECT_FALSE(answered) << "answers come from the timer";
        timer.runDue();
        EXPECT_TRUE(answered);
        return found;
    }
    CacheCounts counts()
    {
        CacheCounts shown{-1, -1, -1, -1};
        cleanup.ShowCacheCounts([&](const CacheCounts& c) { shown = c; });
        timer.runDue();
        return shown;
    }
    // Deletes the entries directly through the back-end; false when it did not answer.
    bool deleteEntries(const UrlCache::Entries& entries, bool clearHistory)
    {
        bool done = false;
        cache.DeleteUrlCacheEntries(entries, clearHistory, [&] { done = true; });
        timer.runDue();
        return done;
    }
    void deleteAll()
    {
        cleanup.switches = CleanupSwitches::All();
        bool done = false;
        cleanup.ScanUrlCache(true, [&] { done = true; });
        while (timer.runDue()) {
        }
        EXPECT_TRUE(done);
    }
    void lockWith(const std::string& owner)
    {
        std::filesystem::create_symlink(owner, profile.root() / "SingletonLock");
    }
    static std::string host()
    {
        char name[256] = {};
        gethostname(name, sizeof name - 1);
        return name;
    }

    SyntheticProfile profile;
    test::ManualTaskTimer timer;
    // A browser of the profile that is never started: the cleanup works on the files.
    std::shared_ptr<ChromiumSession> session = ChromiumSession::create(ClosedBrowser(profile.root()));
    ChromiumProfileCache cache{session, ChromiumProfile(profile.root()), "/nonexistent/extension", timer};
    BrowserCleanup cleanup{cache};
};

TEST_F(ClosedProfileTest, ReadsHistoryCookiesAndCacheEntriesFromTheFiles)
{
    EXPECT_EQ(counts(), (CacheCounts{10, 5, 3, 2}));

    const UrlCache::Entries entries = walk();
    auto has = [&](const std::string& address, EntryCategory category) {
        return std::any_of(entries.begin(), entries.end(), [&](const UrlCacheEntry& entry) {
            return entry.lpszSourceUrlName == address && CategoryOf(entry.CacheEntryType) == category;
        });
    };
    EXPECT_TRUE(has("https://mail.example/inbox", EntryCategory::History));
    EXPECT_TRUE(has("https://example/", EntryCategory::Cookie));
    EXPECT_TRUE(has("http://mail.example/", EntryCategory::Cookie));
    EXPECT_TRUE(has("https://cdn.example/3.css", EntryCategory::TemporaryFile));
}

TEST_F(ClosedProfileTest, OnlyEntryFilesOfTheCacheCount)
{
    SyntheticProfile::write(profile.cacheDir() / "0000000000000000_1", "a second stream alone");
    SyntheticProfile::write(profile.cacheDir() / "00000000000000AB_0", "upper-case hash");
    SyntheticProfile::write(profile.cacheDir() / "notes.txt", "not an entry");
    std::filesystem::create_directory(profile.cacheDir() / "00000000000000ff_0");
    // A damaged entry file still takes room in the cache: it counts, without an address.
    SyntheticProfile::write(profile.cacheDir() / "00000000000000ee_0", "short");
    EXPECT_EQ(counts().temp, 6);
}

TEST_F(ClosedProfileTest, DeletingEverythingEmptiesTheStoresAndLeavesTheRest)
{
    SyntheticProfile::write(profile.defaultDir() / "Preferences", "{}");
    deleteAll();

    EXPECT_EQ(counts(), (CacheCounts{0, 0, 0, 0}));
    for (const char* table :
         {"urls", "visits", "visit_source", "segments", "visited_links", "keyword_search_terms"})
        EXPECT_EQ(SyntheticProfile::count(profile.history(), table), 0) << table;
    EXPECT_EQ(SyntheticProfile::count(profile.topSites(), "top_sites"), 0);
    EXPECT_EQ(SyntheticProfile::count(profile.favicons(), "icon_mapping"), 0);
    EXPECT_EQ(SyntheticProfile::count(profile.favicons(), "favicons"), 0);
    // Settings, downloads and the cache's own files stay; the index is rebuilt by the browser.
    EXPECT_EQ(SyntheticProfile::count(profile.history(), "meta"), 1);
    EXPECT_EQ(SyntheticProfile::count(profile.history(), "downloads"), 1);
    EXPECT_TRUE(std::filesystem::exists(profile.cacheDir() / "index"));
    EXPECT_FALSE(std::filesystem::exists(profile.cacheDir() / "index-dir" / "the-real-index"));
    EXPECT_FALSE(std::filesystem::exists(profile.cacheDir() / "00000000000000a0_1"));
    EXPECT_FALSE(std::filesystem::exists(profile.cacheDir() / "00000000000000a0_s"));
    EXPECT_EQ(SyntheticProfile::read(profile.defaultDir() / "Preferences"), "{}");
    // What was deleted is gone from the file itself, not only from its tables.
    EXPECT_EQ(SyntheticProfile::read(profile.history()).find("bank.example"), std::string::npos);
    EXPECT_EQ(SyntheticProfile::read(profile.cookies()).find("csrf"), std::string::npos);
}

TEST_F(ClosedProfileTest, SingleEntriesGoWithWhatHangsOnThemAndNothingElse)
{
    UrlCache::Entries chosen;
    const std::pair<std::string, EntryCategory> wanted[] = {
        {"https://bank.example/", EntryCategory::History},
        {"http://mail.example/", EntryCategory::Cookie},
        {"https://cdn.example/0.css", EntryCategory::TemporaryFile}};
    for (const UrlCacheEntry& entry : walk())
        for (const auto& [address, category] : wanted)
            if (entry.lpszSourceUrlName == address && CategoryOf(entry.CacheEntryType) == category)
                chosen.push_back(entry);
    ASSERT_EQ(chosen.size(), 3u);
    ASSERT_TRUE(deleteEntries(chosen, false));

    EXPECT_EQ(SyntheticProfile::count(profile.history(), "urls"), 1);
    EXPECT_EQ(SyntheticProfile::count(profile.history(), "visits"), 2);
    EXPECT_EQ(SyntheticProfile::count(profile.history(), "segments"), 1);
    EXPECT_EQ(SyntheticProfile::count(profile.cookies(), "cookies"), 2);
    EXPECT_FALSE(std::filesystem::exists(profile.cacheDir() / "00000000000000a0_0"));
    EXPECT_FALSE(std::filesystem::exists(profile.cacheDir() / "00000000000000a0_1"));
    EXPECT_TRUE(std::filesystem::exists(profile.cacheDir() / "00000000000000a1_0"));
}

TEST_F(ClosedProfileTest, DamagedOrMissingStoresHaveNothingAndDeletingLeavesThemAsTheyAre)
{
    SyntheticProfile::write(profile.history(), std::string(4096, 'x'));
    SyntheticProfile::write(profile.cookies(), "");
    std::filesystem::remove_all(profile.cacheDir());
    SyntheticProfile::write(profile.cacheDir(), "a file where the cache folder should be");

    EXPECT_EQ(counts(), (CacheCounts{0, 0, 0, 0}));
    deleteAll();
    EXPECT_EQ(SyntheticProfile::read(profile.history()), std::string(4096, 'x'));
    EXPECT_TRUE(std::filesystem::is_regular_file(profile.cacheDir()));

    std::filesystem::remove_all(profile.root());
    EXPECT_EQ(counts(), (CacheCounts{0, 0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(profile.root())) << "nothing is created";
}

TEST_F(ClosedProfileTest, AProfileHeldByAnotherLiveBrowserIsLeftAlone)
{
    lockWith(host() + "-" + std::to_string(getpid()));
    EXPECT_EQ(counts(), (CacheCounts{0, 0, 0, 0}));
    // Walked before the other browser took the profile: the deletion still does nothing.
    std::filesystem::remove(profile.root() / "SingletonLock");
    const UrlCache::Entries entries = walk();
    lockWith("another-machine-1");
    EXPECT_TRUE(deleteEntries(entries, true));
    EXPECT_EQ(SyntheticProfile::count(profile.cookies(), "cookies"), 3);
    EXPECT_EQ(SyntheticProfile::count(profile.history(), "urls"), 2);
}

TEST_F(ClosedProfileTest, ALockLeftByABrowserThatEndedIsNoHindrance)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    lockWith(host() + "-" + std::to_string(child));
    EXPECT_EQ(counts().total, 10);
}

TEST_F(ClosedProfileTest, AStoreLockedByItsDatabaseCountsNothingAndWaitsForNothing)
{
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(profile.cookies().c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr),
        SQLITE_OK);
    EXPECT_EQ(counts(), (CacheCounts{7, 5, 0, 2}));
    deleteAll();
    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(SyntheticProfile::count(profile.cookies(), "cookies"), 3);
}

TEST_F(ClosedProfileTest, LinksOutOfTheProfileAreNeverFollowed)
{
    test::TempDir outside;
    SyntheticProfile::write(outside / "00000000000000b0_0", "someone else's file");
    SyntheticProfile::sql(outside / "History", "CREATE TABLE urls(id INTEGER PRIMARY KEY, url LONGVARCHAR);"
                                               "INSERT INTO urls(url) VALUES('https://elsewhere.example/');");
    std::filesystem::remove_all(profile.cacheDir());
    std::filesystem::create_directory_symlink(outside.path(), profile.cacheDir());
    std::filesystem::remove(profile.history());
    std::filesystem::create_symlink(outside / "History", profile.history());

    EXPECT_EQ(counts(), (CacheCounts{3, 0, 3, 0}));
    deleteAll();
    EXPECT_TRUE(std::filesystem::exists(outside / "00000000000000b0_0"));
    EXPECT_EQ(SyntheticProfile::count(outside / "History", "urls"), 1);
    EXPECT_TRUE(cache.FolderOf(EntryCategory::TemporaryFile).empty());
}

TEST_F(ClosedProfileTest, ABrowserWithoutAProfileFolderHasNothingAndTouchesNothingNearby)
{
    // The program's working folder holds what a relative profile path would point at.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(profile.root());
    ChromiumProfileCache nowhere{session, ChromiumProfile(""), "/nonexistent/extension", timer};
    BrowserCleanup cleanupNowhere{nowhere};
    CacheCounts shown{-1, -1, -1, -1};
    cleanupNowhere.ShowCacheCounts([&](const CacheCounts& c) { shown = c; });
    cleanupNowhere.switches = CleanupSwitches::All();
    cleanupNowhere.ScanUrlCache(true);
    while (timer.runDue()) {
    }
    std::filesystem::current_path(before);

    EXPECT_EQ(shown, (CacheCounts{0, 0, 0, 0}));
    EXPECT_TRUE(nowhere.FolderOf(EntryCategory::History).empty());
    EXPECT_EQ(counts(), (CacheCounts{10, 5, 3, 2}));
}

TEST_F(ClosedProfileTest, FoldersOfTheCategoriesAreInsideTheProfile)
{
    EXPECT_EQ(cache.FolderOf(EntryCategory::History), profile.defaultDir());
    EXPECT_EQ(cache.FolderOf(EntryCategory::Cookie), profile.defaultDir());
    EXPECT_EQ(cache.FolderOf(EntryCategory::TemporaryFile), profile.cacheDir());
    SyntheticProfile::sql(profile.defaultDir() / "Network" / "Cookies", "CREATE TABLE cookies(x)");
    EXPECT_EQ(cache.FolderOf(EntryCategory::Cookie), profile.defaultDir() / "Network");
}

TEST(CacheKeyAddress, TakesTheAddressOutOfEveryKeyForm)
{
    EXPECT_EQ(CacheKeyAddress("1/0/_dk_https://a.example https://a.example https://cdn.example/x.js"),
              "https://cdn.example/x.js");
    EXPECT_EQ(CacheKeyAddress("1/0/https://a.example/page"), "https://a.example/page");
    EXPECT_EQ(CacheKeyAddress("https://a.example/page"), "https://a.example/page");
    EXPECT_EQ(CacheKeyAddress(""), "");
}

} // namespace
} // namespace kv
