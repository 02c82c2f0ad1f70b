// Saving a site from a login the user makes in the real browser.
#include "browser/blocked_sites.h"
#include "browser/capture_texts.h"
#include "browser/save_site_dialog.h"
#include "e2e/browser_logic_fixture.h"
#include "e2e/login_pages.h"
#include "support/parse_url.h"

#include <map>

namespace kv::test {
namespace {

// The page's own submit handler moves the typed values into hidden fields and empties the
// visible ones, as some sites do.
constexpr const char* kHidingLogin = R"HTML(<!doctype html><html><head><title>Hiding</title></head><body>
<form name="f" action="/session" method="post" onsubmit="
  this.h_user.value = this.user.value; this.h_pass.value = this.pass.value;
  this.user.value = ''; this.pass.value = '';">
  <input type="hidden" name="h_user"><input type="hidden" name="h_pass">
  <input type="text" name="user"><input type="password" name="pass">
  <input type="submit" name="go" value="Go">
</form></body></html>)HTML";

constexpr const char* kActionNamedLogin = R"HTML(<!doctype html><html><head><title>Named</title></head><body>
<form name="f" action="/session?via=form" method="post">
  <input type="hidden" name="action" value="login">
  <input type="text" name="user"><input type="password" name="pass">
  <input type="submit" name="go" value="Go">
</form></body></html>)HTML";

constexpr const char* kTwoLogins = R"HTML(<!doctype html><html><head><title>Two</title></head><body>
<form name="staff" action="/staff" method="post">
  <input name="staffid" value="s-1"><input type="password" name="staffpw" value="x">
</form>
<form name="members" action="/session" method="post">
  <input name="member"><input type="password" name="memberpw">
  <input type="submit" name="go" value="Go">
</form></body></html>)HTML";

// The login form lives in a frame of the same site; a frame of another origin beside it
// holds a password field the program cannot read.
constexpr const char* kFramedPage = R"HTML(<!doctype html><html><head><title>Framed</title></head><body>
<iframe name="inner" src="/inner"></iframe><iframe src="FOREIGN"></iframe></body></html>)HTML";
constexpr const char* kInnerLogin = R"HTML(<!doctype html><html><head><title>Inner</title></head><body>
<form name="fl" action="/session" method="post">
  <input name="who"><input type="password" name="pw"><input type="submit" name="go" value="Go">
</form></body></html>)HTML";
constexpr const char* kForeignLogin = R"HTML(<!doctype html><html><body>
<form action="/elsewhere"><input name="x"><input type="password" name="y"></form></body></html>)HTML";

// The page's own script fills and submits the form once it has loaded: nobody typed anything.
constexpr const char* kSelfSubmittingLogin =
    R"HTML(<!doctype html><html><head><title>Self</title></head><body>
<form action="/session" method="post">
  <input name="user" value="planted"><input type="password" name="pass" value="planted-pw">
  <input type="submit" name="go" value="Go">
</form>
<script>addEventListener('load', () => setTimeout(() => document.forms[0].requestSubmit(), 50));</script>
</body></html>)HTML";

// A page of one site showing another site's login form in a frame, laid out so that the
// user's clicks can be aimed at it.
constexpr const char* kHostOfForeignFrame = R"HTML(<!doctype html><html><head><title>Host</title></head><body>
<iframe src="FOREIGN" style="position:fixed;left:0;top:0;width:400px;height:300px;border:0"></iframe>
</body></html>)HTML";
constexpr const char* kFixedForeignLogin = R"HTML(<!doctype html><html><body style="margin:0">
<form action="/foreign-post" method="post">
  <input name="u" style="position:fixed;left:10px;top:10px;width:100px;height:20px">
  <input type="password" name="p" style="position:fixed;left:10px;top:40px;width:100px;height:20px">
  <input type="submit" name="go" value="Go" style="position:fixed;left:10px;top:70px;width:100px;height:20px">
</form></body></html>)HTML";

class CaptureE2eTest : public BrowserLogicSuite {
protected:
    // Types values into the named fields of the document (a script expression: the window's
    // own, or a frame's) as the user does, then presses the named control (or the last
    // submit button when none is named).
    void typeAndSubmit(Browser& browser, const std::map<std::string, std::string>& values,
                       const std::string& control, const std::string& document = "document")
    {
        for (const auto& [name, value] : values)
            ASSERT_TRUE(UserTypes(session(), browser, ByName(name, document), value)) << name;
        const std::string press =
            control.empty()
                ? "[..." + document + ".querySelectorAll('button:not([type]),button[type=submit]')].pop()"
                : ByName(control, document);
        ASSERT_TRUE(UserClicks(session(), browser, press)) << "no control " << control;
    }

    // Answers Yes and saves as name in the folder Work.
    void saveAs(const std::string& name)
    {
        std::filesystem::create_directories(profile.root() / "Work");
        dialogs.answer(Dialogs::Answer::Yes);
        dialogs.onSaveSite([name](SaveSiteDialog& form) {
            SitesTreeModel tree;
            form.loadFolders(tree);
            const SitesTreeNode* work = nullptr;
            for (const auto& node : tree.nodes())
                if (node.text == "Work")
                    work = &node;
            ASSERT_TRUE(work);
            ASSERT_TRUE(form.cmdSave(name, work));
        });
    }

    // Loads the page, logs in on it as the user would and waits until the site is saved.
    std::filesystem::path captureLogin(const std::string& path, const std::string& html,
                                       const std::map<std::string, std::string>& values,
                                       const std::string& control, const std::string& name)
    {
        server.page(path, html);
        saveAs(name);
        EventRecorder& events = testRecorder();
        auto browser = openPage(events, server.url(path), path);
        if (!browser)
            return {};
        typeAndSubmit(*browser, values, control);
        const auto site = profile.root() / "Work" / (name + ".QVR");
        waitFor([&] { return host.treeReloads == 1 && server.count("POST", "/session") == 1; },
                "the site to be saved");
        return site;
    }
};

TEST_F(CaptureE2eTest, APlainLoginIsSavedKeyByKey)
{
    const auto site =
        captureLogin("/login", kPlainLogin, {{"user", "alice"}, {"pass", "p@ss w0rd&more"}}, "go", "Plain");

    ASSERT_TRUE(std::filesystem::exists(site));
    const auto posted = server.last("POST", "/session");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->body, "user=alice&pass=p%40ss+w0rd%26more&go=Sign+in");
    EXPECT_EQ(SiteValue(site, SITEFRIENDLYNAME), "Plain");
    EXPECT_EQ(SiteValue(site, SITETITLE), "Plain login");
    EXPECT_EQ(SiteValue(site, SITEURL), server.url("/login"));
    EXPECT_EQ(SiteValue(site, SITEDOMAIN), ParseUrl(server.url("/login"), "domain"));
    EXPECT_EQ(SiteValue(site, FORMNAME), "signin");
    EXPECT_EQ(SiteValue(site, FORMMETHOD), "post");
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), "/session");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "user");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "alice");
    EXPECT_EQ(SiteValue(site, FORMPASSNAME), "pass");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "p@ss w0rd&more");
    EXPECT_EQ(SiteValue(site, VELOTRIP), "0");
    EXPECT_EQ(SiteValue(site, SITEPOSTDATA), posted->body);
    EXPECT_EQ(SiteValue(site, AUTOLOGSTATUS), "Yes");
    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kSaveSiteQuestion)});
    EXPECT_EQ(log.lines(), std::vector<std::string>{std::string(kSavingSiteLog) + server.url("/session")});
}

TEST_F(CaptureE2eTest, ATokenAnEmailFieldAndAButtonAreSavedAsTheLogin)
{
    const auto site = captureLogin("/modern", kModernLogin,
                                   {{"email", "alice@example.org"}, {"password", "hunter2"}}, "", "Modern");

    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "email");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "alice@example.org");
    EXPECT_EQ(SiteValue(site, FORMPASSNAME), "password");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "hunter2");
    EXPECT_EQ(SiteValue(site, SITEPOSTDATA), "csrf=t0k3n&email=alice%40example.org&password=hunter2");
}

TEST_F(CaptureE2eTest, ValuesThePageMovedIntoHiddenFieldsAreSavedAsTyped)
{
    const auto site =
        captureLogin("/hiding", kHidingLogin, {{"user", "bob"}, {"pass", "typed secret"}}, "go", "Hiding");

    EXPECT_EQ(server.lastBody("POST", "/session"), "h_user=bob&h_pass=typed+secret&user=&pass=&go=Go");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "bob");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "typed secret");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(CaptureE2eTest, AnElementNamedActionDoesNotHideTheFormsAction)
{
    const auto site =
        captureLogin("/named", kActionNamedLogin, {{"user", "carol"}, {"pass", "pw"}}, "go", "Named");
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), "/session?via=form");
}

TEST_F(CaptureE2eTest, ABlockedAddressIsNotOffered)
{
    server.page("/login", kPlainLogin);
    BlockedSites(profile.file()).add(server.url("/session"));
    EventRecorder events;
    auto browser = openPage(events, server.url("/login"), "/login");
    ASSERT_TRUE(browser);

    typeAndSubmit(*browser, {{"user", "a"}, {"pass", "b"}}, "go");
    // The sink has seen the submission once the answer page completed after it.
    waitFor([&] { return events.completed("/session") != nullptr; }, "the answer page");

    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(CaptureE2eTest, AKnownSiteIsLoggedInsteadOfOffered)
{
    server.page("/login", kPlainLogin);
    profile.site("Known.QVR", {{SITEURL, server.url("/login")}});
    EventRecorder events;
    auto browser = openPage(events, server.url("/login"), "/login");
    ASSERT_TRUE(browser);

    typeAndSubmit(*browser, {{"user", "a"}, {"pass", "b"}}, "go");
    waitFor([&] { return !log.lines().empty(); }, "the log line");

    EXPECT_EQ(log.lines(), std::vector<std::string>{std::string(kSiteKnownLog) + server.url("/session")});
    EXPECT_TRUE(dialogs.asked().empty());
}

TEST_F(CaptureE2eTest, OfTwoLoginFormsTheLaterOneIsSaved)
{
    const auto site =
        captureLogin("/two", kTwoLogins, {{"member", "gina"}, {"memberpw", "member-pw"}}, "go", "Two");

    EXPECT_EQ(SiteValue(site, FORMNAME), "members");
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), "/session");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "member");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "gina");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "member-pw");
}

TEST_F(CaptureE2eTest, ALoginInASameOriginFrameIsSavedWithTheWindowsAddress)
{
    std::string framed = kFramedPage;
    framed.replace(framed.find("FOREIGN"), 7, server.url("/foreign", "localhost"));
    server.page("/framed", framed);
    server.page("/inner", kInnerLogin);
    server.page("/foreign", kForeignLogin);
    saveAs("Framed");
    EventRecorder events;
    auto browser = openPage(events, server.url("/framed"), "/framed");
    ASSERT_TRUE(browser);
    waitFor([&] { return server.count("GET", "/inner") == 1 && server.count("GET", "/foreign") == 1; },
            "both frames");
    waitFor([&] { return events.frameCompleted("/inner") != nullptr; }, "the inner frame");

    typeAndSubmit(*browser, {{"who", "hank"}, {"pw", "frame-pw"}}, "go",
                  "document.querySelector('iframe[name=inner]').contentDocument");
    waitFor([&] { return host.treeReloads == 1; }, "the site to be saved");

    const auto site = profile.root() / "Work" / "Framed.QVR";
    EXPECT_EQ(SiteValue(site, SITEURL), server.url("/framed"));
    EXPECT_EQ(SiteValue(site, SITETITLE), "Framed");
    EXPECT_EQ(SiteValue(site, FORMNAME), "fl");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "hank");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "frame-pw");
}

TEST_F(CaptureE2eTest, AFormThePagesScriptSubmitsIsNotOffered)
{
    server.page("/self", kSelfSubmittingLogin);
    EventRecorder events;
    ASSERT_TRUE(openPage(events, server.url("/self"), "/self"));
    waitFor([&] { return events.completed("/session") != nullptr; }, "the script's post to be answered");

    EXPECT_EQ(server.lastBody("POST", "/session"), "user=planted&pass=planted-pw");
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_TRUE(log.lines().empty());
}

// The login belongs to the framed site, not to the page around it: saving it under the
// page's address would later send it there.
TEST_F(CaptureE2eTest, ALoginTypedIntoAFrameOfAnotherSiteIsNotOffered)
{
    std::string host = kHostOfForeignFrame;
    host.replace(host.find("FOREIGN"), 7, server.url("/foreign", "localhost"));
    server.page("/host", host);
    server.page("/foreign", kFixedForeignLogin);
    EventRecorder events;
    auto browser = openPage(events, server.url("/host"), "/host");
    ASSERT_TRUE(browser);
    const auto framed = [&]() -> const DocumentCompleteEvent* {
        for (const auto& complete : events.completes)
            if (!complete.pDisp.topLevel && EndsWith(complete.url, "/foreign"))
                return &complete;
        return nullptr;
    };
    ASSERT_TRUE(waitFor([&] { return framed() != nullptr; }, "the foreign frame"));
    // The frame draws apart from its page: clicks reach it only once it has drawn, and the
    // page around it after that.
    const std::string frame = framed()->pDisp.frameId;
    ASSERT_TRUE(Drawn(session(), frame));

    ASSERT_TRUE(UserClicksAt(session(), *browser, 60, 20));
    ASSERT_EQ(FocusedName(session(), frame), "u");
    ASSERT_TRUE(UserTypesHere(session(), *browser, "frank"));
    ASSERT_TRUE(UserClicksAt(session(), *browser, 60, 50));
    ASSERT_EQ(FocusedName(session(), frame), "p");
    ASSERT_TRUE(UserTypesHere(session(), *browser, "framed-pw"));
    ASSERT_TRUE(UserClicksAt(session(), *browser, 60, 80));
    waitFor([&] { return events.frameCompleted("/foreign-post") != nullptr; }, "the frame's answer");

    EXPECT_EQ(server.lastBody("POST", "/foreign-post"), "u=frank&p=framed-pw&go=Go");
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_TRUE(log.lines().empty());
}

} // namespace
} // namespace kv::test
