#include "browser/chromium/toolbar_button_extension.h"

#include "common/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kv {
namespace {

using test::TempDir;

const std::filesystem::path kShipped =
    std::filesystem::path(KV_SOURCE_DIR) / "resources" / "extensions" / "toolbar-button";

std::string Text(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each run's copy carries an address of its own that no page can guess; the shipped
// extension stays as it is, and the copy is the user's alone.
TEST(ToolbarButtonExtension, EachRunsCopyKnowsOnlyItsOwnAddress)
{
    TempDir data;
    const ToolbarButtonExtension first(kShipped, data / "button");
    const ToolbarButtonExtension second(kShipped, data / "button");
    EXPECT_NE(first.frontAddress(), second.frontAddress());
    EXPECT_TRUE(first.frontAddress().starts_with("https://kestrelyn-vormaplex.invalid/front/"));
    EXPECT_GE(first.frontAddress().size(),
              std::string("https://kestrelyn-vormaplex.invalid/front/").size() + 32);

    ASSERT_EQ(first.prepare(), data / "button");
    ASSERT_EQ(second.prepare(), data / "button");
    const std::string script = Text(data / "button" / "button.js");
    EXPECT_NE(script.find('"' + second.frontAddress() + '"'), std::string::npos);
    EXPECT_EQ(script.find(first.frontAddress()), std::string::npos);
    EXPECT_EQ(script.find("@FRONT_ADDRESS@"), std::string::npos);
    EXPECT_NE(Text(kShipped / "button.js").find("@FRONT_ADDRESS@"), std::string::npos);
    EXPECT_EQ(Text(data / "button" / "manifest.json"), Text(kShipped / "manifest.json"));
    EXPECT_TRUE(std::filesystem::exists(data / "button" / "icon16.png"));
    EXPECT_EQ(std::filesystem::status(data / "button").permissions(), std::filesystem::perms::owner_all);
}

TEST(ToolbarButtonExtension, NothingToLoadWithoutTheShippedExtension)
{
    TempDir data;
    EXPECT_FALSE(ToolbarButtonExtension(data / "missing", data / "button").prepare());
    std::filesystem::create_directories(data / "no-script");
    std::ofstream(data / "no-script" / "manifest.json") << "{}";
    EXPECT_FALSE(ToolbarButtonExtension(data / "no-script", data / "button").prepare());
}

} // namespace
} // namespace kv
