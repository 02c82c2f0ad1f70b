#include "browser/numeric_value.h"
#include "browser/url_origin.h"
#include "browser/url_resolve.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(UrlOrigin, SchemeHostAndPortWithDefaults)
{
    EXPECT_EQ(OriginOf("https://Shop.Example.COM/login?x=1"), (UrlOrigin{"https", "shop.example.com", 443}));
    EXPECT_EQ(OriginOf("http://user:pw@host:8080/a"), (UrlOrigin{"http", "host", 8080}));
    EXPECT_EQ(OriginOf("http://[::1]:9000/"), (UrlOrigin{"http", "[::1]", 9000}));
    EXPECT_EQ(OriginOf("HTTP://host"), (UrlOrigin{"http", "host", 80}));
    EXPECT_EQ(OriginOf("about:blank"), std::nullopt);
    EXPECT_EQ(OriginOf("javascript:alert(1)"), std::nullopt);
    EXPECT_EQ(OriginOf("http://host:99999/"), std::nullopt);
    EXPECT_EQ(OriginOf("http:///path"), std::nullopt);
    EXPECT_EQ(OriginOf(""), std::nullopt);
}

TEST(UrlOrigin, SameOriginNeedsAllThreeParts)
{
    EXPECT_TRUE(SameOrigin("https://a.example/login", "https://A.example:443/other?q"));
    EXPECT_FALSE(SameOrigin("https://a.example/", "http://a.example/"));
    EXPECT_FALSE(SameOrigin("https://a.example/", "https://a.example:8443/"));
    EXPECT_FALSE(SameOrigin("https://a.example/", "https://b.a.example/"));
    EXPECT_FALSE(SameOrigin("https://a.example.evil.test/", "https://a.example/"));
    EXPECT_FALSE(SameOrigin("https://a.example@evil.test/", "https://a.example/"));
    EXPECT_FALSE(SameOrigin("about:blank", "about:blank"));
}

TEST(UrlResolve, ActionsAsPagesWriteThem)
{
    const std::string page = "https://shop.example/account/login.php?from=home#top";
    EXPECT_EQ(ResolveAgainst(page, "https://auth.example/s"), "https://auth.example/s");
    EXPECT_EQ(ResolveAgainst(page, "//cdn.example/s"), "https://cdn.example/s");
    EXPECT_EQ(ResolveAgainst(page, "/session"), "https://shop.example/session");
    EXPECT_EQ(ResolveAgainst(page, "session.php"), "https://shop.example/account/session.php");
    EXPECT_EQ(ResolveAgainst(page, "?step=2"), "https://shop.example/account/login.php?step=2");
    EXPECT_EQ(ResolveAgainst(page, ""), "https://shop.example/account/login.php?from=home");
    EXPECT_EQ(ResolveAgainst("https://shop.example", "login"), "https://shop.example/login");
    EXPECT_EQ(ResolveAgainst("https://shop.example?x=/y", "login"), "https://shop.example/login");
}

TEST(NumericValue, TheNumberAtTheStartOfTheText)
{
    EXPECT_TRUE(IsNumericOne("1"));
    EXPECT_TRUE(IsNumericOne(" 1 "));
    EXPECT_TRUE(IsNumericOne("1.0"));
    EXPECT_TRUE(IsNumericOne("1abc"));
    EXPECT_FALSE(IsNumericOne(""));
    EXPECT_FALSE(IsNumericOne("yes"));
    EXPECT_FALSE(IsNumericOne("11"));
    EXPECT_FALSE(IsNumericOne("0"));
    EXPECT_EQ(LeadingNumber("-2.5x"), -2.5);
}

} // namespace
} // namespace kv::test
