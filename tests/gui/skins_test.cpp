#include "gui_test_support.h"
#include "mainwindow/option_tabs_widget.h"
#include "mainwindow/qt_skin.h"
#include "mainwindow/skin_table.h"
#include "storage/ini_values.h"

#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <set>

namespace kv::test {
namespace {

std::filesystem::path Resources()
{
    return std::filesystem::path(KV_SOURCE_DIR) / "resources";
}

struct SkinsTest : ::testing::Test {
    ~SkinsTest() override { qApp->setStyleSheet(QString()); }
    TestProfile profile;
};

TEST_F(SkinsTest, TheThreeShippedSkinsAreRealAndDifferent)
{
    std::set<std::string> sheets;
    for (int index = 0; index < 3; ++index) {
        auto skin = SkinForIndex(index, Resources(), {});
        ASSERT_TRUE(skin);
        ASSERT_TRUE(ApplySkin(*skin)) << skin->styleSheet;
        EXPECT_FALSE(qApp->styleSheet().isEmpty());
        EXPECT_TRUE(qApp->styleSheet().contains("#wndShortcutBar"));
        sheets.insert(qApp->styleSheet().toStdString());
    }
    EXPECT_EQ(sheets.size(), 3u);
    ASSERT_TRUE(ApplySkin(*SkinForIndex(3, Resources(), {})));
    EXPECT_TRUE(qApp->styleSheet().isEmpty()) << "None is the platform's own look";
    EXPECT_FALSE(SkinForIndex(5, Resources(), {}));
}

TEST_F(SkinsTest, CustomLoadsTheChosenFileAndAnUnreadableOneKeepsTheLook)
{
    const std::filesystem::path custom = profile.directory() / "mine.qss";
    std::ofstream(custom) << "QWidget { background: #123456; }";
    ASSERT_TRUE(ApplySkin(*SkinForIndex(4, Resources(), custom)));
    EXPECT_EQ(qApp->styleSheet(), "QWidget { background: #123456; }");
    EXPECT_FALSE(ApplySkin(*SkinForIndex(4, Resources(), profile.directory() / "missing.qss")));
    EXPECT_EQ(qApp->styleSheet(), "QWidget { background: #123456; }");
}

TEST_F(SkinsTest, TheProfilesSkinIsTheFirstWhenUnsetAndNothingWhenOutOfRange)
{
    auto first = ProfileSkin(profile.file(), Resources());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->styleSheet.filename(), "vista.qss");
    EXPECT_EQ(ReadIniValue("Options", "SKIN", profile.file()), "0");
    WriteIniValue("Options", "SKIN", "2", profile.file());
    EXPECT_EQ(ProfileSkin(profile.file(), Resources())->styleSheet.filename(), "royal.qss");
    WriteIniValue("Options", "SKIN", "9", profile.file());
    EXPECT_FALSE(ProfileSkin(profile.file(), Resources()));
}

TEST(OptionTabs, EachClickReportsTheTabShownBefore)
{
    OptionTabs tabs;
    for (const char* caption : {"a", "b", "c", "d"})
        tabs.addTab(new QWidget, caption);
    QSignalSpy clicked(&tabs, &OptionTabs::tabClicked);
    tabs.setCurrentIndex(2);
    tabs.setCurrentIndex(3);
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 0);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 2);
}

} // namespace
} // namespace kv::test
