#include "browser/blocked_sites.h"
#include "browser/browser_sink.h"
#include "browser/capture_texts.h"
#include "browser/save_site_dialog.h"

#include "browser_test_support.h"
#include "capture_surroundings.h"
#include "common/scripted_dialogs.h"
#include "fake_browser.h"
#include "storage/ini_values.h"
#include "storage/sites_tree.h"
#include "support/parse_url.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

constexpr std::string_view kLoginPage = "https://shop.example.com/account/login?from=home";

class CaptureTest : public ::testing::Test, protected CaptureSurroundings {
protected:
    CaptureTest()
    {
        browser->locationUrl = std::string(kLoginPage);
        browser->locationName = "Shop - Sign in";
        sink->IEctl(browser);
    }

    // The user submits this page; the browser sends body to url.
    BeforeNavigateEvent submission(const DocumentSnapshot& page, std::string url,
                                   std::string body = "u=a&p=b", std::string method = "POST")
    {
        BeforeNavigateEvent event;
        event.pDisp.frameId = page.frameId;
        event.pDisp.LocationURL = page.url;
        event.pDisp.document = page;
        event.url = std::move(url);
        event.method = std::move(method);
        event.PostData = std::move(body);
        event.byUser = true;
        return event;
    }

    DocumentSnapshot loginPage(std::string user = "alice", std::string password = "s3cret!") const
    {
        return Page(std::string(kLoginPage), "Shop - Sign in")
            .form(
                {Text("user", std::move(user)), Password("pass", std::move(password)), Input("submit", "go")},
                {"/account/session", "signin", "post"});
    }

    // Saves into folder as name when the save form shows.
    void saveAs(std::filesystem::path folder, std::string name)
    {
        dialogs.onSaveSite([this, folder, name](SaveSiteDialog& form) {
            seenPageUrl = form.PageUrl();
            SitesTreeNode node;
            node.key = AddTrailingSlash(folder.string());
            node.text = folder.filename().string();
            node.parent = 0;
            ASSERT_TRUE(form.cmdSave(name, &node));
        });
    }

    std::shared_ptr<FakeBrowser> browser = std::make_shared<FakeBrowser>("w1");
    std::shared_ptr<IE_Class> sink = std::make_shared<IE_Class>(context);
    std::string seenPageUrl;
};

TEST_F(CaptureTest, SavingWritesEveryKeyOfTheSiteFile)
{
    std::filesystem::create_directories(profile.root() / "Shopping");
    dialogs.answer(Dialogs::Answer::Yes);
    saveAs(profile.root() / "Shopping", "Shop");

    sink->BeforeNavigate2(
        submission(loginPage(), "https://shop.example.com/account/session", "user=alice&pass=s3cret%21"));

    const auto site = profile.root() / "Shopping" / "Shop.QVR";
    ASSERT_TRUE(std::filesystem::exists(site));
    EXPECT_EQ(seenPageUrl, kLoginPage);
    EXPECT_EQ(SiteValue(site, SITEFRIENDLYNAME), "Shop");
    EXPECT_EQ(SiteValue(site, SITETITLE), "Shop - Sign in");
    EXPECT_EQ(SiteValue(site, SITEURL), kLoginPage);
    EXPECT_EQ(SiteValue(site, SITEDOMAIN), ParseUrl(std::string(kLoginPage), "domain"));
    EXPECT_EQ(SiteValue(site, FORMNAME), "signin");
    EXPECT_EQ(SiteValue(site, FORMMETHOD), "post");
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), "/account/session");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "user");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "alice");
    EXPECT_EQ(SiteValue(site, FORMPASSNAME), "pass");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "s3cret!");
    EXPECT_EQ(SiteValue(site, VELOTRIP), "0");
    EXPECT_EQ(SiteValue(site, SITEPOSTDATA), "user=alice&pass=s3cret%21");
    EXPECT_EQ(SiteValue(site, AUTOLOGSTATUS), "Yes");
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");

    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kSaveSiteQuestion)});
    EXPECT_EQ(log.lines(), std::vector<std::string>{std::string(kSavingSiteLog) +
                                                    "https://shop.example.com/account/session"});
    EXPECT_EQ(host.treeReloads, 1);
    EXPECT_EQ(host.activations, 1);
    // Nothing but the site itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(profile.root() / "Shopping"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(CaptureTest, ReplacingASiteKeepsNothingOfTheOldOne)
{
    const auto site = profile.site("Shop.QVR", {{SITEURL, "https://old.example/"}, {FORMNAME, "oldform"}});
    IncrementSuccessCount(site);
    dialogs.answer(Dialogs::Answer::Yes); // save
    dialogs.answer(Dialogs::Answer::Yes); // to the root folder
    dialogs.answer(Dialogs::Answer::Yes); // replace
    dialogs.onSaveSite([&](SaveSiteDialog& form) {
        SitesTreeModel tree;
        form.loadFolders(tree);
        ASSERT_TRUE(form.cmdSave("Shop", &tree.nodes().front()));
    });
    const DocumentSnapshot page = Page(std::string(kLoginPage)).form({Text("u", "bob"), Password("p", "pw")});

    sink->BeforeNavigate2(submission(page, "https://shop.example.com/x"));

    EXPECT_EQ(SiteValue(site, SITEURL), kLoginPage);
    EXPECT_EQ(SiteValue(site, FORMNAME), "");
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "bob");
}

TEST_F(CaptureTest, ACancelledSaveFormWritesNothing)
{
    dialogs.answer(Dialogs::Answer::Yes);
    dialogs.onSaveSite([](SaveSiteDialog&) {});

    sink->BeforeNavigate2(submission(loginPage(), "https://shop.example.com/account/session"));

    std::vector<std::filesystem::path> sites;
    std::int32_t files = 0, folders = 0;
    CollectSiteFiles(profile.root(), kSitePattern, sites, files, folders);
    EXPECT_TRUE(sites.empty());
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(host.treeReloads, 0);
}

TEST_F(CaptureTest, OnlyTheSubmissionToTheFormsActionIsOffered)
{
    sink->BeforeNavigate2(submission(loginPage(), "https://shop.example.com/help"));
    sink->BeforeNavigate2(submission(loginPage(), "https://shop.example.com/Account/Session"));
    EXPECT_TRUE(dialogs.asked().empty());

    // Without an action, any navigation of the page counts as its submission.
    const DocumentSnapshot noAction =
        Page(std::string(kLoginPage)).form({Text("u", "a"), Password("p", "b")});
    dialogs.answer(Dialogs::Answer::No);
    dialogs.answer(Dialogs::Answer::No);
    sink->BeforeNavigate2(submission(noAction, "https://elsewhere.example/"));
    EXPECT_EQ(dialogs.asked().size(), 2u);
}

TEST_F(CaptureTest, AKnownSiteIsLoggedAndNotOfferedAgain)
{
    profile.site("Folder/Shop.QVR", {{SITEURL, kLoginPage}});

    sink->BeforeNavigate2(submission(loginPage(), "https://shop.example.com/account/session"));

    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(log.lines(), std::vector<std::string>{std::string(kSiteKnownLog) +
                                                    "https://shop.example.com/account/session"});
}

TEST_F(CaptureTest, TheSameAddressInOtherLetterCaseIsNotKnown)
{
    profile.site("Shop.QVR", {{SITEURL, "https://SHOP.example.com/account/login?from=home"}});
    dialogs.answer(Dialogs::Answer::No);
    dialogs.answer(Dialogs::Answer::No);

    sink->BeforeNavigate2(submission(loginPage(), "https://shop.example.com/account/session"));

    EXPECT_EQ(dialogs.asked().front(), kSaveSiteQuestion);
}

TEST_F(CaptureTest, NoThenNoStoresNothing)
{
    dialogs.answer(Dialogs::Answer::No);
    dialogs.answer(Dialogs::Answer::No);

    sink->BeforeNavigate2(submission(loginPage(), "https://shop.example.com/account/session"));

    EXPECT_EQ(dialogs.asked(),
              (std::vector<std::string>{std::string(kSaveSiteQuestion), std::string(kBlockSiteQuestion)}));
    EXPECT_TRUE(BlockedSites(profile.file()).entries().empty());
    EXPECT_FALSE(std::filesystem::exists(profile.file()));
}

TEST_F(CaptureTest, NoThenYesBlocksTheAddressAndItIsNotOfferedAgain)
{
    dialogs.answer(Dialogs::Answer::No);
    dialogs.answer(Dialogs::Answer::Yes);
    const std::string target = "https://shop.example.com/account/session?lang=en";

    sink->BeforeNavigate2(submission(loginPage(), target));
    EXPECT_EQ(BlockedSites(profile.file()).entries(), (std::vector<BlockedEntry>{{1, target}}));

    sink->BeforeNavigate2(submission(loginPage(), target));
    EXPECT_EQ(dialogs.asked().size(), 2u);
}

TEST_F(CaptureTest, TypedValuesInAGetQueryReachNeitherTheLogNorTheBlockedList)
{
    const DocumentSnapshot page =
        Page(std::string(kLoginPage)).form({Text("user", "alice"), Password("pass", "s3cret")}, {"/find"});
    dialogs.answer(Dialogs::Answer::No);
    dialogs.answer(Dialogs::Answer::Yes);

    sink->BeforeNavigate2(
        submission(page, "https://shop.example.com/find?user=alice&pass=s3cret", "", "GET"));

    EXPECT_EQ(BlockedSites(profile.file()).entries(),
              (std::vector<BlockedEntry>{{1, "https://shop.example.com/find"}}));
    // The same form sent again is recognised as blocked.
    sink->BeforeNavigate2(submission(page, "https://shop.example.com/find?user=alice&pass=other", "", "GET"));
    EXPECT_EQ(dialogs.asked().size(), 2u);
}

TEST_F(CaptureTest, ValuesTypedBeforeThePageMovedThemAreSaved)
{
    // The page's submit handler empties the visible fields and posts hidden copies.
    sink->DownloadBegin({"main", loginPage("alice", "typed-pw"), loginPage("", "")});
    std::filesystem::create_directories(profile.root() / "A");
    dialogs.answer(Dialogs::Answer::Yes);
    saveAs(profile.root() / "A", "Shop");

    sink->BeforeNavigate2(submission(loginPage("", ""), "https://shop.example.com/account/session"));

    const auto site = profile.root() / "A" / "Shop.QVR";
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "alice");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "typed-pw");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "user");
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(CaptureTest, WhenNothingWasTypedTheUserIsAsked)
{
    std::filesystem::create_directories(profile.root() / "A");
    dialogs.answer(Dialogs::Answer::Yes);
    saveAs(profile.root() / "A", "Shop");
    dialogs.type("bob");
    dialogs.type(std::nullopt); // the password box is cancelled

    sink->BeforeNavigate2(submission(loginPage("", ""), "https://shop.example.com/account/session"));

    const auto site = profile.root() / "A" / "Shop.QVR";
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kHiddenFieldsMessage)});
    EXPECT_EQ(dialogs.prompts(),
              (std::vector<std::string>{std::string(kInputLoginPrompt), std::string(kInputPasswordPrompt)}));
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "bob");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "user");
    EXPECT_EQ(SiteValue(site, FORMPASSNAME), "pass");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "");
    EXPECT_EQ(SiteValue(site, AUTOLOGSTATUS), "Yes");
}

TEST_F(CaptureTest, ADownloadWithoutPasswordFieldKeepsWhatWasCaptured)
{
    sink->DownloadBegin({"main", loginPage("alice", "pw1"), std::nullopt});
    sink->DownloadBegin({"main", Page(std::string(kLoginPage)).form({Text("q", "search")}), std::nullopt});
    sink->DownloadBegin({"main", std::nullopt, std::nullopt});
    ASSERT_TRUE(sink->captured());
    EXPECT_EQ(sink->captured()->values.loginValue, "alice");
    EXPECT_EQ(sink->captured()->values.passwordValue, "pw1");

    DocumentSnapshot local = loginPage("local", "x");
    local.url = "file:///home/u/login.html";
    sink->DownloadBegin({"main", local, std::nullopt});
    EXPECT_EQ(sink->captured()->values.loginValue, "alice");
}

TEST_F(CaptureTest, LocalFilesOtherProtocolsAndLoadingPagesAreIgnored)
{
    DocumentSnapshot local = loginPage();
    local.url = "FILE:///tmp/login.html";
    sink->BeforeNavigate2(submission(local, "https://shop.example.com/account/session"));
    sink->BeforeNavigate2(submission(loginPage(), "ftp://shop.example.com/account/session"));
    sink->BeforeNavigate2(submission(loginPage(), "res://ieframe.dll/account/session"));
    auto loading = submission(loginPage(), "https://shop.example.com/account/session");
    loading.pDisp.readyState = ReadyState::Loading;
    sink->BeforeNavigate2(loading);
    auto unreadable = submission(loginPage(), "https://shop.example.com/account/session");
    unreadable.pDisp.document.reset();
    sink->BeforeNavigate2(unreadable);

    EXPECT_TRUE(dialogs.asked().empty());
}

// What was typed in one document never goes into another's site file: a page of another
// site that submits an empty form must not be saved with the previous site's login.
TEST_F(CaptureTest, TypedValuesStayWithTheDocumentTheyWereTypedInto)
{
    profile.site("Known.QVR", {{SITEURL, kLoginPage}});
    std::filesystem::create_directories(profile.root() / "A");
    dialogs.answer(Dialogs::Answer::Yes);
    saveAs(profile.root() / "A", "Other");
    dialogs.type("typed-by-user");
    dialogs.type("typed-pw");

    sink->DownloadBegin({"main", loginPage("alice", "shop-pw"), std::nullopt});
    sink->BeforeNavigate2(
        submission(loginPage("alice", "shop-pw"), "https://shop.example.com/account/session"));
    ASSERT_EQ(log.lines().size(), 1u); // the shop is known: nothing offered, the typed values dropped
    // Another document of the window, with a download of its own that never navigated.
    sink->DownloadBegin({"main", loginPage("bob", "other-doc-pw"), std::nullopt});

    browser->locationUrl = "https://other.example/login";
    const DocumentSnapshot other =
        Page("https://other.example/login").form({Text("u"), Password("p")}, {"/in", "f", "post"});
    sink->BeforeNavigate2(submission(other, "https://other.example/in", "u=&p="));

    const auto site = profile.root() / "A" / "Other.QVR";
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "typed-by-user");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "typed-pw");
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kHiddenFieldsMessage)});
}

// Script can submit forms and click buttons of its own: only what the user did is offered,
// and a frame of another site never speaks for the page it is shown in.
TEST_F(CaptureTest, ForgedSubmissionsAndFramesOfAnotherSiteAreNotOffered)
{
    auto forged = submission(loginPage(), "https://shop.example.com/account/session");
    forged.byUser = false;
    sink->BeforeNavigate2(forged);

    const DocumentSnapshot foreign = Page("https://ads.example/login", "ad", "f9")
                                         .form({Text("u", "planted"), Password("p", "planted-pw")}, {"/in"});
    sink->DownloadBegin({"f9", foreign, std::nullopt});
    EXPECT_FALSE(sink->captured());
    auto framed = submission(foreign, "https://ads.example/in");
    framed.pDisp.topLevel = false;
    sink->BeforeNavigate2(framed);

    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(CaptureTest, ALoginFormInAFrameIsSavedWithTheWindowsAddress)
{
    const DocumentSnapshot inner =
        Page("https://shop.example.com/frame/login", "frame", "f7")
            .form({Text("fu", "frameuser"), Password("fp", "framepw")}, {"/frame/session"});
    std::filesystem::create_directories(profile.root() / "A");
    dialogs.answer(Dialogs::Answer::Yes);
    saveAs(profile.root() / "A", "Framed");
    auto event = submission(inner, "https://shop.example.com/frame/session");
    event.pDisp.topLevel = false;
    // The window's name may still be its address while its page already has a title.
    browser->locationName = std::string(kLoginPage);
    browser->windowDocument = Page(std::string(kLoginPage), "Shop - Sign in").build();

    sink->BeforeNavigate2(event);

    const auto site = profile.root() / "A" / "Framed.QVR";
    EXPECT_EQ(seenPageUrl, kLoginPage);
    EXPECT_EQ(SiteValue(site, SITEURL), kLoginPage);
    EXPECT_EQ(SiteValue(site, SITETITLE), "Shop - Sign in");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "frameuser");
}

// A site asking for the name on one page and for the password on the next is saved from the
// name page; a name sent anywhere else never joins a login.
TEST_F(CaptureTest, ANameSentOnThePageBeforeJoinsThePasswordPageOnly)
{
    const auto namePage = [](const std::string& name) {
        return Page("https://shop.example.com/signin", "Shop - Name")
            .form({Input("search", "q", "socks"), Autocomplete(Text("login", name), "username"),
                   Input("submit", "next")},
                  {"/identify"})
            .build();
    };
    const auto passwordPage = [](const std::string& origin, DomElement login) {
        return Page(origin + "/identify", "Shop - Password")
            .form({std::move(login), Password("pass", "pw2"), Input("submit", "go")}, {"/session"})
            .build();
    };
    std::filesystem::create_directories(profile.root() / "A");
    for (int i = 0; i < 5; ++i) // save; then save and replace, twice
        dialogs.answer(Dialogs::Answer::Yes);
    const auto site = profile.root() / "A" / "Two.QVR";

    // Another origin, then a page of its own login field: saved as they are.
    saveAs(profile.root() / "A", "Two");
    sink->BeforeNavigate2(submission(namePage("ann"), "https://shop.example.com/identify"));
    sink->BeforeNavigate2(submission(passwordPage("https://other.example", Text("login", "ann")),
                                     "https://other.example/session"));
    EXPECT_EQ(SiteValue(site, SITEURL), "https://other.example/identify");
    saveAs(profile.root() / "A", "Two");
    sink->BeforeNavigate2(submission(namePage("ann"), "https://shop.example.com/identify"));
    sink->BeforeNavigate2(submission(passwordPage("https://shop.example.com", Text("user", "bob")),
                                     "https://shop.example.com/session"));
    EXPECT_EQ(SiteValue(site, SITEURL), "https://shop.example.com/identify");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "bob");

    // The page right after the name page: the site starts where the name was asked.
    saveAs(profile.root() / "A", "Two");
    sink->BeforeNavigate2(submission(namePage("ann"), "https://shop.example.com/identify"));
    sink->BeforeNavigate2(submission(passwordPage("https://shop.example.com", Hidden("login", "ann")),
                                     "https://shop.example.com/session", "login=ann&pass=pw2"));
    EXPECT_EQ(SiteValue(site, SITEURL), "https://shop.example.com/signin");
    EXPECT_EQ(SiteValue(site, SITETITLE), "Shop - Name");
    EXPECT_EQ(SiteValue(site, FORMLOGINNAME), "login");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "ann");
    EXPECT_EQ(SiteValue(site, FORMPASSVALUE), "pw2");
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), "https://shop.example.com/session");
    EXPECT_EQ(SiteValue(site, SITEPOSTDATA), "login=ann&pass=pw2");
}

// A login a page's script sends is saved as it went, content type included. Not a login: a
// request to another site, from a page without a password field, one not carrying the
// password, or with a type that could start another header when sent again. The page moving
// on after its login is not offered again.
TEST_F(CaptureTest, ALoginSentByScriptIsSavedWithItsContentType)
{
    const auto request = [](const DocumentSnapshot& page, std::string url, std::string body,
                            std::string type = "application/json") {
        ScriptRequestEvent event;
        event.pDisp.frameId = page.frameId;
        event.pDisp.LocationURL = page.url;
        event.pDisp.document = page;
        event.url = std::move(url);
        event.method = "POST";
        event.PostData = std::move(body);
        event.contentType = std::move(type);
        return event;
    };
    const std::string api = "https://shop.example.com/api/session";
    const std::string json = R"({"user":"alice","pass":"s3cret!"})";
    sink->ScriptRequestSent(request(loginPage(), "https://api.example/session", json));
    sink->ScriptRequestSent(request(Page(std::string(kLoginPage)).form({Text("q", "s3cret!")}), api, json));
    sink->ScriptRequestSent(request(loginPage(), api, R"({"event":"submit"})"));
    sink->ScriptRequestSent(request(loginPage(), api, json, "application/json\r\nX-Planted: 1"));
    EXPECT_TRUE(dialogs.asked().empty());

    std::filesystem::create_directories(profile.root() / "A");
    dialogs.answer(Dialogs::Answer::Yes);
    saveAs(profile.root() / "A", "Api");
    sink->ScriptRequestSent(request(loginPage(), api, "user=alice&pass=s3cret%21", "text/plain"));
    sink->BeforeNavigate2(
        submission(loginPage(), "https://shop.example.com/account/session?home", "", "GET"));

    EXPECT_EQ(dialogs.asked(), std::vector<std::string>{std::string(kSaveSiteQuestion)});
    const auto site = profile.root() / "A" / "Api.QVR";
    EXPECT_EQ(SiteValue(site, SITEURL), kLoginPage);
    EXPECT_EQ(SiteValue(site, FORMACTIONURL), api);
    EXPECT_EQ(SiteValue(site, SITEPOSTDATA), "user=alice&pass=s3cret%21");
    EXPECT_EQ(SiteValue(site, SITEPOSTTYPE), "text/plain");
    EXPECT_EQ(SiteValue(site, FORMLOGINVALUE), "alice");
}

// Logins the engine started in this window.
class PendingLoginTest : public CaptureTest {
protected:
    PendingLoginTest()
    {
        site = profile.site("Shop.QVR",
                            {{SITEURL, kLoginPage}, {FORMLOGINVALUE, "alice"}, {FORMPASSVALUE, "pw"}});
        pending.add({"w1", site, std::chrono::system_clock::now()});
    }

    DocumentCompleteEvent completed(const DocumentSnapshot& page)
    {
        DocumentCompleteEvent event;
        event.pDisp.frameId = page.frameId;
        event.pDisp.LocationURL = page.url;
        event.pDisp.document = page;
        event.url = page.url;
        return event;
    }

    std::filesystem::path site;
};

TEST_F(PendingLoginTest, ACompletedLoginPageIsFilledSubmittedAndCounted)
{
    const DocumentSnapshot page = loginPage("", "");

    sink->DocumentComplete(completed(page));

    EXPECT_EQ(browser->writes,
              (std::vector<FakeBrowser::Write>{{RefOf(page, 0, 1), "pw"}, {RefOf(page, 0, 0), "alice"}}));
    EXPECT_EQ(browser->clicks, std::vector<NodeRef>{RefOf(page, 0, 2)});
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "1");
    EXPECT_EQ(log.lines(), std::vector<std::string>{site.string()});
    EXPECT_EQ(host.cleanups, 1);
    EXPECT_EQ(pending.Count(), 0u);

    // Its own submission is not offered for saving.
    auto ownSubmission = submission(loginPage("alice", "pw"), "https://shop.example.com/account/session");
    ownSubmission.byUser = false;
    sink->BeforeNavigate2(ownSubmission);
    EXPECT_TRUE(dialogs.asked().empty());
}

// A later password form of the same site ("confirm with your password to delete the
// account") must never be filled and sent on the strength of an earlier login.
TEST_F(PendingLoginTest, APendingLoginFillsOnePageOnly)
{
    const DocumentSnapshot confirm = Page(std::string(kLoginPage), "Delete account")
                                         .form({Password("confirm"), Input("submit", "delete")}, {"/delete"});

    sink->DocumentComplete(completed(loginPage("", "")));
    ASSERT_EQ(browser->writes.size(), 2u);
    sink->DocumentComplete(completed(confirm));
    PasswordFieldEvent appeared;
    appeared.pDisp = completed(confirm).pDisp;
    sink->PasswordFieldAppeared(appeared);

    EXPECT_EQ(browser->writes.size(), 2u);
    EXPECT_EQ(browser->clicks.size(), 1u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "1");
}

// A site that asks for the login name on one page and for the password on the next: the
// name goes in on the first, the login lives on across that one navigation, the password
// goes in on the second.
TEST_F(PendingLoginTest, ALoginNameAskedForFirstIsSentThenThePasswordOnTheNextPage)
{
    WriteSecureValue(kMainSection, FORMLOGINNAME, "user", site);
    const DocumentSnapshot namePage =
        Page(std::string(kLoginPage)).form({Text("user"), Input("submit", "next")}, {"/identify"});
    const DocumentSnapshot passwordPage =
        Page("https://shop.example.com/account/password")
            .form({Hidden("user", "alice"), Password("pw"), Input("submit", "go")});

    sink->DocumentComplete(completed(namePage));
    EXPECT_EQ(browser->writes, (std::vector<FakeBrowser::Write>{{RefOf(namePage, 0, 0), "alice"}}));
    EXPECT_EQ(browser->clicks, std::vector<NodeRef>{RefOf(namePage, 0, 1)});
    auto next = submission(namePage, "https://shop.example.com/identify");
    next.byUser = false;
    sink->BeforeNavigate2(next);
    ASSERT_EQ(pending.Count(), 1u);

    sink->DocumentComplete(completed(passwordPage));
    EXPECT_EQ(browser->writes.back(), (FakeBrowser::Write{RefOf(passwordPage, 0, 1), "pw"}));
    EXPECT_EQ(browser->clicks.back(), RefOf(passwordPage, 0, 2));
    EXPECT_EQ(pending.Count(), 0u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "1");
}

TEST_F(PendingLoginTest, LeavingThePageOrWaitingTooLongEndsAPendingLogin)
{
    // The window's first navigation, from its blank page to the site, keeps the login.
    auto toSite = submission(Page("about:blank"), std::string(kLoginPage), "", "GET");
    toSite.byUser = false;
    sink->BeforeNavigate2(toSite);
    EXPECT_EQ(pending.Count(), 1u);
    // Leaving the site's page ends it, even when that page had no login form.
    auto away = submission(Page(std::string(kLoginPage)), "https://shop.example.com/welcome", "", "GET");
    sink->BeforeNavigate2(away);
    EXPECT_EQ(pending.Count(), 0u);
    sink->DocumentComplete(completed(loginPage("", "")));
    EXPECT_TRUE(browser->writes.empty());

    pending.add({"w1", site, std::chrono::system_clock::now(),
                 std::chrono::steady_clock::now() - kPendingLoginLifetime - std::chrono::seconds(1)});
    sink->DocumentComplete(completed(loginPage("", "")));
    EXPECT_TRUE(browser->writes.empty());
    EXPECT_EQ(pending.Count(), 0u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");
}

TEST_F(PendingLoginTest, APageOfAnotherOriginIsNeitherFilledNorCounted)
{
    for (const char* address : {"https://evil.example/account/login", "http://shop.example.com/account/login",
                                "https://shop.example.com:8443/account/login"}) {
        DocumentSnapshot page = loginPage("", "");
        page.url = address;
        sink->DocumentComplete(completed(page));
    }

    EXPECT_TRUE(browser->writes.empty());
    EXPECT_TRUE(browser->clicks.empty());
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(pending.Count(), 1u);
}

TEST_F(PendingLoginTest, OtherWindowsAreNotFilled)
{
    auto other = std::make_shared<FakeBrowser>("w2");
    auto otherSink = std::make_shared<IE_Class>(context);
    otherSink->IEctl(other);

    otherSink->DocumentComplete(completed(loginPage("", "")));

    EXPECT_TRUE(other->writes.empty());
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "");
}

TEST_F(PendingLoginTest, AFormBuiltByScriptIsWatchedForAndFilledWhenItAppears)
{
    const DocumentSnapshot empty = Page(std::string(kLoginPage)).loose(Link("https://shop.example.com/help"));

    sink->DocumentComplete(completed(empty));
    ASSERT_EQ(browser->watches.size(), 1u);
    EXPECT_EQ(browser->watches[0].first, "main");
    EXPECT_EQ(browser->watches[0].second, kPasswordFieldWatchLimit);
    EXPECT_TRUE(browser->writes.empty());

    const DocumentSnapshot built = loginPage("", "");
    PasswordFieldEvent appeared;
    appeared.pDisp = completed(built).pDisp;
    sink->PasswordFieldAppeared(appeared);

    EXPECT_EQ(browser->writes.size(), 2u);
    EXPECT_EQ(SiteValue(site, SUCCESS, kStatsSection), "1");
}

TEST_F(PendingLoginTest, PagesOfAnotherOriginOrWindowsWithoutPendingLoginAreNotWatched)
{
    DocumentSnapshot foreign = Page("https://evil.example/");
    sink->DocumentComplete(completed(foreign));
    EXPECT_TRUE(browser->watches.empty());

    pending.remove("w1");
    sink->DocumentComplete(completed(Page(std::string(kLoginPage))));
    EXPECT_TRUE(browser->watches.empty());
}

TEST_F(PendingLoginTest, ExcludedOrEmptyAddressesDoNothingAtAll)
{
    DocumentCompleteEvent local = completed(loginPage("", ""));
    local.pDisp.LocationURL = "file:///tmp/x.html";
    sink->DocumentComplete(local);
    DocumentCompleteEvent blank = completed(loginPage("", ""));
    blank.pDisp.LocationURL.clear();
    sink->DocumentComplete(blank);
    DocumentCompleteEvent outlook = completed(loginPage("", ""));
    outlook.url = "outlook:inbox";
    sink->DocumentComplete(outlook);

    EXPECT_EQ(host.cleanups, 0);
    EXPECT_TRUE(browser->writes.empty());
}

} // namespace
} // namespace kv::test
