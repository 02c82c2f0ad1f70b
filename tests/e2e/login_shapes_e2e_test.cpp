// Login pages as they are built today, saved and logged into in the real browser.
#include "browser/capture_texts.h"
#include "browser/save_site_dialog.h"
#include "e2e/browser_logic_fixture.h"

#include <map>

namespace kv::test {
namespace {

// The page keeps the values in its own script state, fed only by input events, and sends
// them from its submit handler; its submit button has no name.
constexpr const char* kScriptStateLogin = R"HTML(<!doctype html><html><head><title>State</title></head><body>
<form id="f" action="/wrong" autocomplete="on">
  <input name="user"><input type="password" name="pass"><button>Sign in</button>
</form>
<script>
const state = {};
for (const field of document.querySelectorAll('#f input'))
  field.addEventListener('input', () => { state[field.name] = field.value; });
document.getElementById('f').addEventListener('submit', (e) => {
  e.preventDefault();
  const send = document.createElement('form');
  send.method = 'post'; send.action = '/session';
  for (const [name, value] of Object.entries(state)) {
    const input = document.createElement('input');
    input.type = 'hidden'; input.name = name; input.value = value;
    send.appendChild(input);
  }
  document.body.appendChild(send);
  send.submit();
});
</script></body></html>)HTML";

// The submit button is enabled only after both fields received input, a moment later.
constexpr const char* kDisabledUntilTyped =
    R"HTML(<!doctype html><html><head><title>Disabled</title></head><body>
<form action="/session" method="post">
  <input name="user"><input type="password" name="pass">
  <input type="submit" name="go" value="Go" disabled>
</form>
<script>
const form = document.forms[0];
form.addEventListener('input', () => setTimeout(() => {
  form.go.disabled = !(form.user.value && form.pass.value);
}, 30));
</script></body></html>)HTML";

// Decoys for robots: an off-screen field right before the password, one hidden from
// assistive technology, and an invisible password field.
constexpr const char* kDecoyLogin = R"HTML(<!doctype html><html><head><title>Decoys</title></head><body>
<form action="/session" method="post">
  <input name="user" autocomplete="username">
  <input name="aria_trap" aria-hidden="true">
  <input name="website" tabindex="-1" style="position:absolute;left:-9999px">
  <input type="password" name="pass">
  <input type="password" name="pass_trap" style="width:0;height:0;border:0;padding:0">
  <input type="submit" name="go" value="Go">
</form></body></html>)HTML";

// A sign-up form after the login form.
constexpr const char* kLoginAndSignUp = R"HTML(<!doctype html><html><head><title>Both</title></head><body>
<form action="/session" method="post">
  <input name="user"><input type="password" name="pass" autocomplete="current-password">
  <input type="submit" name="go" value="Sign in">
</form>
<form action="/join" method="post">
  <input type="email" name="new_email"><input type="password" name="new_pass" autocomplete="new-password">
  <input type="password" name="new_again" autocomplete="new-password">
  <input type="submit" name="join" value="Create account">
</form></body></html>)HTML";

// The login field is not the field right before the password: a promotion code is.
constexpr const char* kNamedFieldsLogin = R"HTML(<!doctype html><html><head><title>Named</title></head><body>
<form action="/session" method="post">
  <input name="login_id"><input name="promo"><input type="password" name="secret">
  <input type="submit" name="go" value="Go">
</form></body></html>)HTML";

// The login name first; "Next" (a plain button) shows the password field on the same page.
constexpr const char* kNameThenPasswordOnOnePage =
    R"HTML(<!doctype html><html><head><title>One</title></head><body>
<form action="/session" method="post">
  <input name="user" autocomplete="username">
  <button type="button" name="next" onclick="setTimeout(() => { step2.hidden = false; this.hidden = true; }, 50)">Next</button>
  <div id="step2" hidden><input type="password" name="pass"><input type="submit" name="go" value="Sign in"></div>
</form></body></html>)HTML";

// The login name on one page, the password on the next, which carries the name hidden.
constexpr const char* kNamePage = R"HTML(<!doctype html><html><head><title>Name</title></head><body>
<form action="/identify" method="post">
  <input name="user" autocomplete="username"><input type="submit" name="next" value="Next">
</form></body></html>)HTML";
constexpr const char* kPasswordPage = R"HTML(<!doctype html><html><head><title>Password</title></head><body>
<form action="/session" method="post">
  <input type="hidden" name="user" value="alice"><input type="password" name="pass">
  <input type="submit" name="go" value="Sign in">
</form></body></html>)HTML";

// The page sends the login itself as JSON and then moves on; a request its script sends on
// its own after the load is no login.
constexpr const char* kScriptSentLogin = R"HTML(<!doctype html><html><head><title>Fetch</title></head><body>
<form id="f">
  <input name="user" autocomplete="username"><input type="password" name="pass"><button name="go">Sign in</button>
</form>
<script>
fetch('/api/hello', {method: 'POST', headers: {'Content-Type': 'application/json'}, body: '{"hello":1}'});
document.getElementById('f').addEventListener('submit', async (e) => {
  e.preventDefault();
  const form = e.target;
  await fetch('/api/session', {method: 'POST', headers: {'Content-Type': 'application/json'},
                               body: JSON.stringify({user: form.user.value, pass: form.pass.value})});
  location.href = '/home';
});
</script></body></html>)HTML";

// Fields outside any form; the button's script sends them.
constexpr const char* kLooseFields = R"HTML(<!doctype html><html><head><title>Loose</title></head><body>
<div><input name="user"><input type="password" name="pass"><button name="go" onclick="send()">Sign in</button></div>
<script>
function send() {
  const form = document.createElement('form');
  form.method = 'post'; form.action = '/session';
  for (const name of ['user', 'pass']) {
    const input = document.createElement('input');
    input.type = 'hidden'; input.name = name; input.value = document.querySelector('[name=' + name + ']').value;
    form.appendChild(input);
  }
  document.body.appendChild(form);
  form.submit();
}
</script></body></html>)HTML";

// The login form lives in the open shadow root of a custom element.
constexpr const char* kShadowLogin = R"HTML(<!doctype html><html><head><title>Shadow</title></head><body>
<login-box></login-box>
<script>
customElements.define('login-box', class extends HTMLElement {
  constructor() {
    super();
    this.attachShadow({mode: 'open'}).innerHTML =
      '<form action="/session" method="post"><input name="user"><input type="password" name="pass">' +
      '<input type="submit" name="go" value="Sign in"></form>';
  }
});
</script></body></html>)HTML";

class LoginShapesE2eTest : public BrowserLogicSuite {
protected:
    // Logs in with the site and returns the body the page posted to path.
    std::string loggedIn(const std::filesystem::path& site, const std::string& path = "/session")
    {
        const std::size_t before = server.count("POST", path);
        engine->LoginToSite(site);
        waitFor([&] { return server.count("POST", path) > before; }, "the login post");
        return server.lastBody("POST", path);
    }

    std::filesystem::path
    savedSite(const std::string& path,
              std::initializer_list<std::pair<std::string_view, std::string_view>> extra = {})
    {
        const auto site = profile.site(
            "Sites/Shape.QVR",
            {{SITEURL, server.url(path)}, {FORMLOGINVALUE, "alice"}, {FORMPASSVALUE, "shape-pw"}});
        for (const auto& [key, value] : extra)
            WriteSecureValue(kMainSection, key, value, site);
        return site;
    }

    // The site the user logs into next is saved as "Captured" in the folder Work.
    std::filesystem::path savedAsCaptured()
    {
        std::filesystem::create_directories(profile.root() / "Work");
        dialogs.answer(Dialogs::Answer::Yes);
        dialogs.onSaveSite([](SaveSiteDialog& form) {
            SitesTreeModel tree;
            form.loadFolders(tree);
            for (const auto& node : tree.nodes()) {
                if (node.text == "Work") {
                    ASSERT_TRUE(form.cmdSave("Captured", &node));
                }
            }
        });
        return profile.root() / "Work" / "Captured.QVR";
    }

    // The user types into the named fields and presses the named control; the site is saved
    // as savedAsCaptured() says.
    std::filesystem::path captured(const std::string& path, const std::map<std::string, std::string>& values,
                                   const std::string& control, const std::string& document = "document")
    {
        const auto site = savedAsCaptured();
        EventRecorder& events = testRecorder();
        auto browser = openPage(events, server.url(path), path);
        if (!browser)
            return {};
        for (const auto& [name, value] : values)
            EXPECT_TRUE(UserTypes(session(), *browser, ByName(name, document), value)) << name;
        EXPECT_TRUE(UserClicks(session(), *browser, ByName(control, document)));
        waitFor([&] { return host.treeReloads == 1; }, "the site to be saved");
        session().closeWindow(browser->hwnd());
        return site;
    }
};

TEST_F(LoginShapesE2eTest, APageKeepingTheValuesInItsScriptGetsThemAsTyped)
{
    server.page("/state", kScriptStateLogin);
    // The page sends its fields in the order they were typed into: the password first.
    EXPECT_EQ(loggedIn(savedSite("/state")), "pass=shape-pw&user=alice");
    // Never sent past the page's handler (a plain submit would send it by GET to /wrong).
    EXPECT_EQ(server.count("GET", "/wrong"), 0u);
}

TEST_F(LoginShapesE2eTest, AButtonEnabledByTypingIsPressedOnceEnabled)
{
    server.page("/disabled", kDisabledUntilTyped);
    EXPECT_EQ(loggedIn(savedSite("/disabled")), "user=alice&pass=shape-pw&go=Go");
}

TEST_F(LoginShapesE2eTest, DecoysAreNeitherSavedNorFilled)
{
    server.page("/decoys", kDecoyLogin);
    const auto site = captured("/decoys", {{"user", "bob"}, {"pass", "typed-pw"}}, "go");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "user");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "bob");
    EXPECT_EQ(SiteValue(site, FORMPASSNAME), "pass");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "typed-pw");

    EXPECT_EQ(loggedIn(site), "user=bob&aria_trap=&website=&pass=typed-pw&pass_trap=&go=Go");

    WriteSecureValue(kMainSection, VELOTRIP, "1", site);
    EXPECT_EQ(loggedIn(site), SiteValue(site, SITEPOSTDATA));
}

TEST_F(LoginShapesE2eTest, TheSignUpFormBesideTheLoginFormIsLeftAlone)
{
    server.page("/both", kLoginAndSignUp);
    const auto site = captured("/both", {{"user", "carol"}, {"pass", "login-pw"}}, "go");
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), "/session");
    EXPECT_EQ(SiteValue(site, FORMPASSNAME), "pass");

    EXPECT_EQ(loggedIn(site), "user=carol&pass=login-pw&go=Sign+in");
    EXPECT_EQ(server.count("POST", "/join"), 0u);
}

TEST_F(LoginShapesE2eTest, TheSavedFieldNamesAreFilled)
{
    server.page("/named", kNamedFieldsLogin);
    EXPECT_EQ(loggedIn(savedSite("/named", {{FORMLOGINNAME, "login_id"}, {FORMPASSNAME, "secret"}})),
              "login_id=alice&promo=&secret=shape-pw&go=Go");
}

TEST_F(LoginShapesE2eTest, ANameFirstPageShowingThePasswordAfterNextLogsIn)
{
    server.page("/one", kNameThenPasswordOnOnePage);
    EXPECT_EQ(loggedIn(savedSite("/one", {{FORMLOGINNAME, "user"}})), "user=alice&pass=shape-pw&go=Sign+in");
}

TEST_F(LoginShapesE2eTest, ANamePageThenAPasswordPageLogIn)
{
    server.page("/name", kNamePage);
    server.page("/identify", kPasswordPage);
    EXPECT_EQ(loggedIn(savedSite("/name", {{FORMLOGINNAME, "user"}})), "user=alice&pass=shape-pw&go=Sign+in");
    EXPECT_EQ(server.lastBody("POST", "/identify"), "user=alice&next=Next");
}

// The site starts on the name page: opening the password page alone would show no form.
TEST_F(LoginShapesE2eTest, ANamePageThenAPasswordPageAreSavedAsOneSiteFromTheNamePage)
{
    server.page("/name", kNamePage);
    server.page("/identify", kPasswordPage);
    const auto site = savedAsCaptured();
    EventRecorder& events = testRecorder();
    auto browser = openPage(events, server.url("/name"), "/name");
    ASSERT_TRUE(browser);
    ASSERT_TRUE(UserTypes(session(), *browser, ByName("user"), "alice"));
    ASSERT_TRUE(UserClicks(session(), *browser, ByName("next")));
    ASSERT_TRUE(waitFor([&] { return events.completed("/identify") != nullptr; }, "the password page"));
    ASSERT_TRUE(UserTypes(session(), *browser, ByName("pass"), "two-pw"));
    ASSERT_TRUE(UserClicks(session(), *browser, ByName("go")));
    waitFor([&] { return host.treeReloads == 1; }, "the site to be saved");

    EXPECT_EQ(SiteValue(site, SITEURL), server.url("/name"));
    EXPECT_EQ(SiteValue(site, SITETITLE), "Name");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "user");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "alice");
    EXPECT_EQ(SiteValue(site, FORMPASSNAME), "pass");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "two-pw");
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kSaveSiteQuestion)});

    EXPECT_EQ(loggedIn(site), "user=alice&pass=two-pw&go=Sign+in");
    EXPECT_EQ(server.lastBody("POST", "/identify"), "user=alice&next=Next");
    WriteSecureValue(kMainSection, VELOTRIP, "1", site);
    EXPECT_EQ(loggedIn(site), "user=alice&pass=two-pw&go=Sign+in");
}

TEST_F(LoginShapesE2eTest, ALoginSentByScriptIsSavedAndSentAgainAsItWas)
{
    server.page("/fetch", kScriptSentLogin);
    const auto site = captured("/fetch", {{"user", "heidi"}, {"pass", "json-pw"}}, "go");
    const std::string json = R"({"user":"heidi","pass":"json-pw"})";
    EXPECT_EQ(SiteValue(site, SITEURL), server.url("/fetch"));
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), server.url("/api/session"));
    EXPECT_EQ(SiteValue(site, SITEPOSTDATA), json);
    EXPECT_EQ(SiteValue(site, SITEPOSTTYPE), "application/json");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "heidi");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "json-pw");
    // Offered once: the request the page sent on its own was not the user's.
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kSaveSiteQuestion)});

    EXPECT_EQ(loggedIn(site, "/api/session"), json);
    WriteSecureValue(kMainSection, VELOTRIP, "1", site);
    EXPECT_EQ(loggedIn(site, "/api/session"), json);
    EXPECT_EQ(server.last("POST", "/api/session")->contentType, "application/json");
}

TEST_F(LoginShapesE2eTest, FieldsOutsideAnyFormAreSavedAndFilled)
{
    server.page("/loose", kLooseFields);
    const auto site = captured("/loose", {{"user", "dave"}, {"pass", "loose-pw"}}, "go");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "dave");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "loose-pw");
    // No form names an action: the login went where the page sent it.
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), server.url("/session"));

    EXPECT_EQ(loggedIn(site), "user=dave&pass=loose-pw");
    WriteSecureValue(kMainSection, VELOTRIP, "1", site);
    EXPECT_EQ(loggedIn(site), "user=dave&pass=loose-pw");
}

TEST_F(LoginShapesE2eTest, AFormInAShadowRootIsSavedAndFilled)
{
    server.page("/shadow", kShadowLogin);
    const auto site = captured("/shadow", {{"user", "erin"}, {"pass", "shadow-pw"}}, "go",
                               "document.querySelector('login-box').shadowRoot");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "erin");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "shadow-pw");

    EXPECT_EQ(loggedIn(site), "user=erin&pass=shadow-pw&go=Sign+in");
    WriteSecureValue(kMainSection, VELOTRIP, "1", site);
    EXPECT_EQ(loggedIn(site), "user=erin&pass=shadow-pw&go=Sign+in");
}

} // namespace
} // namespace kv::test
