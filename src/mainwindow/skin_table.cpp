#include "mainwindow/skin_table.h"

#include "startup/profile_settings.h"
#include "storage/ini_values.h"

#include <array>
#include <string>

namespace kv {
namespace {

constexpr std::array<std::string_view, 3> kSkinFiles{"vista.qss", "windows_xp.qss", "royal.qss"};

} // namespace

std::optional<Skin> SkinForIndex(int index, const std::filesystem::path& dataDirectory,
                                 const std::filesystem::path& customFile)
{
    if (index >= 0 && index < static_cast<int>(kSkinFiles.size()))
        return Skin{dataDirectory / "skins" / kSkinFiles[static_cast<std::size_t>(index)]};
    if (index == kSkinNone)
        return Skin{};
    if (index == kSkinCustom)
        return Skin{customFile};
    return std::nullopt;
}

std::optional<int> SkinIndexOf(std::string_view stored)
{
    if (stored.size() == 1 && stored[0] >= '0' && stored[0] <= '4')
        return stored[0] - '0';
    return std::nullopt;
}

std::optional<Skin> ProfileSkin(const std::filesystem::path& profileFile,
                                const std::filesystem::path& dataDirectory)
{
    const std::string stored = ReadIniValue(kOptionsSection, SKIN, profileFile);
    std::optional<int> index = 0;
    if (stored.empty())
        WriteIniValue(kOptionsSection, SKIN, "0", profileFile);
    else
        index = SkinIndexOf(stored);
    if (!index)
        return std::nullopt;
    return SkinForIndex(*index, dataDirectory, ReadIniValue(kOptionsSection, SKINCUSTOM, profileFile));
}

} // namespace kv
