// The print page shown in a window of the real browser: stored markup stays text.
#include "e2e/chromium_fixture.h"
#include "e2e/local_server.h"
#include "tools/print_page.h"
#include "tools/site_printer.h"
#include "tools/sites_folder.h"

namespace kv::test {
namespace {

class PrintE2e : public ChromiumSuite {};

TEST_F(PrintE2e, StoredMarkupIsShownAsTextAndRunsNothing)
{
    LocalServer server;
    SitesFolder sites;
    sites.site("Bank.QVR",
               {{SITEFRIENDLYNAME, "<img src=\"" + server.url("/ran") + "\">Bank"},
                {SITEDOMAIN, "bank.example"},
                {FORMLOGINVALUE, "<script>document.title = 'ran';</script><input name=\"injected\">"},
                {FORMPASSVALUE, "</td></tr></table><form name=\"forged\"></form>"}});
    const std::size_t before = session().windows().size();
    ASSERT_TRUE(PrintSites(session(), sites.path(),
                           [](const std::function<bool()>& done, std::chrono::milliseconds limit) {
                               return session().runUntil(done, limit);
                           }));
    const auto windows = session().windows();
    ASSERT_EQ(windows.size(), before + 1);
    const auto window = windows.back();
    const auto page = window->Document();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title, "Kestrelyn Backup");
    EXPECT_TRUE(page->Forms.empty());
    EXPECT_TRUE(page->tags({"INPUT"}).empty());
    EXPECT_EQ(server.count("GET", "/ran"), 0u);
    session().closeWindow(window->hwnd());
}

} // namespace
} // namespace kv::test
