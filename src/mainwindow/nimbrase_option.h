#pragma once
// The secure-browsing check box of the Sites area: stores the choice and says how the
// box reads afterwards.
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::string_view kNimbraseCaption = "Nimbrase";
inline constexpr std::string_view kNimbraseNote =
    "With secure browsing enabled, all cookies, history and temporary files will be deleted as you browse "
    "web sites.";

struct NimbraseLook {
    std::string caption;
    bool bold = false;
};

NimbraseLook NimbraseLookFor(bool checked);
// Writes NIMBRASE "1" or "0" and returns the new look.
NimbraseLook ChooseNimbrase(const std::filesystem::path& profileFile, bool checked);

} // namespace kv
