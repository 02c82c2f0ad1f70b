#include "startup/profile.h"

namespace kv {

namespace {
Profile& heldProfile()
{
    static Profile profile;
    return profile;
}
} // namespace

void SetCurrentProfile(Profile profile)
{
    heldProfile() = std::move(profile);
}

const Profile& CurrentProfile()
{
    return heldProfile();
}

std::filesystem::path ProfileFile(const Profile& profile)
{
    return profile.path / (profile.name + ".ini");
}

std::filesystem::path ProfileFile()
{
    return ProfileFile(CurrentProfile());
}

} // namespace kv
