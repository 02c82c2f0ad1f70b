// The message boxes and input boxes the user sees.
#include "app/qt_dialogs.h"
#include "mainwindow/main_window_texts.h"
#include "modal_box.h"

#include <QDialog>
#include <QFontDatabase>
#include <QTest>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

// Room for the title in the bold title bar face and for the window's icon and three buttons,
// about 30 pixels each, as window managers draw them.
int TitleBarWidth(const QString& title)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + 4 * 30;
}

struct Shown {
    QString title;
    int width = 0;
    std::string kind;
};

struct QtDialogsTest : ::testing::Test {
    QtDialogs dialogs{QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()), {}};

    // Runs show while recording the box it opens.
    template <typename Show> Shown boxOf(Show show)
    {
        Shown shown;
        OnNextModalBox([&shown](QWidget* box) {
            shown.title = box->windowTitle();
            shown.width = box->width();
            shown.kind = box->metaObject()->className();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        show();
        return shown;
    }
};

TEST_F(QtDialogsTest, EveryBoxIsWideEnoughForItsWholeTitle)
{
    const std::string longTitle = "Kestrelyn Vormaplex: a title much longer than the text below it";
    const Shown boxes[] = {
        boxOf([&] { dialogs.message("Please select a site."); }),
        boxOf([&] { dialogs.message("OK?", longTitle); }),
        boxOf([&] { dialogs.ask("Sure?", Buttons::YesNo, Icon::Exclamation); }),
        boxOf([&] { dialogs.ask("Sure?", Buttons::OK, Icon::None, longTitle); }),
        boxOf([&] { dialogs.input("Login", longTitle); }),
    };
    for (const Shown& box : boxes) {
        ASSERT_FALSE(box.title.isEmpty()) << "a box did not show";
        EXPECT_GE(box.width, TitleBarWidth(box.title)) << box.kind << ": " << box.title.toStdString();
    }
}

TEST_F(QtDialogsTest, EnterAnswersNoWhereYesWouldDestroy)
{
    Dialogs::Answer answers[2];
    for (int i = 0; i < 2; ++i) {
        OnNextModalBox([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
        answers[i] =
            dialogs.ask("Delete?", i == 0 ? Buttons::YesNoDefaultNo : Buttons::YesNo, Icon::Exclamation);
    }
    EXPECT_EQ(answers[0], Dialogs::Answer::No);
    EXPECT_EQ(answers[1], Dialogs::Answer::Yes);
}

} // namespace
} // namespace kv::test
