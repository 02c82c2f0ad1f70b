#include "browser/chromium/post_headers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kv {
namespace {

using Json = nlohmann::json;

Json Header(const std::string& name, const std::string& value)
{
    return {{"name", name}, {"value", value}};
}

TEST(PostHeaders, KeepsTheBrowsersHeadersButNeverTheCookie)
{
    const Json original{
        {"User-Agent", "UA"}, {"Cookie", "sid=1"}, {"content-length", "0"}, {"Accept", "*/*"}};
    const Json headers = PostHeaders(original, "");
    EXPECT_EQ(headers, (Json::array({Header("Accept", "*/*"), Header("User-Agent", "UA"),
                                     Header("Content-Type", "application/x-www-form-urlencoded")})));
}

TEST(PostHeaders, GivenLinesComeAfterAndAGivenTypeWins)
{
    const Json original{{"Content-Type", "text/plain"}};
    const Json headers =
        PostHeaders(original, "X-One: 1\r\nContent-Type: application/json\ncookie: x=1\nbroken\r\n");
    EXPECT_EQ(headers, (Json::array({Header("X-One", "1"), Header("Content-Type", "application/json")})));
}

TEST(PostHeaders, NonObjectOriginalGivesJustTheType)
{
    EXPECT_EQ(PostHeaders(Json("nonsense"), ""),
              (Json::array({Header("Content-Type", "application/x-www-form-urlencoded")})));
}

} // namespace
} // namespace kv
