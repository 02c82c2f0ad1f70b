#include "update/version_compare.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(VersionCompare, ComparesTheDigitsAsText)
{
    EXPECT_TRUE(UpdateOffered("2.0.1", {2, 0, 0}));
    EXPECT_FALSE(UpdateOffered("2.0.0", {2, 0, 0}));
    EXPECT_FALSE(UpdateOffered("1.9.9", {2, 0, 0}));
    // Text, not numbers: "1210" sorts before "129".
    EXPECT_FALSE(UpdateOffered("1.2.10", {1, 2, 9}));
    EXPECT_TRUE(UpdateOffered("1.3", {1, 2, 9}));
    EXPECT_TRUE(UpdateOffered("2.0.0.1", {2, 0, 0}));
    EXPECT_FALSE(UpdateOffered("", {0, 0, 0}));
}

} // namespace
} // namespace kv
