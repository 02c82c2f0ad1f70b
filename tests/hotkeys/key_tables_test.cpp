#include "hotkeys/key_tables.h"
#include "platform/global_hotkeys.h"
#include "platform/virtual_keys.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <set>

namespace kv::test {
namespace {

TEST(KeyTables, ModifierNamesGiveTheirFlagsAndAnythingElseNone)
{
    EXPECT_EQ(ModifierOfName("Control"), kHotkeyModControl);
    EXPECT_EQ(ModifierOfName("Alt"), kHotkeyModAlt);
    EXPECT_EQ(ModifierOfName("Shift"), kHotkeyModShift);
    for (const char* other : {"", "control", "Ctrl", " Alt", "Super"})
        EXPECT_EQ(ModifierOfName(other), 0u) << other;
}

TEST(KeyTables, KeyNamesGiveTheirCodesExactlyAsWritten)
{
    EXPECT_EQ(KeyOfName("0 (number strip)"), 48u);
    EXPECT_EQ(KeyOfName("7 (number strip)"), 55u);
    EXPECT_EQ(KeyOfName("0 (number pad)"), 96u);
    EXPECT_EQ(KeyOfName("9 (number pad)"), 105u);
    EXPECT_EQ(KeyOfName("* (number pad)"), 106u);
    EXPECT_EQ(KeyOfName("A"), 65u);
    EXPECT_EQ(KeyOfName("Z"), 90u);
    EXPECT_EQ(KeyOfName("_"), 189u);
    EXPECT_EQ(KeyOfName("\\"), 220u);
    EXPECT_EQ(KeyOfName("Pagedown"), 34u);
    EXPECT_EQ(KeyOfName("Up"), 38u);
    for (const char* unknown : {"", "a", "up", "UP", "Up ", "F1", "10 (number strip)", "0(number pad)"})
        EXPECT_EQ(KeyOfName(unknown), 0u) << unknown;
}

TEST(KeyTables, TheOfferedKeysAreKnownOnceEachAndLackOnlyTheNumberPadStar)
{
    auto offered = PressKeyNamesAsDesigned();
    EXPECT_EQ(offered.size(), 40u);
    EXPECT_EQ(offered.front(), "0 (number strip)");
    EXPECT_EQ(offered.back(), "Right");
    const auto added = PressKeyNamesAddedAtLoad();
    EXPECT_EQ(added.size(), 37u);
    EXPECT_EQ(added.front(), "`");
    EXPECT_EQ(added.back(), "Z");
    offered.insert(offered.end(), added.begin(), added.end());
    std::set<std::string> distinct;
    for (const std::string& name : offered) {
        EXPECT_NE(KeyOfName(name), 0u) << name;
        EXPECT_TRUE(distinct.insert(name).second) << name << " is offered twice";
    }
    EXPECT_FALSE(distinct.count("* (number pad)"));
}

// Every key a hotkey can name reaches the desktop as a keysym; function keys as XK_F1 + n.
TEST(KeyTables, EveryNamedKeyAndEveryFunctionKeyHasAKeysym)
{
    std::vector<std::string> names = PressKeyNamesAsDesigned();
    const auto added = PressKeyNamesAddedAtLoad();
    names.insert(names.end(), added.begin(), added.end());
    names.push_back("* (number pad)");
    for (const std::string& name : names) {
        const auto symbol = KeySymbolOfVirtualKey(KeyOfName(name));
        ASSERT_TRUE(symbol) << name;
        EXPECT_FALSE(symbol->name.empty()) << name;
    }
    for (int n = 1; n <= 10; ++n) {
        const auto symbol = KeySymbolOfVirtualKey(SiteHotkeyKey(n));
        ASSERT_TRUE(symbol);
        EXPECT_EQ(symbol->keysym, static_cast<unsigned long>(XK_F1 + n - 1));
        EXPECT_EQ(symbol->name, "F" + std::to_string(n));
    }
    EXPECT_EQ(KeySymbolOfVirtualKey(KeyOfName("A"))->keysym, static_cast<unsigned long>(XK_a));
    EXPECT_EQ(KeySymbolOfVirtualKey(KeyOfName("3 (number pad)"))->name, "KP_3");
    EXPECT_EQ(KeySymbolOfVirtualKey(KeyOfName("Pageup"))->name, "Prior");
    EXPECT_FALSE(KeySymbolOfVirtualKey(0));
    EXPECT_FALSE(KeySymbolOfVirtualKey(255));
}

} // namespace
} // namespace kv::test
