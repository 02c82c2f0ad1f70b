#include "common/scripted_dialogs.h"
#include "common/temp_dir.h"
#include "startup/create_login_form.h"
#include "startup/startup_texts.h"
#include "startup/wizard_form.h"
#include "widgets/shortcut_bar_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

class FixedAccount : public UserAccount {
public:
    std::string name() const override { return "tester"; }
    std::filesystem::path documentsFolder() const override { return "/home/tester/Documents"; }
};

void FillWithCounter(std::span<std::uint8_t> bytes)
{
    std::uint8_t next = 7;
    for (std::uint8_t& byte : bytes)
        byte = next += 13;
}

struct WizardFormTest : ::testing::Test {
    ScriptedDialogs dialogs;
    FixedAccount account;
    FirstRunWizard logic{dialogs, account, FillWithCounter};
    frmWizard form{logic};
};

TEST_F(WizardFormTest, StartsAtWelcomeAndTheNextButtonsWalkTheSteps)
{
    EXPECT_EQ(form.shownStep(), 1);
    EXPECT_EQ(form.txtDefaultDir()->text(), "/home/tester/Documents/Kestrelyn");
    EXPECT_EQ(form.Option1()->checkedId(), 1);
    EXPECT_TRUE(form.chkMakeCategories()->isChecked());
    QTest::mouseClick(form.findChild<QPushButton*>("cmdNext1"), Qt::LeftButton);
    EXPECT_EQ(form.shownStep(), 2);
    form.wndShortcutBar()->selectPosition(4);
    EXPECT_EQ(form.shownStep(), 5);
}

TEST_F(WizardFormTest, TheDirectoryBoxTakesAPathAndCapitalsButNoColonOrBackslash)
{
    QLineEdit* box = form.txtDefaultDir();
    box->clear();
    QTest::keyClicks(box, "/home/My:Site\\s");
    EXPECT_EQ(box->text(), "/home/MySites");
}

TEST_F(WizardFormTest, BrowseCancelledLeavesTheTypedPath)
{
    QLineEdit* box = form.txtDefaultDir();
    box->setText("/media/usb/Kestrelyn");
    dialogs.pickFolder(std::nullopt);
    QTest::mouseClick(form.findChild<QPushButton*>("cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(box->text(), "/media/usb/Kestrelyn");
    EXPECT_EQ(dialogs.prompts(), (std::vector<std::string>{"Select A Directory"}));
}

// Nothing here runs on Windows or Internet Explorer; the wizard must not send the user there.
TEST_F(WizardFormTest, NoTextSendsTheUserToAWindowsFacility)
{
    QStringList texts{form.windowTitle()};
    for (const QLabel* label : form.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : form.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QString& text : texts) {
        EXPECT_FALSE(text.contains("Windows", Qt::CaseInsensitive)) << text.toStdString();
        EXPECT_FALSE(text.contains("Internet Explorer")) << text.toStdString();
    }
    EXPECT_TRUE(texts.filter("\"Add New Site\"").size() == 1)
        << "the finish step says how to open the browser";
}

TEST_F(WizardFormTest, FinishingWithoutAKeyIsRefused)
{
    QTest::mouseClick(form.cmdFinish(), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{std::string(kGenerateKeyFirst)}));
    EXPECT_NE(form.result(), QDialog::Accepted);
}

TEST_F(WizardFormTest, MouseMovementFillsTheProgressBarUntilTheKeyExists)
{
    form.show();
    QTest::mouseClick(form.cmdGenerateKey(), Qt::LeftButton);
    EXPECT_TRUE(form.tmrGData().isActive());
    EXPECT_FALSE(form.cmdGenerateKey()->isEnabled());
    EXPECT_FALSE(form.cmdNext3()->isEnabled());
    int step = 0;
    const bool generated = QTest::qWaitFor(
        [&] {
            ++step;
            QCursor::setPos(100 + step % 500, 50 + step % 311);
            return form.cmdNext3()->isEnabled();
        },
        30000);
    ASSERT_TRUE(generated) << "progress " << form.ProgressBar1()->value();
    EXPECT_FALSE(form.tmrGData().isActive());
    EXPECT_EQ(form.ProgressBar1()->value(), 100);
    EXPECT_EQ(form.lblGenerate()->text().toStdString(), kKeyGenerated);
}

TEST(CreateLoginForm, PasswordsAreComparedBeforeTheBlankCheckAndOkTakesTheLogin)
{
    ScriptedDialogs dialogs;
    CreateLoginDialog logic(dialogs);
    frmCreateLogin form(logic);
    QTest::keyClicks(form.txtPass(), "one");
    QTest::keyClicks(form.txtPass1(), "two");
    QTest::mouseClick(form.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{std::string(kPasswordsDoNotMatch)}));
    EXPECT_NE(form.result(), QDialog::Accepted);

    QTest::keyClicks(form.txtLogin(), "alice");
    form.txtPass1()->setText("one");
    QTest::mouseClick(form.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(logic.NewLogin, "alice");
    EXPECT_EQ(logic.NewPassword, "one");
}

} // namespace
} // namespace kv::test
