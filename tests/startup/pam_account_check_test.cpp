// The account check against the real PAM stack, with a throwaway account.
#include "platform/account_check.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace kv::test {
namespace {

// A local account that exists for one test and is removed however the test ends.
class ThrowawayAccount {
public:
    ThrowawayAccount(std::string name, const std::string& password) : name_(std::move(name))
    {
        created_ =
            std::system(
                ("useradd --no-create-home --shell /usr/sbin/nologin " + name_ + " 2>/dev/null").c_str()) ==
            0;
        passwordSet_ =
            created_ && std::system(("echo '" + name_ + ":" + password + "' | chpasswd").c_str()) == 0;
    }
    ~ThrowawayAccount()
    {
        if (created_)
            std::system(("userdel " + name_ + " 2>/dev/null").c_str());
    }
    ThrowawayAccount(const ThrowawayAccount&) = delete;
    ThrowawayAccount& operator=(const ThrowawayAccount&) = delete;

    bool ready() const { return created_ && passwordSet_; }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    bool created_ = false;
    bool passwordSet_ = false;
};

TEST(PamAccountCheck, RightAndWrongPasswordOfARealAccount)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to create a throwaway account; as a normal user PAM only checks the "
                        "user's own password, which a test cannot know";
    ThrowawayAccount account("kvpamtest" + std::to_string(getpid()), "Corr3ct-h0rse");
    ASSERT_TRUE(account.ready()) << "useradd/chpasswd failed";
    PamAccountCheck check;

    EXPECT_EQ(check.passwordMatches(account.name(), "Corr3ct-h0rse"), AccountCheckResult::Match);
    // A wrong password keeps PAM's failure delay (about two seconds).
    EXPECT_EQ(check.passwordMatches(account.name(), "corr3ct-h0rse"), AccountCheckResult::NoMatch);
}

} // namespace
} // namespace kv::test
