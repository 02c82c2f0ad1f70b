// The download control's text helpers: the address splitter and the size text.
#include "update/crack_url.h"
#include "update/file_size_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(CrackURL, SplitsHostAndPathAfterTheLowerCasePrefix)
{
    const struct {
        std::string url;
        std::string host;
        std::string path;
    } cases[] = {
        {"http://www.example.com/a/b.txt", "www.example.com", "/a/b.txt"},
        {"http://host:8080/x", "host:8080", "/x"},                    // the port stays with the host
        {"www.example.com", "www.example.com", "/kept"},              // no slash: the path is left alone
        {"HTTP://www.example.com/a", "HTTP:", "//www.example.com/a"}, // only the exact prefix goes
        {"http://", "", "/kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        std::string url = c.url;
        std::string path = "/kept";
        CrackURL(url, path);
        EXPECT_EQ(url, c.host);
        EXPECT_EQ(path, c.path);
    }
}

TEST(FileSizeText, PicksTheUnitByTheThresholds)
{
    EXPECT_EQ(getFileSize(1000), "0.98KB");
    EXPECT_EQ(getFileSize(1534976), "1499.00KB");
    EXPECT_EQ(getFileSize(1536000), "1.46MB");
    EXPECT_EQ(getFileSize(1610612736), "1.50GB");
    // Between 1000 MB and 1 GB the size stays in kilobytes, to three places.
    EXPECT_EQ(getFileSize(1000.5 * 1024 * 1024), "1024512.000KB");
    EXPECT_EQ(getFileSize(0), "0.00KB");
    EXPECT_EQ(getFileSize(1e300).substr(getFileSize(1e300).size() - 2), "GB");
}

} // namespace
} // namespace kv
