#pragma once
// The profile: the settings file and the directory that holds it (also the root of
// the sites tree). Set once by the start-up sequence and fixed for the whole run.
#include <filesystem>
#include <string>

namespace kv {

struct Profile {
    std::string name; // the account name when the profile was created
    std::filesystem::path path;
};

void SetCurrentProfile(Profile profile);
const Profile& CurrentProfile();

// path / (name + ".ini"); every part of the program builds the settings file's path this way.
std::filesystem::path ProfileFile(const Profile& profile);
std::filesystem::path ProfileFile();

} // namespace kv
