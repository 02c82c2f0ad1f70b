// UTF-8 checks of outside text.
#include "support/utf8_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Utf8Text, AcceptsWellFormedTextOnly)
{
    for (std::string_view good :
         {"", "plain", "\xC3\xA4", "\xE2\x82\xAC", "\xF0\x9F\x94\x91", "\xEF\xBF\xBF", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(IsValidUtf8(good)) << good;
    for (std::string_view bad : {"\x80", "\xC3", "\xC3\x28", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                                 "\xF4\x90\x80\x80", "\xFF", "ab\xE2\x82"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

} // namespace
} // namespace kv
