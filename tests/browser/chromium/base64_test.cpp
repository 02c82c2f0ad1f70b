#include "browser/chromium/base64.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Base64, KnownVectorsBothWays)
{
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}};
    for (const auto& [bytes, text] : vectors) {
        EXPECT_EQ(Base64Encode(bytes), text);
        EXPECT_EQ(Base64Decode(text), bytes);
    }
}

TEST(Base64, EveryByteValueSurvivesTheRoundTrip)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    for (std::size_t length = 0; length <= bytes.size(); length += 37)
        EXPECT_EQ(Base64Decode(Base64Encode(bytes.substr(0, length))), bytes.substr(0, length));
}

TEST(Base64, MalformedTextIsRefused)
{
    EXPECT_FALSE(Base64Decode("Zg="));      // length not a multiple of four
    EXPECT_FALSE(Base64Decode("Z!=="));     // outside the alphabet
    EXPECT_FALSE(Base64Decode("Zg==Zm9v")); // padding before the end
    EXPECT_FALSE(Base64Decode("Z=g="));     // padding inside a group
}

} // namespace
} // namespace kv
