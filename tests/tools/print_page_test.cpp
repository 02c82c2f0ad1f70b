// The print page's text.
#include "sites_folder.h"
#include "storage/ini_values.h"
#include "tools/print_page.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::SitesFolder;

constexpr std::string_view kHeader =
    "<html><head><TITLE>Kestrelyn Backup</TITLE></head><body>WARNING: This information should be stored "
    "securely in a safe or other storage.<table border=1><tr><td><b>Site Name<td><b>Domain<td><b>Login<td><b>"
    "Password</tr>";

TEST(PrintPage, WithoutSitesOnlyTheHeaderRow)
{
    SitesFolder sites;
    EXPECT_EQ(BuildPrintPage(sites.path()), std::string(kHeader) + "</table></body></html>");
}

TEST(PrintPage, ValuesAreEscapedRowsClosedAndDamagedSitesSaySo)
{
    SitesFolder sites;
    sites.site("A.QVR", {{SITEFRIENDLYNAME, "<b>Bank</b> & 'Co'"},
                         {SITEDOMAIN, "bank.example"},
                         {FORMLOGINVALUE, "<script>alert(1)</script>"},
                         {FORMPASSVALUE, "\"><img src=x onerror=alert(2)>"}});
    sites.foreign("Sub/Lost.QVR", "Lost");
    EXPECT_EQ(
        BuildPrintPage(sites.path()),
        std::string(kHeader) +
            "<tr><td>&lt;b&gt;Bank&lt;/b&gt; &amp; &#39;Co&#39;<td>bank.example"
            "<td>&lt;script&gt;alert(1)&lt;/script&gt;<td>&quot;&gt;&lt;img src=x onerror=alert(2)&gt;</tr>"
            "<tr><td>Lost<td>(damaged)<td>(damaged)<td>(damaged)</tr>"
            "</table></body></html>");
}

} // namespace
} // namespace kv
