// The cleanup box of the Browser tab: it shows what the profile and the cache hold, keeps the
// category boxes tied to "Delete all on exit", and forwards clicks.
#include "cleanup/browser_cleanup_widget.h"
#include "cleanup/cleanup_texts.h"
#include "common/fake_url_cache.h"
#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "startup/profile_settings.h"
#include "storage/ini_values.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace kv {
namespace {

class RecordingShell : public DesktopShell {
public:
    void open(std::string_view pathOrAddress) override { opened.emplace_back(pathOrAddress); }
    void lockSession() override {}
    std::vector<std::string> opened;
};

class BrowserCleanupWidgetTest : public ::testing::Test {
protected:
    BrowserCleanupWidgetTest() { cache.addBrowsingLeftovers(); }
    QStringList shownCounts() const
    {
        return {widget.txtCookies()->text(), widget.txtHistory()->text(), widget.txtTemp()->text(),
                widget.txtTotal()->text()};
    }

    test::TempDir dir;
    std::filesystem::path profile = dir / "me.ini";
    test::FakeUrlCache cache;
    BrowserCleanup cleanup{cache};
    test::ScriptedDialogs dialogs;
    RecordingShell shell;
    BrowserCleanupPanel panel{cleanup, cache, profile, dialogs, shell};
    BrowserCleanupWidget widget{panel};
};

TEST_F(BrowserCleanupWidgetTest, LoadingANewProfileShowsDeleteAllLockingTheCategoriesAndTheCounts)
{
    widget.loadOptions();

    EXPECT_EQ(shownCounts(), (QStringList{"3", "2", "5", "10"}));
    EXPECT_TRUE(widget.chkDelAll()->isChecked());
    for (QCheckBox* box : {widget.chkCookies(), widget.chkHistory(), widget.chkTemp()}) {
        EXPECT_TRUE(box->isChecked());
        EXPECT_FALSE(box->isEnabled());
    }
    EXPECT_TRUE(widget.chkDeletePrompt()->isChecked());
    EXPECT_EQ(ReadIniValue(kOptionsSection, BROWSERDELETEALL, profile), "1");
}

TEST_F(BrowserCleanupWidgetTest, UncheckingDeleteAllReleasesTheCategoriesStillCheckedAndSaveWritesThem)
{
    widget.loadOptions();
    QTest::mouseClick(widget.chkDelAll(), Qt::LeftButton);
    for (QCheckBox* box : {widget.chkCookies(), widget.chkHistory(), widget.chkTemp()}) {
        EXPECT_TRUE(box->isChecked());
        EXPECT_TRUE(box->isEnabled());
    }
    QTest::mouseClick(widget.chkHistory(), Qt::LeftButton);
    QTest::mouseClick(widget.chkDeletePrompt(), Qt::LeftButton);
    widget.saveOptions();

    EXPECT_EQ(ReadIniValue(kOptionsSection, BROWSERDELETEALL, profile), "0");
    EXPECT_EQ(ReadIniValue(kOptionsSection, BROWSERCOOKIE, profile), "1");
    EXPECT_EQ(ReadIniValue(kOptionsSection, BROWSERHISTORY, profile), "0");
    EXPECT_EQ(ReadIniValue(kOptionsSection, BROWSERTEMP, profile), "1");
    EXPECT_EQ(ReadIniValue(kOptionsSection, BROWSERDELETEPROMPT, profile), "0");

    // The next opening shows what was saved.
    BrowserCleanupWidget reopened(panel);
    reopened.loadOptions();
    EXPECT_FALSE(reopened.chkDelAll()->isChecked());
    EXPECT_TRUE(reopened.chkCookies()->isChecked() && reopened.chkCookies()->isEnabled());
    EXPECT_FALSE(reopened.chkHistory()->isChecked());
    EXPECT_FALSE(reopened.chkDeletePrompt()->isChecked());
}

TEST_F(BrowserCleanupWidgetTest, ClearAllAsksAndOnlyYesDeletesAndRecounts)
{
    widget.loadOptions();
    dialogs.answer(Dialogs::Answer::No);
    QTest::mouseClick(widget.cmdClearAll(), Qt::LeftButton);
    EXPECT_EQ(cache.entries.size(), 10u);
    EXPECT_EQ(shownCounts(), (QStringList{"3", "2", "5", "10"}));

    cache.add(EntryCategory::Cookie, 1); // arrived since the box was shown
    dialogs.answer(Dialogs::Answer::Yes);
    QSignalSpy shown(&widget, &BrowserCleanupWidget::countsShown);
    QTest::mouseClick(widget.cmdClearAll(), Qt::LeftButton);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(shownCounts(), (QStringList{"0", "0", "0", "0"}));
    EXPECT_EQ(dialogs.asked(), (std::vector<std::string>(2, std::string(kDeleteAllQuestion))));
}

TEST_F(BrowserCleanupWidgetTest, ClickingACountOpensItsFolderAndTheTotalOpensNothing)
{
    QTest::mouseClick(widget.txtCookies(), Qt::LeftButton);
    QTest::mouseClick(widget.txtHistory(), Qt::LeftButton);
    QTest::mouseClick(widget.txtTotal(), Qt::LeftButton);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"/profile/Default/Network", "/profile/Default"}));
    EXPECT_EQ(widget.txtTemp()->toolTip().toStdString(), kTempFolderTip);
}

} // namespace
} // namespace kv
