#include "gui_test_support.h"
#include "mainwindow/option_tabs_widget.h"
#include "mainwindow/qt_skin.h"
#include "mainwindow/skin_table.h"
#include "storage/ini_values.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace kv::test {
namespace {

std::filesystem::path Resources()
{
    return std::filesystem::path(KV_SOURCE_DIR) / "resources";
}

// A style sheet's rules by selector, each with its properties; comma lists give every selector
// the block.
using Properties = std::map<QString, QString>;
std::map<QString, Properties> Rules(QString sheet)
{
    sheet.remove(QRegularExpression(R"(/\*.*?\*/)", QRegularExpression::DotMatchesEverythingOption));
    std::map<QString, Properties> rules;
    static const QRegularExpression rule(R"(([^{}]+)\{([^}]*)\})");
    for (auto block = rule.globalMatch(sheet); block.hasNext();) {
        const QRegularExpressionMatch match = block.next();
        Properties properties;
        for (const QString& declaration : match.captured(2).split(';', Qt::SkipEmptyParts)) {
            const qsizetype colon = declaration.indexOf(':');
            if (colon > 0)
                properties[declaration.left(colon).trimmed()] = declaration.mid(colon + 1).trimmed();
        }
        for (const QString& selector : match.captured(1).split(','))
            rules[selector.trimmed()] = properties;
    }
    return rules;
}

// What a selector takes what it does not set from: "A::b:c" from "A::b", then "A", then QWidget.
QString Parent(const QString& selector)
{
    const qsizetype cut = selector.lastIndexOf(':');
    if (cut > 0)
        return selector.left(selector[cut - 1] == ':' ? cut - 1 : cut);
    return selector == "QWidget" ? QString() : QString("QWidget");
}

// Every colour a background paints: the colour, or each stop of a gradient.
std::vector<QColor> Colours(const QString& value)
{
    static const QRegularExpression stop(R"(stop:\s*[\d.]+\s+(#[0-9a-fA-F]+|[a-z]+))");
    std::vector<QColor> colours;
    if (value.contains("gradient")) {
        for (auto found = stop.globalMatch(value); found.hasNext();)
            colours.emplace_back(found.next().captured(1));
    } else if (value != "transparent") {
        colours.emplace_back(value.section(' ', 0, 0));
    }
    return colours;
}

// The property as the selector paints it, its own or inherited; empty when nothing sets it.
QString Resolved(const std::map<QString, Properties>& rules, QString selector, const QStringList& names)
{
    for (; !selector.isEmpty(); selector = Parent(selector)) {
        const auto rule = rules.find(selector);
        if (rule == rules.end())
            continue;
        for (const QString& name : names)
            if (const auto value = rule->second.find(name);
                value != rule->second.end() && value->second != "transparent")
                return value->second;
    }
    return {};
}

double Luminance(const QColor& colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// Text colour against background colour for every element of a sheet that draws text: its own
// or inherited colours, selections against their selection background, and links against the
// window's face. Parts that draw no text are left out.
std::vector<std::string> UnreadableTexts(const QString& sheet)
{
    const auto rules = Rules(sheet);
    static const QRegularExpression noText("::(separator|indicator|pane|handle)");
    const QStringList background{"background", "background-color"};
    std::vector<std::string> failures;
    const auto check = [&](const QString& where, const QString& text, const QString& behind) {
        for (const QColor& colour : Colours(behind)) {
            const double ratio = Contrast(QColor(text), colour);
            if (ratio < 4.5)
                failures.push_back(QString("%1: %2 on %3 is %4:1")
                                       .arg(where, text, colour.name())
                                       .arg(ratio, 0, 'f', 2)
                                       .toStdString());
        }
    };
    for (const auto& [selector, properties] : rules) {
        if (selector.contains(noText))
            continue;
        const QString text = Resolved(rules, selector, {"color"});
        QString behind = Resolved(rules, selector == "KestrelynLink" ? "QWidget" : selector, background);
        if (properties.contains("subcontrol-origin") && properties.at("subcontrol-origin") == "margin")
            check(selector, text, Resolved(rules, "QWidget", background));
        check(selector, text, behind);
        if (properties.contains("selection-color"))
            check(selector + " selection", properties.at("selection-color"),
                  properties.at("selection-background-color"));
    }
    return failures;
}

QString SheetText(const std::filesystem::path& file)
{
    QFile sheet(QString::fromStdString(file.string()));
    EXPECT_TRUE(sheet.open(QIODevice::ReadOnly)) << file;
    return QString::fromUtf8(sheet.readAll());
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

TEST_F(SkinsTest, EveryShippedSkinKeepsEveryTextReadable)
{
    for (int index = 0; index < 3; ++index) {
        const QString sheet = SheetText(SkinForIndex(index, Resources(), {})->styleSheet);
        EXPECT_EQ(UnreadableTexts(sheet), std::vector<std::string>{}) << "skin " << index;
        // Links take the skin's own colour, since the platform's blue is unreadable on dark faces.
        EXPECT_TRUE(SkinLinkColour(sheet)) << "skin " << index;
    }
}

TEST_F(SkinsTest, TheContrastCheckFindsUnreadablePairs)
{
    EXPECT_EQ(UnreadableTexts("QWidget { background: #ffffff; color: #777777; }").size(), 1u);
    // Inherited text on a state's own background, a gradient stop, a selection and a link.
    EXPECT_EQ(
        UnreadableTexts("QWidget { background: #000000; color: #ffffff; }\n"
                        "QPushButton:hover { background: qlineargradient(stop:0 #000000, stop:1 #eeeeee); }\n"
                        "QLineEdit { selection-color: #ffffff; selection-background-color: #ffff00; }\n"
                        "KestrelynLink { color: #0000ff; }")
            .size(),
        3u);
    EXPECT_TRUE(UnreadableTexts("QWidget { background: #ffffff; color: #000000; }").empty());
}

TEST_F(SkinsTest, AppliedSkinsSetTheLinkColourAndNoneRestoresThePlatformsOwn)
{
    const QColor platformLink = QApplication::palette().color(QPalette::Link);
    ASSERT_TRUE(ApplySkin(*SkinForIndex(2, Resources(), {})));
    EXPECT_EQ(QApplication::palette().color(QPalette::Link), QColor("#8fb0ff"));
    ASSERT_TRUE(ApplySkin(*SkinForIndex(3, Resources(), {})));
    EXPECT_EQ(QApplication::palette().color(QPalette::Link), platformLink);
}

TEST_F(SkinsTest, ASheetThatDoesNotParseKeepsTheCurrentSkin)
{
    ASSERT_TRUE(ApplySkin(*SkinForIndex(1, Resources(), {})));
    const QString current = qApp->styleSheet();
    const std::filesystem::path broken = profile.directory() / "broken.qss";
    std::ofstream(broken) << "QWidget { background: #123456; \n QPushButton { color: ";
    EXPECT_FALSE(ApplySkin(*SkinForIndex(4, Resources(), broken)));
    EXPECT_EQ(qApp->styleSheet(), current);
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
