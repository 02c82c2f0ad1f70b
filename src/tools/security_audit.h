#pragma once
// The Security Audit list and the details of frmChecksecure: a strength verdict for every
// site's stored login and password, and which sites share one password.
#include "tools/password_strength.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kv {

struct AuditRow {
    std::filesystem::path file; // the item's key
    std::string site;           // the friendly name; for a damaged site its file's name
    std::string login;          // "Secure" / "Not Secure"; "(damaged)" when it cannot be read
    std::string password;
    bool reused = false; // another site holds the same non-empty password
    bool damaged = false;
};

// Every site below the sites directory, in the order of the recursive search.
std::vector<AuditRow> AuditSites(const std::filesystem::path& sitesDirectory);

struct PasswordDetails {
    bool damaged = false; // the password cannot be decrypted; nothing else is known
    PasswordStrength strength;
    // The friendly names of the other sites below the sites directory with the same password.
    std::vector<std::string> sharedWith;
};

PasswordDetails CheckPassword(const std::filesystem::path& siteFile,
                              const std::filesystem::path& sitesDirectory);

} // namespace kv
