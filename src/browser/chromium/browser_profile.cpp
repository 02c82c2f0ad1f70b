#include "browser/chromium/browser_profile.h"

#include <fcntl.h>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kv {

namespace {

using Json = nlohmann::json;

// Every switch that makes the browser keep or offer logins and typed form values of its own.
const Json& Switches()
{
    static const Json switches = {
        {"credentials_enable_service", false},
        {"credentials_enable_autosignin", false},
        {"profile", {{"password_manager_enabled", false}, {"password_manager_leak_detection", false}}},
        {"autofill", {{"enabled", false}, {"profile_enabled", false}, {"credit_card_enabled", false}}},
    };
    return switches;
}

Json ReadPreferences(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Json::object();
    std::stringstream text;
    text << in.rdbuf();
    // A damaged file is what the browser would replace with defaults anyway.
    Json preferences = Json::parse(text.str(), nullptr, false);
    return preferences.is_object() ? preferences : Json::object();
}

bool WriteWhole(const std::filesystem::path& file, const std::string& text)
{
    const std::filesystem::path part = file.string() + ".kv-part";
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) {
            ::close(fd);
            ::unlink(part.c_str());
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced || ::rename(part.c_str(), file.c_str()) != 0) {
        ::unlink(part.c_str());
        return false;
    }
    return true;
}

} // namespace

bool SwitchOffBrowserPasswordSaving(const std::filesystem::path& userDataDir)
{
    const std::filesystem::path profile = userDataDir / "Default";
    std::error_code error;
    std::filesystem::create_directories(profile, error);
    if (error)
        return false;
    ::chmod(userDataDir.c_str(), 0700);
    ::chmod(profile.c_str(), 0700);

    const std::filesystem::path file = profile / "Preferences";
    Json preferences = ReadPreferences(file);
    Json wanted = preferences;
    wanted.merge_patch(Switches());
    if (wanted == preferences && std::filesystem::exists(file))
        return true;
    return WriteWhole(file, wanted.dump());
}

} // namespace kv
