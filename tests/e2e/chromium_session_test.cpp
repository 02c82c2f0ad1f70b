// The Chromium back-end against a real headless browser and a local web server.
#include <algorithm>
#include <csignal>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sqlite3.h>
#include <sys/stat.h>

#include "e2e/chromium_fixture.h"
#include "e2e/local_server.h"
#include "e2e/user_input.h"

namespace kv::test {
namespace {

const DomElement* Named(const std::vector<DomElement>& elements, const std::string& name)
{
    const auto it =
        std::find_if(elements.begin(), elements.end(), [&](const auto& e) { return e.Name == name; });
    return it == elements.end() ? nullptr : &*it;
}

const DomElement* Password(const DocumentSnapshot& doc)
{
    for (const auto& form : doc.Forms)
        for (const auto& e : form.elements)
            if (e.Type == "password")
                return &e;
    return nullptr;
}

constexpr const char* kLoginPage = R"HTML(<!doctype html><html><head><title>Sign in</title></head><body>
<form id="search" action="/search" method="get"><input name="q"></form>
<form name="login" action="/session" method="post">
  <input type="hidden" name="csrf" value="t0k3n">
  <input type="email" name="user">
  <input type="password" name="pass">
  <button type="button">show</button>
  <button>Sign in</button>
</form>
<a href="javascript:void(0)">help</a>
</body></html>)HTML";

class ChromiumSessionTest : public ChromiumSuite {
protected:
    LocalServer server;
};

TEST_F(ChromiumSessionTest, WindowsJoinAndLeaveTheList)
{
    WindowListRecorder list;
    session().subscribe(list);
    EventRecorder events;
    auto browser = openWindow(events);
    ASSERT_TRUE(browser);
    waitFor([&] { return list.registered >= 1; }, "WindowRegistered");
    const auto windows = session().windows();
    EXPECT_TRUE(std::any_of(windows.begin(), windows.end(),
                            [&](const auto& w) { return w->hwnd() == browser->hwnd(); }));

    ASSERT_TRUE(session().closeWindow(browser->hwnd()));
    const int revokedBefore = list.revoked;
    waitFor(
        [&] {
            const auto after = session().windows();
            return list.revoked > revokedBefore &&
                   std::none_of(after.begin(), after.end(),
                                [&](const auto& w) { return w->hwnd() == browser->hwnd(); });
        },
        "WindowRevoked and the window gone from the list");
    session().unsubscribe(list);
}

TEST_F(ChromiumSessionTest, CompletedLoginPageIsReadAsForms)
{
    server.page("/login", kLoginPage);
    EventRecorder events;
    auto browser = openPage(events, server.url("/login"), "/login");
    ASSERT_TRUE(browser);
    const auto* done = events.completed("/login");
    ASSERT_TRUE(done->pDisp.document);
    const DocumentSnapshot& doc = *done->pDisp.document;
    EXPECT_EQ(doc.title, "Sign in");
    EXPECT_EQ(browser->LocationURL(), server.url("/login"));
    EXPECT_EQ(browser->LocationName(), "Sign in");
    EXPECT_EQ(browser->readyState(), ReadyState::Complete);
    ASSERT_EQ(doc.Forms.size(), 2u);
    const DomForm& login = doc.Forms[1];
    EXPECT_EQ(login.Action, "/session");
    EXPECT_EQ(login.Name, "login");
    EXPECT_EQ(login.method, "post");
    ASSERT_EQ(login.elements.size(), 5u);
    EXPECT_EQ(login.elements[0].Type, "hidden");
    EXPECT_EQ(login.elements[0].Value, "t0k3n");
    EXPECT_EQ(login.elements[1].Type, "email");
    EXPECT_EQ(login.elements[2].Type, "password");
    EXPECT_EQ(login.elements[2].Tagname, "INPUT");
    EXPECT_EQ(login.elements[3].Type, "button");
    EXPECT_EQ(login.elements[4].Type, "submit");
    EXPECT_EQ(login.elements[4].Tagname, "BUTTON");
    EXPECT_EQ(login.elements[2].formIndex, 1);

    const auto inputs = doc.tags({"INPUT", "BUTTON"});
    ASSERT_EQ(inputs.size(), 6u);
    EXPECT_EQ(inputs[0]->Name, "q");
    EXPECT_EQ(inputs[5]->Type, "submit");
    const auto links = doc.tags({"A"});
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0]->Href, "javascript:void(0)");
}

TEST_F(ChromiumSessionTest, HiddenFormPropertiesAndFramesFollowTheOriginRule)
{
    server.page("/framed", R"HTML(<!doctype html><body>
<form action="/act" name="nm" method="post"><input name="action" value="x"><input name="user">
<input type="password" name="pw"></form>
<iframe src="/inner"></iframe>
<iframe src=")HTML" + server.url("/inner", "localhost") +
                               R"HTML("></iframe></body>)HTML");
    server.page("/inner", R"HTML(<!doctype html><form action="/inner-post"><input name="u">
<input type="password" name="p"></form>)HTML");
    EventRecorder events;
    auto browser = openPage(events, server.url("/framed"), "/framed");
    ASSERT_TRUE(browser);
    const DocumentSnapshot& doc = *events.completed("/framed")->pDisp.document;
    ASSERT_EQ(doc.Forms.size(), 1u);
    EXPECT_EQ(doc.Forms[0].Action, "[object]");
    EXPECT_EQ(doc.Forms[0].Attributes("ACTION"), "/act");
    EXPECT_EQ(doc.Forms[0].Name, "nm");
    EXPECT_EQ(doc.Forms[0].method, "post");
    ASSERT_EQ(doc.frames.size(), 2u);
    ASSERT_TRUE(doc.frames[0].accessible);
    ASSERT_EQ(doc.frames[0].document.Forms.size(), 1u);
    EXPECT_EQ(doc.frames[0].document.Forms[0].Action, "/inner-post");
    EXPECT_TRUE(Password(doc.frames[0].document));
    EXPECT_FALSE(doc.frames[1].accessible);
    EXPECT_TRUE(doc.frames[1].document.Forms.empty());

    // Each frame's own document completes too, readable by itself, reported as a frame.
    waitFor([&] { return events.completes.size() >= 3; }, "the frames' DocumentComplete");
    int frames = 0;
    for (const auto& e : events.completes)
        if (!e.pDisp.topLevel && e.url.find("/inner") != std::string::npos) {
            ++frames;
            ASSERT_TRUE(e.pDisp.document);
            EXPECT_TRUE(Password(*e.pDisp.document)) << e.url;
        }
    EXPECT_EQ(frames, 2);
}

TEST_F(ChromiumSessionTest, FilledFormPostsAndEveryStageIsReported)
{
    server.page("/login", kLoginPage);
    EventRecorder events;
    auto browser = openPage(events, server.url("/login"), "/login");
    ASSERT_TRUE(browser);
    const DomForm form = events.completed("/login")->pDisp.document->Forms[1];
    ASSERT_TRUE(browser->setValue(Named(form.elements, "user")->ref, "alice@example.com"));
    ASSERT_TRUE(browser->setValue(Named(form.elements, "pass")->ref, "s3cr&t pass"));
    const auto fresh = browser->Document();
    ASSERT_TRUE(fresh);
    EXPECT_EQ(Named(fresh->Forms[1].elements, "user")->Value, "alice@example.com");

    ASSERT_TRUE(UserClicks(session(), *browser, "document.forms[1].elements[4]"));
    waitFor([&] { return server.count("POST", "/session") == 1 && events.navigatedTo("/session"); },
            "the post");
    const std::string body = "csrf=t0k3n&user=alice%40example.com&pass=s3cr%26t+pass";
    EXPECT_EQ(server.lastBody("POST", "/session"), body);

    ASSERT_EQ(events.downloads.size(), 1u);
    ASSERT_TRUE(events.downloads[0].typed);
    EXPECT_EQ(Password(*events.downloads[0].typed)->Value, "s3cr&t pass");
    ASSERT_TRUE(events.navigatedTo("/session"));
    const BeforeNavigateEvent& nav = *events.navigatedTo("/session");
    EXPECT_EQ(nav.url, server.url("/session"));
    EXPECT_EQ(nav.method, "POST");
    EXPECT_EQ(nav.PostData, body);
    EXPECT_TRUE(nav.byUser);
    EXPECT_TRUE(nav.pDisp.topLevel);
    EXPECT_EQ(nav.pDisp.readyState, ReadyState::Complete);
    ASSERT_TRUE(nav.pDisp.document);
    EXPECT_EQ(Password(*nav.pDisp.document)->Value, "s3cr&t pass");
    EXPECT_EQ(events.order,
              (std::vector<std::string>{"BeforeNavigate2", "DownloadBegin", "BeforeNavigate2"}));
}

TEST_F(ChromiumSessionTest, SubmitSnapshotsShowTypedValuesAndWhatHandlersLeft)
{
    server.page("/moving", R"HTML(<!doctype html><body>
<form action="/moved" method="post" onsubmit="document.getElementById('h').value = this.u.value + ':' + this.p.value;
  this.u.value = ''; this.p.value = '';">
<input name="u"><input type="password" name="p"><input type="hidden" name="h" id="h">
<input type="submit" value="Go"></form></body>)HTML");
    EventRecorder events;
    auto browser = openPage(events, server.url("/moving"), "/moving");
    ASSERT_TRUE(browser);
    const DomForm form = events.completed("/moving")->pDisp.document->Forms[0];
    ASSERT_TRUE(browser->setValue(form.elements[0].ref, "bob"));
    ASSERT_TRUE(browser->setValue(form.elements[1].ref, "pw1"));
    ASSERT_TRUE(UserClicks(session(), *browser, "document.forms[0].elements[3]"));
    waitFor([&] { return server.count("POST", "/moved") == 1; }, "the post");
    EXPECT_EQ(server.lastBody("POST", "/moved"), "u=&p=&h=bob%3Apw1");

    ASSERT_EQ(events.downloads.size(), 1u);
    const DownloadBeginEvent& download = events.downloads[0];
    ASSERT_TRUE(download.typed && download.afterHandlers);
    EXPECT_EQ(Named(download.typed->Forms[0].elements, "u")->Value, "bob");
    EXPECT_EQ(Named(download.typed->Forms[0].elements, "p")->Value, "pw1");
    EXPECT_EQ(Named(download.afterHandlers->Forms[0].elements, "p")->Value, "");
    EXPECT_EQ(Named(download.afterHandlers->Forms[0].elements, "h")->Value, "bob:pw1");
}

TEST_F(ChromiumSessionTest, ScriptSubmitWithoutSubmitEventStillReportsTheTypedValues)
{
    server.page("/scripted", R"HTML(<!doctype html><body>
<form action="/scripted-post" method="post"><input name="u"><input type="password" name="p">
<input type="hidden" name="blob"><input type="button" value="Log in" onclick="
  this.form.blob.value = btoa(this.form.u.value + ':' + this.form.p.value);
  this.form.u.value = ''; this.form.p.value = ''; this.form.submit();"></form></body>)HTML");
    EventRecorder events;
    auto browser = openPage(events, server.url("/scripted"), "/scripted");
    ASSERT_TRUE(browser);
    const DomForm form = events.completed("/scripted")->pDisp.document->Forms[0];
    ASSERT_TRUE(browser->setValue(form.elements[0].ref, "carol"));
    ASSERT_TRUE(browser->setValue(form.elements[1].ref, "pw2"));
    ASSERT_TRUE(UserClicks(session(), *browser, "document.forms[0].elements[3]"));
    waitFor([&] { return events.navigatedTo("/scripted-post") != nullptr; }, "the scripted post");
    ASSERT_EQ(events.downloads.size(), 1u);
    ASSERT_TRUE(events.downloads[0].typed);
    EXPECT_EQ(Password(*events.downloads[0].typed)->Value, "pw2");
    EXPECT_EQ(events.navigatedTo("/scripted-post")->PostData, "u=&p=&blob=Y2Fyb2w6cHcy");
}

// A page's script can click and submit as it likes, and the program presses controls
// itself: neither is the user's submission.
TEST_F(ChromiumSessionTest, SubmitsOfThePagesScriptOrOfTheProgramAreNotTheUsers)
{
    server.page("/forged", R"HTML(<!doctype html><body>
<form action="/forged-post" method="post"><input name="u" value="planted"><input type="password" name="p" value="x">
<input type="submit" name="go" value="Go"></form>
<script>addEventListener('load', () => setTimeout(() =>
  document.querySelector('[name=go]').dispatchEvent(new MouseEvent('click', {bubbles: true})), 50));</script>
</body>)HTML");
    server.page("/login", kLoginPage);
    EventRecorder forged;
    ASSERT_TRUE(openPage(forged, server.url("/forged"), "/forged"));
    waitFor([&] { return forged.navigatedTo("/forged-post") != nullptr; }, "the forged post");
    EXPECT_FALSE(forged.navigatedTo("/forged-post")->byUser);

    EventRecorder program;
    auto browser = openPage(program, server.url("/login"), "/login");
    ASSERT_TRUE(browser);
    ASSERT_TRUE(browser->click(program.completed("/login")->pDisp.document->Forms[1].elements[4].ref));
    waitFor([&] { return program.navigatedTo("/session") != nullptr; }, "the program's post");
    EXPECT_FALSE(program.navigatedTo("/session")->byUser);

    EXPECT_TRUE(forged.downloads.empty());
    EXPECT_TRUE(program.downloads.empty());
}

// A page must not flood the program through the values it shows: each is cut to 4 KiB of
// UTF-8, never inside a character.
TEST_F(ChromiumSessionTest, PageValuesAreCutToALimit)
{
    server.page("/huge", R"HTML(<!doctype html><body><form><input name="n" id="big">
<input type="password" name="p"></form>
<script>document.getElementById('big').value = 'é'.repeat(100000);
document.forms[0].setAttribute('data-x', 'y'.repeat(100000));</script></body>)HTML");
    EventRecorder events;
    ASSERT_TRUE(openPage(events, server.url("/huge"), "/huge"));
    const DomForm& form = events.completed("/huge")->pDisp.document->Forms.at(0);
    EXPECT_EQ(form.elements.at(0).Value, [] {
        std::string cut;
        for (int i = 0; i < 2048; ++i)
            cut += "\xc3\xa9";
        return cut;
    }());
    EXPECT_EQ(form.Attributes("data-x"), std::string(4096, 'y'));
}

TEST_F(ChromiumSessionTest, FormSubmitAndWritesInAFrameFromAnotherOrigin)
{
    server.page("/outer",
                "<!doctype html><iframe src=\"" + server.url("/foreign", "localhost") + "\"></iframe>");
    server.page("/foreign", R"HTML(<!doctype html><form action="/foreign-post" method="post">
<input name="u"><input type="password" name="p"></form>)HTML");
    EventRecorder events;
    auto browser = openPage(events, server.url("/outer"), "/outer");
    ASSERT_TRUE(browser);
    const auto frame = std::find_if(events.completes.begin(), events.completes.end(),
                                    [](const auto& e) { return EndsWith(e.url, "/foreign"); });
    ASSERT_NE(frame, events.completes.end());
    EXPECT_FALSE(frame->pDisp.topLevel);
    const DomForm form = frame->pDisp.document->Forms[0];
    ASSERT_TRUE(browser->setValue(form.elements[0].ref, "dave"));
    ASSERT_TRUE(browser->setValue(form.elements[1].ref, "pw3"));
    const auto fresh = browser->Document(frame->pDisp.frameId);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(Password(*fresh)->Value, "pw3");

    ASSERT_TRUE(browser->submit(form.ref));
    waitFor([&] { return server.count("POST", "/foreign-post") == 1; }, "the frame's post");
    EXPECT_EQ(server.lastBody("POST", "/foreign-post"), "u=dave&p=pw3");
    const auto foreignPost = server.last("POST", "/foreign-post");
    ASSERT_TRUE(foreignPost);
    EXPECT_EQ(foreignPost->host, "localhost:" + std::to_string(server.port()));
}

TEST_F(ChromiumSessionTest, NavigateWithPostDataSendsExactlyThoseBytes)
{
    EventRecorder events;
    auto browser = openWindow(events);
    ASSERT_TRUE(browser);
    std::string body = "user=a%40b&pass=x+y&raw=";
    body += {'\xff', '\0', '\x01'};
    ASSERT_TRUE(browser->Navigate(server.url("/direct"), body, ""));
    waitFor([&] { return server.count("POST", "/direct") == 1 && !events.navigations.empty(); },
            "the direct post");
    const auto received = server.last("POST", "/direct");
    EXPECT_EQ(received->body, body);
    EXPECT_EQ(received->contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(events.navigatedTo("/direct")->method, "POST");
    EXPECT_EQ(events.navigatedTo("/direct")->PostData, body);

    // A later plain navigation is a GET again.
    browser->Navigate(server.url("/after"));
    waitFor([&] { return server.count("GET", "/after") == 1; }, "the plain navigation");
    EXPECT_EQ(server.count("POST", "/after"), 0u);
}

TEST_F(ChromiumSessionTest, PageScriptsCannotSeeTheAgent)
{
    server.page("/probe", R"HTML(<!doctype html><title>x</title><body><form><input type="password"></form>
<script>
  const found = Object.getOwnPropertyNames(window).filter((n) => /^_*kv/i.test(n));
  document.title = 'probe:' + (found.join(',') || 'none') + ':' + typeof __kvAgent;
</script></body>)HTML");
    EventRecorder events;
    auto browser = openPage(events, server.url("/probe"), "/probe");
    ASSERT_TRUE(browser);
    EXPECT_EQ(events.completed("/probe")->pDisp.document->title, "probe:none:undefined");
}

TEST_F(ChromiumSessionTest, WatchReportsAPasswordFieldAddedAfterLoad)
{
    server.page("/late", R"HTML(<!doctype html><body><div id="slot"></div><script>
  addEventListener('load', () => setTimeout(() => {
    document.getElementById('slot').innerHTML =
      '<form action="/late-post"><input name="u"><input type="password" name="p"></form>';
  }, 300));
</script></body>)HTML");
    EventRecorder events;
    auto browser = openPage(events, server.url("/late"), "/late");
    ASSERT_TRUE(browser);
    EXPECT_FALSE(Password(*events.completed("/late")->pDisp.document));
    ASSERT_TRUE(browser->watchForPasswordField({}, std::chrono::seconds(10)));
    waitFor([&] { return !events.passwordFields.empty(); }, "PasswordFieldAppeared");
    ASSERT_TRUE(events.passwordFields[0].pDisp.document);
    EXPECT_TRUE(Password(*events.passwordFields[0].pDisp.document));
    EXPECT_TRUE(events.passwordFields[0].pDisp.topLevel);
}

TEST_F(ChromiumSessionTest, WindowStatesAreAccepted)
{
    EventRecorder events;
    auto browser = openWindow(events);
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->setWindowState(WindowState::Maximized));
    EXPECT_TRUE(browser->setWindowState(WindowState::Minimized));
    EXPECT_TRUE(browser->setWindowState(WindowState::Normal));
}

TEST_F(ChromiumSessionTest, WrittenPageBecomesTheDocument)
{
    EventRecorder events;
    auto browser = openWindow(events);
    ASSERT_TRUE(browser);
    ASSERT_TRUE(browser->write({}, "<html><head><title>Sites</title></head><body><form name=\"printed\">"
                                   "<input name=\"a\" value=\"1\"></form></body></html>"));
    const auto doc = browser->Document();
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->title, "Sites");
    ASSERT_EQ(doc->Forms.size(), 1u);
    EXPECT_EQ(doc->Forms[0].Name, "printed");
}

TEST_F(ChromiumSessionTest, WritesThroughAReplacedDocumentFail)
{
    server.page("/login", kLoginPage);
    EventRecorder events;
    auto browser = openPage(events, server.url("/login"), "/login");
    ASSERT_TRUE(browser);
    const NodeRef user = Named(events.completed("/login")->pDisp.document->Forms[1].elements, "user")->ref;
    browser->Navigate(server.url("/other"));
    waitFor([&] { return events.completed("/other") != nullptr; }, "the next page");
    EXPECT_FALSE(browser->setValue(user, "nobody"));
    EXPECT_FALSE(browser->click(user));
}

TEST_F(ChromiumSessionTest, AHugePageIsReadUpToALimitAndSaysSo)
{
    std::string html = "<!doctype html><body>";
    for (int i = 0; i < 400; ++i) {
        html += "<form action=\"/f" + std::to_string(i) + "\">";
        for (int k = 0; k < 15; ++k)
            html += "<input name=\"i" + std::to_string(k) + "\">";
        html += "</form>";
    }
    server.page("/huge", html + "</body>");
    EventRecorder events;
    auto browser = openPage(events, server.url("/huge"), "/huge");
    ASSERT_TRUE(browser);
    const DocumentSnapshot& doc = *events.completed("/huge")->pDisp.document;
    EXPECT_TRUE(doc.truncated);
    EXPECT_EQ(doc.Forms.size(), 400u);
    EXPECT_GT(doc.All.size(), 1000u);
    EXPECT_LT(doc.All.size(), 6000u);
}

// Handlers may make synchronous calls; events that arrive meanwhile wait for the next turn
// instead of running inside the handler.
TEST_F(ChromiumSessionTest, EventsAreNeverDeliveredInsideAHandler)
{
    server.page("/login", kLoginPage);
    struct Nesting : EventRecorder {
        ChromiumSession* session = nullptr;
        Browser* browser = nullptr;
        int depth = 0;
        int deepest = 0;
        int reads = 0;
        void DocumentComplete(const DocumentCompleteEvent& event) override
        {
            deepest = std::max(deepest, ++depth);
            EventRecorder::DocumentComplete(event);
            if (browser && browser->Document())
                ++reads;
            session->dispatchPending();
            --depth;
        }
    } events;
    events.session = &session();
    auto browser = openWindow(events);
    ASSERT_TRUE(browser);
    events.browser = browser.get();
    browser->Navigate(server.url("/login"));
    waitFor([&] { return events.completed("/login") != nullptr; }, "the page");
    EXPECT_EQ(events.deepest, 1);
    EXPECT_GE(events.reads, 1);
}

// Last: it takes the shared browser down (the next test's SetUp starts a new one).
TEST_F(ChromiumSessionTest, ABrowserThatDiesIsNoticedAndReplaced)
{
    WindowListRecorder list;
    session().subscribe(list);
    std::vector<int> watched;
    session().setNotifiers([&](int fd) { watched.push_back(fd); }, [] {});
    EventRecorder events;
    ASSERT_TRUE(openWindow(events));
    const pid_t first = session().processId();
    ASSERT_GT(first, 0);
    kill(first, SIGKILL);
    waitFor([&] { return !session().running() && list.revoked >= 1; }, "the browser's end");
    EXPECT_TRUE(session().windows().empty());

    auto again = session().createBrowser();
    ASSERT_TRUE(again);
    EXPECT_NE(session().processId(), first);
    EXPECT_FALSE(session().windows().empty());
    // The owner's loop is told to stop watching the dead pipe and to watch the new one.
    EXPECT_EQ(watched, (std::vector<int>{-1, session().readFd()}));
    session().setNotifiers({}, {});
    session().unsubscribe(list);
}

class OwnBrowserTest : public OwnChromiumTest {
protected:
    void SetUp() override
    {
        OwnChromiumTest::SetUp();
        if (!IsSkipped()) {
            ASSERT_TRUE(session->start());
        }
    }

    struct PageWindow {
        std::string id;
        std::string state; // "normal", "minimized", ...
    };
    // Every page window of the browser, listed or not.
    std::vector<PageWindow> pageWindows()
    {
        std::vector<PageWindow> found;
        const auto targets = session->command("", "Target.getTargets", nlohmann::json::object());
        if (!targets)
            return found;
        for (const auto& info : (*targets)["targetInfos"]) {
            if (info["type"] != "page")
                continue;
            const std::string id = info["targetId"];
            const auto window = session->command("", "Browser.getWindowForTarget", {{"targetId", id}});
            found.push_back({id, window ? (*window)["bounds"].value("windowState", "") : ""});
        }
        return found;
    }
    bool waitFor(const std::function<bool()>& done, const std::string& what)
    {
        const bool ok = session->runUntil(done, std::chrono::seconds(20));
        EXPECT_TRUE(ok) << "timed out waiting for " << what;
        return ok;
    }

    LocalServer server;
};

// The browser opens no window of its own. One blank window waits minimised, out of the list;
// a new window is that one, shown when asked. The next one is prepared only once the browser is
// quiet: creating a window while the handed-out one loads its page would hold that page up.
TEST_F(OwnBrowserTest, WindowsAreHandedOutFromOnePreparedOutOfSight)
{
    waitFor([&] { return pageWindows().size() == 1; }, "the prepared window");
    const auto prepared = pageWindows();
    ASSERT_EQ(prepared.size(), 1u);
    EXPECT_EQ(prepared[0].state, "minimized");
    EXPECT_TRUE(session->windows().empty());

    const auto window = session->createBrowser();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->hwnd(), prepared[0].id);
    ASSERT_EQ(session->windows().size(), 1u);
    EXPECT_EQ(session->windows()[0], window);
    EXPECT_EQ(pageWindows().size(), 1u) << "the next window was asked for at once";
    EXPECT_FALSE(session->windowPrepared());

    window->setVisible(true);
    waitFor(
        [&] {
            const auto all = pageWindows();
            return all.size() == 2 && std::all_of(all.begin(), all.end(), [&](const PageWindow& w) {
                       return w.state == (w.id == window->hwnd() ? "normal" : "minimized");
                   });
        },
        "the window shown and the next one prepared");
    waitFor([&] { return session->windowPrepared(); }, "the next window ready");
    EXPECT_EQ(session->windows().size(), 1u);
}

// The program is the password manager: the browser must keep no logins or typed login
// names of its own, even after the user typed and sent them.
TEST_F(OwnBrowserTest, TheBrowserKeepsNoLoginsOfItsOwn)
{
    server.page("/login", kLoginPage);
    EventRecorder events;
    auto browser = session->createBrowser();
    ASSERT_TRUE(browser);
    browser->setVisible(true);
    browser->subscribe(events);
    browser->Navigate(server.url("/login"));
    waitFor([&] { return events.completed("/login") != nullptr; }, "the page");
    for (const auto& [field, value] :
         {std::pair{"user", "alice@example.com"}, std::pair{"pass", "browser-pw"}}) {
        ASSERT_TRUE(UserTypes(*session, *browser, ByName(field), value));
    }
    ASSERT_TRUE(UserClicks(*session, *browser, "document.forms[1].elements[4]"));
    waitFor([&] { return events.completed("/session") != nullptr; }, "the answer");
    browser->unsubscribe(events);
    session->shutdown();

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2((profile / "Default" / "Web Data").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM autofill", -1, &count, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 0) << "typed values were kept for autofill";
    sqlite3_finalize(count);
    sqlite3_close(db);

    std::ifstream file(profile / "Default" / "Preferences");
    const auto preferences = nlohmann::json::parse(file, nullptr, false);
    EXPECT_EQ(preferences.value("credentials_enable_service", true), false);
    EXPECT_EQ(preferences["profile"].value("password_manager_enabled", true), false);
    EXPECT_EQ(preferences["autofill"].value("profile_enabled", true), false);
}

TEST(ChromiumSessionStart, AMissingBrowserGivesNoWindow)
{
    TempDir profile;
    ChromiumOptions options;
    options.executable = profile / "no-such-browser";
    options.userDataDir = profile.path();
    auto session = ChromiumSession::create(options);
    EXPECT_FALSE(session->start());
    EXPECT_EQ(session->createBrowser(), nullptr);
    EXPECT_TRUE(session->windows().empty());
    EXPECT_EQ(session->readFd(), -1);
}

} // namespace
} // namespace kv::test
