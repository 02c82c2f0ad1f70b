#pragma once
// The window skins: style sheets under the data directory, chosen by the profile's SKIN.
#include <filesystem>
#include <optional>
#include <string_view>

namespace kv {

inline constexpr int kSkinNone = 3;
inline constexpr int kSkinCustom = 4;

struct Skin {
    // Empty: no style sheet, the platform's own look.
    std::filesystem::path styleSheet;
};

// The skin of an index 0 to 4; nothing for any other index.
std::optional<Skin> SkinForIndex(int index, const std::filesystem::path& dataDirectory,
                                 const std::filesystem::path& customFile);

// A stored SKIN value: "0" to "4"; nothing for any other text.
std::optional<int> SkinIndexOf(std::string_view stored);

// The skin the profile asks for at start-up; an empty SKIN becomes "0" (written back).
// Nothing when the stored index is out of range or not a number.
std::optional<Skin> ProfileSkin(const std::filesystem::path& profileFile,
                                const std::filesystem::path& dataDirectory);

} // namespace kv
