#include "browser/fill_and_submit.h"

#include "browser_test_support.h"
#include "fake_browser.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

using Write = FakeBrowser::Write;

class FillLoginFormTest : public ::testing::Test {
protected:
    TestProfile profile;
    std::filesystem::path site = profile.site("Mail.QVR", {{SITEURL, "https://mail.example/login"},
                                                           {FORMLOGINVALUE, "alice@example.org"},
                                                           {FORMPASSVALUE, "pa ss=word&1"}});
    FakeBrowser browser{"w1"};
};

TEST_F(FillLoginFormTest, PutsThePasswordInTheFirstPasswordFieldAndTheLoginBeforeIt)
{
    const DocumentSnapshot page = Page("https://mail.example/login")
                                      .form({Text("search")})
                                      .form({Text("other"), Input("email", "user"), Password("pw"),
                                             Password("confirm"), Input("submit", "go")});

    EXPECT_TRUE(FillLoginForm(browser, page, site));

    EXPECT_EQ(browser.writes, (std::vector<Write>{{RefOf(page, 1, 2), "pa ss=word&1"},
                                                  {RefOf(page, 1, 1), "alice@example.org"}}));
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(page, 1, 4)});
}

TEST_F(FillLoginFormTest, EveryFormWithAPasswordFieldGetsTheSameLogin)
{
    const DocumentSnapshot page = Page("https://mail.example/login")
                                      .form({Text("u1"), Password("p1")})
                                      .form({Text("u2"), Password("p2")});

    FillLoginForm(browser, page, site);

    EXPECT_EQ(browser.writes, (std::vector<Write>{{RefOf(page, 0, 1), "pa ss=word&1"},
                                                  {RefOf(page, 0, 0), "alice@example.org"},
                                                  {RefOf(page, 1, 1), "pa ss=word&1"},
                                                  {RefOf(page, 1, 0), "alice@example.org"}}));
}

TEST_F(FillLoginFormTest, AHiddenTokenFirstLeavesEverythingButThePasswordAlone)
{
    const DocumentSnapshot page =
        Page("https://mail.example/login").form({Hidden("csrf", "tok"), Password("pw")});

    FillLoginForm(browser, page, site);

    EXPECT_EQ(browser.writes, (std::vector<Write>{{RefOf(page, 0, 1), "pa ss=word&1"}}));
}

TEST_F(FillLoginFormTest, NothingFilledWithoutAPasswordField)
{
    const DocumentSnapshot page = Page("https://mail.example/login").form({Text("q")});
    EXPECT_FALSE(FillLoginForm(browser, page, site));
    EXPECT_TRUE(browser.writes.empty());
}

TEST_F(FillLoginFormTest, ASiteThatCannotBeDecryptedFillsNothing)
{
    const auto damaged = profile.root() / "Damaged.QVR";
    {
        std::ofstream out(damaged);
        out << "[Main]\nFORMPASSVALUE=ZZ QQ\n";
    }
    const DocumentSnapshot page = Page("https://mail.example/login").form({Text("u"), Password("p")});
    EXPECT_FALSE(FillLoginForm(browser, page, damaged));
    EXPECT_TRUE(browser.writes.empty());
}

class SubmitLoginFormTest : public ::testing::Test {
protected:
    FakeBrowser browser{"w1"};
};

TEST_F(SubmitLoginFormTest, ANamedSubmitInputAfterThePasswordIsClicked)
{
    const DocumentSnapshot page =
        Page("https://a.example/").form({Text("u"), Password("p"), Input("submit", "login")});
    SubmitLoginForm(browser, page);
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(page, 0, 2)});
    EXPECT_TRUE(browser.submits.empty());
}

TEST_F(SubmitLoginFormTest, AnUnnamedSubmitSubmitsTheLastFormHoldingAPassword)
{
    const DocumentSnapshot page = Page("https://a.example/")
                                      .form({Text("q")})
                                      .form({Text("u"), Password("p"), Input("submit", "  ")})
                                      .form({Text("x")});
    SubmitLoginForm(browser, page);
    EXPECT_TRUE(browser.clicks.empty());
    EXPECT_EQ(browser.submits, std::vector<NodeRef>{page.Forms[1].ref});
}

TEST_F(SubmitLoginFormTest, ControlsBeforeThePasswordNeverCount)
{
    const DocumentSnapshot page = Page("https://a.example/")
                                      .form({Input("submit", "search"), Button("submit", "early"), Text("u"),
                                             Password("p"), Input("image", "go")});
    SubmitLoginForm(browser, page);
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(page, 0, 4)});
}

TEST_F(SubmitLoginFormTest, ASubmitButtonCountsAtItsPlaceAmongTheInputs)
{
    // A show-password toggle comes first and is passed over; the submit button wins over the
    // image input that follows it.
    const DocumentSnapshot page =
        Page("https://a.example/")
            .form({Hidden("csrf"), Input("email", "user"), Password("p"), Button("button", "toggle"),
                   Button("submit", "signin"), Input("image", "alt")});
    SubmitLoginForm(browser, page);
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(page, 0, 4)});
}

TEST_F(SubmitLoginFormTest, AnUnnamedSubmitButtonSubmitsTheForm)
{
    const DocumentSnapshot page =
        Page("https://a.example/")
            .form({Hidden("csrf"), Input("email", "user"), Password("p"), Button("submit")});
    SubmitLoginForm(browser, page);
    EXPECT_TRUE(browser.clicks.empty());
    EXPECT_EQ(browser.submits, std::vector<NodeRef>{page.Forms[0].ref});
}

TEST_F(SubmitLoginFormTest, ButtonInputsAreStillPressed)
{
    const DocumentSnapshot page =
        Page("https://a.example/").form({Text("u"), Password("p"), Input("button", "")});
    SubmitLoginForm(browser, page);
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(page, 0, 2)});
}

TEST_F(SubmitLoginFormTest, AScriptLinkAfterThePasswordIsTheLastResort)
{
    const DocumentSnapshot page = Page("https://a.example/")
                                      .loose(Link("javascript:help()"))
                                      .form({Text("u"), Password("p"), Button("button", "eye")})
                                      .loose(Link("https://a.example/forgot"))
                                      .loose(Link("javascript:doLogin()"));
    SubmitLoginForm(browser, page);
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{page.All[5].ref});
}

TEST_F(SubmitLoginFormTest, NothingIsPressedWithoutAControl)
{
    const DocumentSnapshot page = Page("https://a.example/")
                                      .loose(Link("javascript:before()"))
                                      .form({Text("u"), Password("p")})
                                      .loose(Link("JAVASCRIPT:upper()"));
    SubmitLoginForm(browser, page);
    EXPECT_TRUE(browser.clicks.empty());
    EXPECT_TRUE(browser.submits.empty());
}

} // namespace
} // namespace kv::test
