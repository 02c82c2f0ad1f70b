#pragma once
// What a new profile is made of: the first-run wizard's results, CreateProfile's input.
#include <string>

namespace kv {

// Login choices as stored in LOGIN CHOICE (4 is stored as SECURITY ENABLED "0").
inline constexpr int kOwnLoginChoice = 1;
inline constexpr int kAccountLoginChoice = 2;
inline constexpr int kBothLoginsChoice = 3;
inline constexpr int kNoLoginChoice = 4;

struct NewProfile {
    std::string name;
    std::string path;
    std::string key;
    std::string loginChoice; // "1" to "4"
    std::string login;       // choices 1 and 3 only
    std::string password;    // choices 1 and 3 only
    bool makeCategories = false;

    // The wizard was closed before it finished.
    bool incomplete() const { return name.empty() || path.empty() || key.empty() || loginChoice.empty(); }
};

} // namespace kv
