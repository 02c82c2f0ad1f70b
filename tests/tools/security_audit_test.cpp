// The Security Audit list and the details of one site's password.
#include "sites_folder.h"
#include "storage/ini_values.h"
#include "tools/security_audit.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::SitesFolder;

TEST(SecurityAudit, NoSitesGiveNoRows)
{
    SitesFolder sites;
    EXPECT_TRUE(AuditSites(sites.path()).empty());
}

TEST(SecurityAudit, RowsGiveVerdictsInWalkOrder)
{
    SitesFolder sites;
    sites.login("Mail.QVR", "Mail", "alice", "abcdef12");
    sites.login("Work/Bank.QVR", "My Bank", "Alice.Smith7", "abcdefghij");
    sites.site("Empty.QVR", {{SITEFRIENDLYNAME, "Empty"}});
    const auto rows = AuditSites(sites.path());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].site, "Empty");
    EXPECT_EQ(rows[0].login, "Not Secure");
    EXPECT_EQ(rows[0].password, "Not Secure");
    EXPECT_EQ(rows[1].site, "Mail");
    EXPECT_EQ(rows[1].file, sites.path() / "Mail.QVR");
    EXPECT_EQ(rows[1].login, "Not Secure");
    EXPECT_EQ(rows[1].password, "Secure");
    EXPECT_EQ(rows[2].site, "My Bank");
    EXPECT_EQ(rows[2].login, "Secure");
    EXPECT_EQ(rows[2].password, "Not Secure");
    for (const auto& row : rows)
        EXPECT_FALSE(row.reused || row.damaged);
}

TEST(SecurityAudit, MarksPasswordsThatSeveralSitesShare)
{
    SitesFolder sites;
    sites.login("A.QVR", "A", "a", "Shared#1");
    sites.login("Sub/B.QVR", "B", "b", "Shared#1");
    sites.login("C.QVR", "C", "c", "shared#1"); // differs in case: not the same
    sites.login("D.QVR", "D", "d", "");
    sites.login("E.QVR", "E", "e", "");
    const auto rows = AuditSites(sites.path());
    std::map<std::string, bool> reused;
    for (const auto& row : rows)
        reused[row.site] = row.reused;
    EXPECT_EQ(reused, (std::map<std::string, bool>{
                          {"A", true}, {"B", true}, {"C", false}, {"D", false}, {"E", false}}));

    const PasswordDetails a = CheckPassword(sites.path() / "A.QVR", sites.path());
    EXPECT_EQ(a.sharedWith, std::vector<std::string>{"B"});
    EXPECT_EQ(a.strength.score(), 5);
    EXPECT_TRUE(CheckPassword(sites.path() / "C.QVR", sites.path()).sharedWith.empty());
    EXPECT_TRUE(CheckPassword(sites.path() / "D.QVR", sites.path()).sharedWith.empty());
}

TEST(SecurityAudit, ADamagedSiteShowsAsDamagedAndTheRestAsUsual)
{
    SitesFolder sites;
    sites.foreign("Stolen.QVR", "Stolen");
    const auto halfDamaged = sites.login("Half.QVR", "Half", "bob", "Good#Pass1");
    WriteIniValue(kMainSection, FORMPASSVALUE, "ZZ 00", halfDamaged);
    sites.login("Fine.QVR", "Fine", "carol", "Good#Pass1");
    const auto rows = AuditSites(sites.path());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].site, "Fine");
    EXPECT_FALSE(rows[0].damaged);
    EXPECT_FALSE(rows[0].reused);
    EXPECT_EQ(rows[1].site, "Half");
    EXPECT_TRUE(rows[1].damaged);
    EXPECT_EQ(rows[1].login, "Not Secure");
    EXPECT_EQ(rows[1].password, "(damaged)");
    EXPECT_EQ(rows[2].site, "Stolen");
    EXPECT_TRUE(rows[2].damaged);
    EXPECT_EQ(rows[2].login, "(damaged)");

    EXPECT_TRUE(CheckPassword(sites.path() / "Stolen.QVR", sites.path()).damaged);
    EXPECT_FALSE(CheckPassword(sites.path() / "Fine.QVR", sites.path()).damaged);
}

} // namespace
} // namespace kv
