#include "browser/fill_and_submit.h"

#include "browser/implicit_forms.h"

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

TEST_F(FillLoginFormTest, PutsThePasswordInThePasswordFieldAndTheLoginBeforeIt)
{
    const DocumentSnapshot page =
        Page("https://mail.example/login")
            .form({Text("search")})
            .form({Text("other"), Input("email", "user"), Password("pw"), Input("submit", "go")});

    EXPECT_EQ(FillLoginForm(browser, page, site), FillResult::Filled);

    EXPECT_EQ(browser.writes, (std::vector<Write>{{RefOf(page, 1, 2), "pa ss=word&1"},
                                                  {RefOf(page, 1, 1), "alice@example.org"}}));
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(page, 1, 3)});
}

// Decoys placed for robots are never filled, nor taken for the login field; a sign-up form
// beside the login form (a new password and its confirmation, or a field marked as a new
// password) and a form changing the password are left alone.
TEST_F(FillLoginFormTest, DecoysAndSignUpFormsAreLeftAlone)
{
    const DocumentSnapshot page =
        Page("https://mail.example/login")
            .form({Text("user"), Unseen(Text("website")), Unseen(Password("trap")), Password("pw"),
                   Input("submit", "go")})
            .form({Input("email", "new-email"), Password("new-pw"), Password("again")})
            .form({Text("name"), Autocomplete(Password("choose"), "new-password")})
            .form({Autocomplete(Password("old"), "current-password"),
                   Autocomplete(Password("new"), "new-password"), Password("confirm")});

    EXPECT_EQ(FillLoginForm(browser, page, site), FillResult::Filled);

    EXPECT_EQ(browser.writes, (std::vector<Write>{{RefOf(page, 0, 3), "pa ss=word&1"},
                                                  {RefOf(page, 0, 0), "alice@example.org"}}));
}

// The fields saved with the site win over the walk back from the password field.
TEST_F(FillLoginFormTest, TheSavedFieldNamesAreFilledWhereThePageHasThem)
{
    WriteSecureValue(kMainSection, FORMLOGINNAME, "login_id", site);
    WriteSecureValue(kMainSection, FORMPASSNAME, "secret", site);
    const DocumentSnapshot page =
        Page("https://mail.example/login")
            .form({Text("login_id"), Text("promo"), Password("pin"),
                   Autocomplete(Password("secret"), "current-password"), Input("submit", "go")});

    FillLoginForm(browser, page, site);

    EXPECT_EQ(browser.writes, (std::vector<Write>{{RefOf(page, 0, 3), "pa ss=word&1"},
                                                  {RefOf(page, 0, 0), "alice@example.org"}}));
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
    EXPECT_EQ(FillLoginForm(browser, page, site), FillResult::Nothing);
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
    EXPECT_EQ(FillLoginForm(browser, page, damaged), FillResult::Nothing);
    EXPECT_TRUE(browser.writes.empty());
}

// A page that asks for the login name first gets it, and its next control is pressed; a
// page without the saved field or a user-name field (a search box, say) gets nothing.
TEST_F(FillLoginFormTest, APageAskingForTheNameFirstGetsTheNameAndNext)
{
    WriteSecureValue(kMainSection, FORMLOGINNAME, "user", site);
    const DocumentSnapshot first =
        Page("https://mail.example/login")
            .form({Text("q"), Input("submit", "search")})
            .form({Text("user"), Unseen(Password("pw")), Button("button", "next")});
    EXPECT_EQ(FillLoginForm(browser, first, site), FillResult::IdentifierSent);
    EXPECT_EQ(browser.writes, (std::vector<Write>{{RefOf(first, 1, 0), "alice@example.org"}}));
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(first, 1, 2)});
    EXPECT_EQ(FillLoginForm(browser, first, site, false), FillResult::Nothing);

    FakeBrowser other{"w2"};
    const DocumentSnapshot marked =
        Page("https://mail.example/login")
            .form({Text("q"), Autocomplete(Input("email", "id"), "username webauthn")});
    EXPECT_EQ(FillLoginForm(other, marked, site), FillResult::IdentifierSent);
    EXPECT_EQ(other.writes, (std::vector<Write>{{RefOf(marked, 0, 1), "alice@example.org"}}));

    FakeBrowser search{"w3"};
    const DocumentSnapshot searchOnly =
        Page("https://mail.example/").form({Text("q"), Input("submit", "go")});
    EXPECT_EQ(FillLoginForm(search, searchOnly, site), FillResult::Nothing);
    EXPECT_TRUE(search.writes.empty());
}

// Inputs outside any form: the password with the text input before it and the button after
// it are one form of their own.
TEST_F(FillLoginFormTest, LooseFieldsAroundAPasswordAreOneForm)
{
    DocumentSnapshot page = Page("https://mail.example/login")
                                .loose(Text("search"))
                                .loose(Button("submit", "find"))
                                .loose(Text("user"))
                                .loose(Password("pw"))
                                .loose(Button("submit"))
                                .loose(Text("newsletter"));
    AddImplicitForms(page);
    ASSERT_EQ(page.Forms.size(), 1u);

    EXPECT_EQ(FillLoginForm(browser, page, site), FillResult::Filled);
    EXPECT_EQ(browser.writes, (std::vector<Write>{{page.All[3].ref, "pa ss=word&1"},
                                                  {page.All[2].ref, "alice@example.org"}}));
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{page.All[4].ref});
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

// Pages keep the typed values in their own script and send them from their submit handler:
// the form must never go out past it (a plain form submit may send it by GET, with the
// password in the address). The control is pressed, named or not.
TEST_F(SubmitLoginFormTest, AnUnnamedSubmitControlIsPressedToo)
{
    const DocumentSnapshot page =
        Page("https://a.example/").form({Text("q")}).form({Text("u"), Password("p"), Input("submit", "  ")});
    SubmitLoginForm(browser, page);
    EXPECT_EQ(browser.clicks, std::vector<NodeRef>{RefOf(page, 1, 2)});
    EXPECT_TRUE(browser.submits.empty());
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
