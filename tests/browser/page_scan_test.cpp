#include "browser/page_scan.h"

#include "fake_browser.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

std::optional<std::size_t> loginFieldOf(std::vector<DomElement> elements, std::size_t password)
{
    return LoginFieldIndex(elements, password);
}

TEST(LoginFieldWalk, TakesTheNearestTextLikeFieldBeforeThePassword)
{
    EXPECT_EQ(loginFieldOf({Text("user"), Text("other"), Input("checkbox"), Password("pw")}, 3), 1u);
    EXPECT_EQ(loginFieldOf({Text("q"), Input("email", "mail"), Password("pw")}, 2), 1u);
    EXPECT_EQ(loginFieldOf({Text("q"), Input("tel", "phone"), Password("pw")}, 2), 1u);
    // A field after the password never counts.
    EXPECT_EQ(loginFieldOf({Text("user"), Password("pw"), Text("after")}, 1), 0u);
}

TEST(LoginFieldWalk, FallsBackToElementZeroWhateverItsType)
{
    EXPECT_EQ(loginFieldOf({Input("select-one", "realm"), Input("checkbox", "keep"), Password("pw")}, 2), 0u);
}

TEST(LoginFieldWalk, NeverTakesAHiddenInputOrThePasswordFieldItself)
{
    // CSRF token first, no typed field before the password: no login field at all.
    EXPECT_EQ(loginFieldOf({Hidden("csrf", "t0k"), Password("pw")}, 1), std::nullopt);
    // A hidden token between the user field and the password is walked over.
    EXPECT_EQ(loginFieldOf({Hidden("csrf"), Input("email", "mail"), Hidden("x"), Password("pw")}, 3), 1u);
    EXPECT_EQ(loginFieldOf({Password("pw"), Text("user")}, 0), std::nullopt);
    EXPECT_EQ(loginFieldOf({Password("pw")}, 5), std::nullopt);
}

TEST(PasswordField, IsAnInputOfTypePassword)
{
    EXPECT_TRUE(IsPasswordField(Password("pw")));
    DomElement upper = Password("pw");
    upper.Tagname = "input";
    upper.Type = "PASSWORD";
    EXPECT_TRUE(IsPasswordField(upper));
    EXPECT_FALSE(IsPasswordField(Button("password")));
    EXPECT_FALSE(IsPasswordField(Text("password")));
}

TEST(PageScan, RecordsTheFieldsAndTheFormFacts)
{
    const DocumentSnapshot page =
        Page("https://shop.example/login")
            .form({Text("user", "alice"), Password("pass", "s3cret"), Button("submit")},
                  {"/session", "login", "post"});

    const LoginCandidate found = ScanPage(page, FormFacts::Record);

    EXPECT_TRUE(found.passwordFound);
    EXPECT_EQ(found.loginName, "user");
    EXPECT_EQ(found.loginValue, "alice");
    EXPECT_EQ(found.passwordName, "pass");
    EXPECT_EQ(found.passwordValue, "s3cret");
    EXPECT_EQ(found.formAction, "/session");
    EXPECT_EQ(found.formName, "login");
    EXPECT_EQ(found.formMethod, "post");

    const LoginCandidate fieldsOnly = ScanPage(page, FormFacts::Skip);
    EXPECT_EQ(fieldsOnly.passwordValue, "s3cret");
    EXPECT_EQ(fieldsOnly.formAction, "");
}

TEST(PageScan, TheLastPasswordFieldOfTheDocumentWins)
{
    const DocumentSnapshot page =
        Page("https://a.example/")
            .form({Text("first", "one"), Password("p1", "x")}, {"/one", "f1", "get"})
            .form({Text("second", "two"), Password("p2", "y")}, {"/two", "f2", "post"});

    const LoginCandidate found = ScanPage(page, FormFacts::Record);

    EXPECT_EQ(found.loginName, "second");
    EXPECT_EQ(found.passwordName, "p2");
    EXPECT_EQ(found.formAction, "/two");
    EXPECT_EQ(found.formName, "f2");
}

// What the user signs in with is the login form's visible field: a later sign-up form and
// decoys nobody sees do not take its place, nor does a decoy become its login field.
TEST(PageScan, TheLoginFormWinsOverSignUpFormsAndDecoys)
{
    const DocumentSnapshot page =
        Page("https://a.example/")
            .form({Text("user", "alice"), Unseen(Text("trap", "bot")), Password("pw", "secret"),
                   Unseen(Password("trap2", "bot"))},
                  {"/in"})
            .form({Input("email", "new", "e"), Password("np", "a"), Password("again", "a")}, {"/join"})
            .form({Autocomplete(Password("choose", "b"), "new-password")}, {"/join2"});

    const LoginCandidate found = ScanPage(page, FormFacts::Record);

    EXPECT_EQ(found.formAction, "/in");
    EXPECT_EQ(found.passwordName, "pw");
    EXPECT_EQ(found.loginName, "user");
    EXPECT_EQ(found.loginValue, "alice");
}

TEST(PageScan, ALaterPasswordWithoutLoginFieldClearsTheEarlierLogin)
{
    const DocumentSnapshot tokenOnly = Page("https://a.example/")
                                           .form({Text("user", "alice"), Password("p1", "x")})
                                           .form({Hidden("t"), Password("p2")});
    const LoginCandidate found = ScanPage(tokenOnly, FormFacts::Skip);
    EXPECT_EQ(found.passwordName, "p2");
    EXPECT_EQ(found.loginName, "");
    EXPECT_EQ(found.loginValue, "");
}

TEST(PageScan, AnElementNamedLikeAFormPropertyYieldsTheAttribute)
{
    const DocumentSnapshot page =
        Page("https://a.example/")
            .form({Text("action"), Text("user"), Password("pw")},
                  {"[object]",
                   "[object]",
                   "[object]",
                   {{"action", "/do/login"}, {"name", "main"}, {"method", "POST"}}});

    const LoginCandidate found = ScanPage(page, FormFacts::Record);

    EXPECT_EQ(found.formAction, "/do/login");
    EXPECT_EQ(found.formName, "main");
    EXPECT_EQ(found.formMethod, "POST");
}

TEST(PageScan, HiddenPropertyWithoutAttributeReadsEmpty)
{
    const DocumentSnapshot page =
        Page("https://a.example/").form({Text("action"), Password("pw")}, {"[object]"});
    EXPECT_EQ(ScanPage(page, FormFacts::Record).formAction, "");
}

TEST(PageScan, APasswordInAReadableFrameOverridesTheDocument)
{
    const DocumentSnapshot inner =
        Page("https://a.example/frame", "", "f1")
            .form({Text("fuser", "inframe"), Password("fpw", "z")}, {"/frame-login"});
    const DocumentSnapshot page = Page("https://a.example/")
                                      .form({Text("user", "outer"), Password("pw", "y")}, {"/outer"})
                                      .frame(inner);

    const LoginCandidate found = ScanPage(page, FormFacts::Record);

    EXPECT_EQ(found.loginValue, "inframe");
    EXPECT_EQ(found.formAction, "/frame-login");
}

TEST(PageScan, AFrameFromAnotherOriginIsSkipped)
{
    const DocumentSnapshot inner =
        Page("https://other.example/", "", "f1").form({Text("u", "x"), Password("p", "y")});
    const DocumentSnapshot page =
        Page("https://a.example/").form({Text("user", "outer"), Password("pw", "y")}).frame(inner, false);

    EXPECT_EQ(ScanPage(page, FormFacts::Skip).loginValue, "outer");
}

TEST(PageScan, APageWithoutPasswordFieldFindsNothing)
{
    const DocumentSnapshot page =
        Page("https://a.example/").form({Text("q", "search")}).loose(Password("loose"));
    const LoginCandidate found = ScanPage(page, FormFacts::Record);
    EXPECT_FALSE(found.passwordFound);
    EXPECT_FALSE(CHECKFORPASSWORDFIELD(page));
}

TEST(CheckForPasswordField, LooksAtTheDocumentsFormsOnly)
{
    const DocumentSnapshot inner = Page("https://a.example/f", "", "f1").form({Password("p")});
    EXPECT_FALSE(CHECKFORPASSWORDFIELD(Page("https://a.example/").form({Text("q")}).frame(inner)));
    EXPECT_TRUE(CHECKFORPASSWORDFIELD(Page("https://a.example/").form({Text("q")}).form({Password("p")})));
}

TEST(PageScan, HundredsOfFormsWithoutNamesOrActions)
{
    Page page("https://a.example/");
    for (int i = 0; i < 500; ++i)
        page.form({Text("", "v" + std::to_string(i)), Password("", "p" + std::to_string(i))});
    const LoginCandidate found = ScanPage(page, FormFacts::Record);
    EXPECT_EQ(found.loginValue, "v499");
    EXPECT_EQ(found.passwordValue, "p499");
    EXPECT_EQ(found.formAction, "");
}

} // namespace
} // namespace kv::test
