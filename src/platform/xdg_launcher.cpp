#include "platform/xdg_launcher.h"

#include "platform/desktop_entry.h"

#include <sys/stat.h>

namespace kv {

namespace {
namespace fs = std::filesystem;

constexpr std::string_view kLauncherName = "Kestrelyn Vormaplex";
constexpr std::string_view kLauncherComment = "Password manager and automatic web login";
constexpr std::string_view kLauncherCategories = "Utility;Security;";

} // namespace

XdgLauncher::XdgLauncher(fs::path dataHome, fs::path program, fs::path icon)
    : dataHome_(std::move(dataHome)), program_(std::move(program)), icon_(std::move(icon))
{
}

fs::path XdgLauncher::entryFile() const
{
    return dataHome_.empty() ? fs::path() : dataHome_ / "applications" / kDesktopEntryFileName;
}

fs::path XdgLauncher::iconFile() const
{
    return dataHome_.empty() ? fs::path()
                             : dataHome_ / "icons" / "hicolor" / "scalable" / "apps" /
                                   (std::string(kDesktopIconName) + icon_.extension().string());
}

bool XdgLauncher::install() const
{
    if (dataHome_.empty())
        return false;
    std::error_code ec;
    fs::create_directories(iconFile().parent_path(), ec);
    fs::copy_file(icon_, iconFile(), fs::copy_options::overwrite_existing, ec);
    const DesktopEntry entry{std::string(kLauncherName), std::string(kLauncherComment), program_,
                             std::string(kLauncherCategories)};
    return WriteDesktopEntry(entryFile(), entry);
}

void XdgLauncher::remove() const
{
    if (dataHome_.empty())
        return;
    std::error_code ec;
    fs::remove(entryFile(), ec);
    fs::remove(iconFile(), ec);
}

bool XdgLauncher::installed() const
{
    struct stat info {};
    return !dataHome_.empty() && ::stat(entryFile().c_str(), &info) == 0;
}

} // namespace kv
