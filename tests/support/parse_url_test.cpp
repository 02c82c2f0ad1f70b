#include "support/parse_url.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

struct Case {
    const char* address;
    const char* component;
    const char* expected;
};

void ExpectAll(std::initializer_list<Case> cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(ParseUrl(c.address, c.component), c.expected) << c.component << " of " << c.address;
}

TEST(ParseUrl, KeywordsMatchExactly)
{
    ExpectAll({{"https://a.example.com/p", "Domain", ""},
               {"https://a.example.com/p", "SERVER", ""},
               {"https://a.example.com/p", "host", ""},
               {"https://a.example.com/p", "", ""}});
}

TEST(ParseUrl, ProtocolRunsThroughTheSlashesAfterTheColon)
{
    ExpectAll({{"https://a.b.c/p", "protocol", "https://"},
               {"file:\\\\\\share\\x", "protocol", "file:\\\\\\"},
               {"mailto:x@y", "protocol", "mailto:"},
               {"//host/p", "protocol", "//"},
               {"host/p", "protocol", ""},
               {"", "protocol", ""}});
}

TEST(ParseUrl, ServerKeepsAPathLessItsLastCharacterAndDropsUserInformation)
{
    ExpectAll({{"http://www.example.com/login.php", "server", "www.example.com/login.ph"},
               {"http://www.example.com", "server", "www.example.com"},
               {"http://user:pw@www.example.com/x", "server", "www.example.com"},
               {"http://user@www.example.com", "server", "www.example.com"},
               {"http:\\\\user@host\\x", "server", "host"}});
}

TEST(ParseUrl, DomainDropsTheFirstOfThreeLabelsAndKeepsAPort)
{
    ExpectAll({{"https://www.example.com/login", "domain", "example.com"},
               {"https://www.example.com", "domain", "example.com"},
               {"https://a.b.example.com", "domain", "example.com"},
               {"https://a.b.example.com/x", "domain", "b.example.com"},
               {"https://www.example.com:8443/login", "domain", "example.com:8443"},
               {"https://localhost", "domain", ""},
               {"https://localhost/x.y", "domain", ""},
               {"", "domain", ""}});
}

TEST(ParseUrl, DomainOfATwoLabelHostWithAPathIsTheHost)
{
    ExpectAll({{"https://example.com/login", "domain", "example.com"},
               {"https://example.com:81/a/b", "domain", "example.com:81"},
               {"https://example.com/", "domain", "example.com"}});
}

TEST(ParseUrl, DomainOfANumericAddressIsTheAddressAlone)
{
    ExpectAll({{"http://10.0.0.5/login.html", "domain", "10.0.0.5"},
               {"http://10.0.0.5:8080/a/b", "domain", "10.0.0.5:8080"},
               {"http://10.0.0.5", "domain", "10.0.0.5"},
               {"http://www.1e5.com", "domain", "www.1e5.com"},
               // The port is no label: the host is numeric however its port is written.
               {"http://a.b.5:80/x", "domain", "a.b.5:80"},
               // A number inside the path does not make the host numeric.
               {"http://www.example.com/page.2", "domain", "example.com"}});
}

TEST(ParseUrl, PathAndFileIgnoreQueryAndFragment)
{
    ExpectAll({{"http://h.com/a/b/login.php?next=/x#top", "path", "http://h.com/a/b/"},
               {"http://h.com/a/b/login.php?next=/x#top", "file", "login.php"},
               {"C:\\dir\\page.htm#a/b", "path", "C:\\dir\\"},
               {"C:\\dir\\page.htm#a/b", "file", "page.htm"},
               {"page.htm", "path", ""},
               {"page.htm", "file", ""},
               {"http://h.com/", "file", ""}});
}

TEST(ParseUrl, HashAndQueryStopAtEachOther)
{
    ExpectAll({{"page.htm#frag?q=1", "hash", "frag"},
               {"page.htm?q=1#frag", "query", "q=1"},
               {"page.htm?a#b?c", "query", "c"},
               {"page.htm#a?b#c", "hash", "c"},
               {"page.htm", "hash", ""},
               {"page.htm", "query", ""}});
}

TEST(SiteNameFromUrl, NextToLastLabelCapitalised)
{
    EXPECT_EQ(SiteNameFromUrl("https://x.shop.com/p"), "Shop");
    EXPECT_EQ(SiteNameFromUrl("https://x.SHOP.y.z/"), "Y");
    EXPECT_EQ(SiteNameFromUrl("https://login.example.com:8443/a"), "Example");
    EXPECT_EQ(SiteNameFromUrl("https:\\\\mail.post.org\\x"), "Post");
    EXPECT_EQ(SiteNameFromUrl("www.bank.com/login"), "Bank");
}

TEST(SiteNameFromUrl, NumericHostsStayAndSingleLabelsGiveNothing)
{
    EXPECT_EQ(SiteNameFromUrl("http://192.168.0.1/p"), "192.168.0.1");
    // The port is no label of the host, and no name holds a ":".
    EXPECT_EQ(SiteNameFromUrl("http://127.0.0.1:8765/"), "127.0.0.1");
    EXPECT_EQ(SiteNameFromUrl("http://10.0.0.5:8080"), "10.0.0.5");
    EXPECT_EQ(SiteNameFromUrl("http://localhost:8080/login"), "");
    EXPECT_EQ(SiteNameFromUrl("http://[::1]:8080/login"), "");
    EXPECT_EQ(SiteNameFromUrl("http://host/"), "");
    EXPECT_EQ(SiteNameFromUrl("localhost"), "");
    EXPECT_EQ(SiteNameFromUrl(""), "");
}

} // namespace
} // namespace kv::test
