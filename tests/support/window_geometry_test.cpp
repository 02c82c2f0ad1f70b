#include "support/window_geometry.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(WindowGeometry, CentreOnScreenKeepsTheSize)
{
    const WindowRect centred = CentreOnScreen({5, 7, 400, 300}, {1920, 1080});
    EXPECT_EQ(centred.left, 760);
    EXPECT_EQ(centred.top, 390);
    EXPECT_EQ(centred.width, 400);
    EXPECT_EQ(centred.height, 300);
    // A window larger than the screen overhangs both edges equally.
    EXPECT_EQ(CentreOnScreen({0, 0, 2000, 1000}, {1000, 800}).left, -500);
}

TEST(WindowGeometry, CentreOverFormAlignsTheCentres)
{
    const WindowRect child = CentreOverForm({100, 200, 800, 600}, {0, 0, 300, 100});
    EXPECT_EQ(child.left, 350);
    EXPECT_EQ(child.top, 450);
    EXPECT_EQ(child.width, 300);
}

} // namespace
} // namespace kv::test
