#pragma once
// Whether a user name and password open that account on this machine.
#include <string>

namespace kv {

enum class AccountCheckResult {
    Match,   // the account exists and the password is its own
    NoMatch, // wrong account or password (or the account may not log in)
    Failure, // the check itself could not be done
};

class AccountCheck {
public:
    virtual ~AccountCheck() = default;
    virtual AccountCheckResult passwordMatches(const std::string& user, const std::string& password) = 0;
};

// The real one: PAM with the service "kestrelyn-vormaplex", or "login" where that
// service is not installed. A normal user can only check their own password.
class PamAccountCheck : public AccountCheck {
public:
    AccountCheckResult passwordMatches(const std::string& user, const std::string& password) override;
};

} // namespace kv
