// Logging into saved sites in the real browser: fill-and-submit and direct post.
#include "e2e/browser_logic_fixture.h"
#include "e2e/login_pages.h"

#include <csignal>
#include <poll.h>

namespace kv::test {
namespace {

// The form is built by the page's script a while after the load event.
constexpr const char* kScriptBuiltLogin = R"HTML(<!doctype html><html><head><title>Later</title></head><body>
<div id="app">loading...</div>
<script>
window.addEventListener('load', () => setTimeout(() => {
  document.getElementById('app').innerHTML =
    '<form action="/session" method="post"><input name="login"><input type="password" name="secret">' +
    '<input type="submit" name="enter" value="Enter"></form>';
}, 400));
</script></body></html>)HTML";

constexpr const char* kImageLogin = R"HTML(<!doctype html><html><head><title>Image</title></head><body>
<form action="/session" method="post">
  <input type="submit" name="search" value="Search">
  <input name="user"><input type="password" name="pass">
  <input type="image" name="img" alt="log in" src="/nothing.png">
</form></body></html>)HTML";

constexpr const char* kScriptLinkLogin = R"HTML(<!doctype html><html><head><title>Link</title></head><body>
<form name="f" action="/session" method="post">
  <input name="user"><input type="password" name="pass">
</form>
<a href="javascript:document.forms.f.submit()">Log in</a>
</body></html>)HTML";

constexpr const char* kUnnamedSubmitLogin =
    R"HTML(<!doctype html><html><head><title>Unnamed</title></head><body>
<form action="/session" method="post" onsubmit="document.title = 'handler ran'">
  <input name="user"><input type="password" name="pass"><input type="submit" value="Log in">
</form></body></html>)HTML";

constexpr const char* kFramedPage = R"HTML(<!doctype html><html><head><title>Framed</title></head><body>
<iframe src="/inner"></iframe></body></html>)HTML";
constexpr const char* kInnerLogin = R"HTML(<!doctype html><html><head><title>Inner</title></head><body>
<form action="/session" method="post">
  <input name="who"><input type="password" name="pw"><input type="submit" name="go" value="Go">
</form></body></html>)HTML";

// Its submit handler turns the password field into a hidden one, as pages that show a
// spinner instead of the form do; after the login, the site asks for the password again
// before it deletes the account.
constexpr const char* kFieldHidingLogin = R"HTML(<!doctype html><html><head><title>Hiding</title></head><body>
<form action="/session" method="post" onsubmit="this.pass.type = 'hidden'">
  <input name="user"><input type="password" name="pass"><input type="submit" name="go" value="Sign in">
</form></body></html>)HTML";
constexpr const char* kConfirmWithPassword =
    R"HTML(<!doctype html><html><head><title>Delete</title></head><body>
<form action="/delete-account" method="post">
  <p>Confirm with your password to delete your account.</p>
  <input type="password" name="confirm"><input type="submit" name="delete" value="Delete">
</form></body></html>)HTML";

class LoginE2eTest : public BrowserLogicSuite {
protected:
    std::filesystem::path savedSite(const std::string& page, const std::string& login,
                                    const std::string& password)
    {
        return profile.site(
            "Sites/Saved.QVR",
            {{SITEURL, server.url(page)}, {FORMLOGINVALUE, login}, {FORMPASSVALUE, password}});
    }

    // Logs in and waits until the form's post has arrived and the login was counted.
    void logInAndWaitForThePost(const std::filesystem::path& site)
    {
        engine->LoginToSite(site);
        ASSERT_EQ(pending.Count(), 1u);
        waitFor(
            [&] {
                return server.count("POST", "/session") == 1 &&
                       SiteValue(site, SUCCESS, kStatsSection) == "1";
            },
            "the login post");
    }

    // Serves the page, logs in with a site saved for it and returns the body the form posted.
    std::string postedLogin(const std::string& path, const std::string& html, const std::string& login,
                            const std::string& password)
    {
        server.page(path, html);
        logInAndWaitForThePost(savedSite(path, login, password));
        return server.lastBody("POST", "/session");
    }
};

TEST_F(LoginE2eTest, ASavedSiteLogsInWithItsOwnLoginAndPassword)
{
    server.page("/login", kPlainLogin);
    const auto site = savedSite("/login", "alice", "p@ss w0rd&more");

    logInAndWaitForThePost(site);

    EXPECT_EQ(server.lastBody("POST", "/session"), "user=alice&pass=p%40ss+w0rd%26more&go=Sign+in");
    EXPECT_EQ(log.lines(), std::vector<std::string>{site.string()});
    waitFor([&] { return pending.Count() == 0; }, "the submission to end the pending login");
    EXPECT_TRUE(dialogs.asked().empty());
}

TEST_F(LoginE2eTest, TheSuccessCounterRisesWithEveryLogin)
{
    server.page("/login", kPlainLogin);
    const auto site = savedSite("/login", "alice", "pw");
    WriteSecureValue(kStatsSection, SUCCESS, "41", site);

    engine->LoginToSite(site);
    waitFor(
        [&] {
            return server.count("POST", "/session") == 1 && SiteValue(site, SUCCESS, kStatsSection) == "42";
        },
        "the counted login");
}

TEST_F(LoginE2eTest, ATokenAnEmailFieldAndAButtonLogIn)
{
    EXPECT_EQ(postedLogin("/modern", kModernLogin, "alice@example.org", "hunter2"),
              "csrf=t0k3n&email=alice%40example.org&password=hunter2");
}

TEST_F(LoginE2eTest, AFormBuiltAfterTheLoadIsFilledWhenItAppears)
{
    EXPECT_EQ(postedLogin("/later", kScriptBuiltLogin, "dave", "later-pw"),
              "login=dave&secret=later-pw&enter=Enter");
}

TEST_F(LoginE2eTest, AnUnnamedSubmitInputSubmitsTheFormItself)
{
    // The form's own submit sends no value for the button.
    EXPECT_EQ(postedLogin("/unnamed", kUnnamedSubmitLogin, "ivy", "unnamed-pw"), "user=ivy&pass=unnamed-pw");
}

TEST_F(LoginE2eTest, ALoginFormInAFrameIsFilledWhenTheFrameCompletes)
{
    server.page("/inner", kInnerLogin);
    EXPECT_EQ(postedLogin("/framed", kFramedPage, "judy", "frame-pw"), "who=judy&pw=frame-pw&go=Go");
}

TEST_F(LoginE2eTest, AnImageButtonAfterThePasswordIsPressed)
{
    const auto body = postedLogin("/image", kImageLogin, "erin", "img-pw");
    EXPECT_EQ(body.rfind("search=", 0), std::string::npos);
    EXPECT_EQ(body.rfind("user=erin&pass=img-pw&img.x=", 0), 0u);
}

TEST_F(LoginE2eTest, AScriptLinkIsTheLastResort)
{
    EXPECT_EQ(postedLogin("/link", kScriptLinkLogin, "frank", "link-pw"), "user=frank&pass=link-pw");
}

TEST_F(LoginE2eTest, APageOfAnotherOriginIsNotFilled)
{
    // The saved page now redirects to the same server under another host name.
    server.redirect("/start", server.url("/login", "localhost"));
    server.page("/login", kPlainLogin);
    const auto site = savedSite("/start", "alice", "never-sent");

    engine->LoginToSite(site);
    EventRecorder events;
    auto browser = engineWindow(events);
    ASSERT_TRUE(browser);
    waitFor([&] { return events.completed("/login") != nullptr; }, "the foreign login page");

    const auto page = browser->Document();
    ASSERT_TRUE(page);
    for (const auto& form : page->Forms)
        for (const auto& field : form.elements)
            EXPECT_EQ(field.Value.find("never-sent"), std::string::npos) << field.Name;
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");
    EXPECT_EQ(server.count("POST", "/session"), 0u);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(LoginE2eTest, ADirectPostSendsExactlyTheSavedBody)
{
    const std::string body = "user=bob&pass=x%26y+z&raw=%00%FF";
    const auto site = profile.site("Direct.QVR", {{SITEURL, server.url("/login")},
                                                  {FORMACTIONURL, "/session"},
                                                  {SITEPOSTDATA, body},
                                                  {VELOTRIP, "1"}});

    engine->LoginToSite(site);
    waitFor([&] { return server.count("POST", "/session") == 1; }, "the direct post");

    const auto posted = server.last("POST", "/session");
    EXPECT_EQ(posted->body, body);
    EXPECT_EQ(posted->contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(server.count("GET", "/login"), 0u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "1");
    EXPECT_EQ(pending.Count(), 0u);
}

// The password of the login must not be sent to a later password form of the same site.
TEST_F(LoginE2eTest, ALaterPasswordFormOfTheSiteIsNotFilled)
{
    server.page("/login", kFieldHidingLogin);
    server.page("/confirm", kConfirmWithPassword);
    const auto site = savedSite("/login", "alice", "account-pw");
    logInAndWaitForThePost(site);
    EventRecorder events;
    auto browser = engineWindow(events);
    ASSERT_TRUE(browser);

    browser->Navigate(server.url("/confirm"));
    waitFor([&] { return events.completed("/confirm") != nullptr; }, "the confirmation page");

    const auto page = browser->Document();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->Forms.at(0).elements.at(0).Value, "");
    EXPECT_EQ(server.count("POST", "/delete-account"), 0u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "1");
}

// The browser ended a moment ago and nothing has been read from it since: the program still
// takes it for alive. The login must go to a new browser, not vanish.
TEST_F(LoginE2eTest, ALoginJustAfterTheBrowserEndedOpensInANewOne)
{
    server.page("/login", kPlainLogin);
    const auto site = savedSite("/login", "alice", "pw-after-restart");
    const pid_t first = session().processId();
    ASSERT_GT(first, 0);
    ASSERT_EQ(kill(first, SIGKILL), 0);
    // Its end of the pipe is closed once it is gone; nothing is read from it here.
    pollfd hangUp{session().readFd(), 0, 0};
    ASSERT_EQ(poll(&hangUp, 1, 20000), 1) << "the browser did not end";
    ASSERT_TRUE(hangUp.revents & POLLHUP);

    logInAndWaitForThePost(site);

    EXPECT_NE(session().processId(), first);
    EXPECT_EQ(server.lastBody("POST", "/session"), "user=alice&pass=pw-after-restart&go=Sign+in");
    EXPECT_TRUE(dialogs.messages().empty());
}

} // namespace
} // namespace kv::test
