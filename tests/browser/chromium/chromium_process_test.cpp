#include "browser/chromium/chromium_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

namespace kv {
namespace {

bool Has(const std::vector<std::string>& args, const std::string& arg)
{
    return std::find(args.begin(), args.end(), arg) != args.end();
}

TEST(ChromiumProcess, TalksOnlyThroughThePipeWithItsOwnProfile)
{
    ChromiumOptions options;
    options.executable = "/opt/browser";
    options.userDataDir = "/home/u/.local/share/kv/browser";
    const auto args = ChromiumProcess::arguments(options);
    EXPECT_EQ(args.front(), "/opt/browser");
    EXPECT_TRUE(Has(args, "--remote-debugging-pipe"));
    EXPECT_TRUE(Has(args, "--user-data-dir=/home/u/.local/share/kv/browser"));
    EXPECT_FALSE(std::any_of(args.begin(), args.end(), [](const std::string& a) {
        return a.rfind("--remote-debugging-port", 0) == 0;
    }));
    EXPECT_FALSE(Has(args, "--headless"));
    EXPECT_EQ(Has(args, "--no-sandbox"), geteuid() == 0);
    // No window of its own at start, and no password store of its own to fill.
    EXPECT_TRUE(Has(args, "--no-startup-window"));
    EXPECT_TRUE(std::all_of(args.begin() + 1, args.end(), [](const std::string& a) {
        return a.rfind("--", 0) == 0 && a.rfind("--password-store", 0) != 0;
    }));

    options.headless = true;
    EXPECT_TRUE(Has(ChromiumProcess::arguments(options), "--headless"));
}

TEST(ChromiumProcess, NoBrowserOrNoProfileStartsNothing)
{
    ChromiumOptions options;
    options.executable = "/nonexistent/browser";
    options.userDataDir = "/tmp";
    EXPECT_EQ(ChromiumProcess::start(options), nullptr);
    options.executable = "/bin/true";
    options.userDataDir.clear();
    EXPECT_EQ(ChromiumProcess::start(options), nullptr);
}

} // namespace
} // namespace kv
