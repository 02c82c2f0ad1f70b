#include "browser/chromium/toolbar_button_extension.h"

#include "storage/atomic_file.h"
#include "storage/hex_text.h"
#include "storage/secure_random.h"

#include <array>
#include <fstream>
#include <iterator>

namespace kv {

namespace {
namespace fs = std::filesystem;

constexpr std::string_view kScript = "button.js";
constexpr std::string_view kAddressMark = "@FRONT_ADDRESS@";
// A name that never resolves: should the session miss a request, it goes nowhere.
constexpr std::string_view kFrontAddressStart = "https://kestrelyn-vormaplex.invalid/front/";

std::string RandomToken()
{
    std::array<unsigned char, 16> bytes{};
    FillSecureRandom(bytes);
    return HexEncode(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), "");
}

} // namespace

ToolbarButtonExtension::ToolbarButtonExtension(fs::path shipped, fs::path folder)
    : shipped_(std::move(shipped)), folder_(std::move(folder)),
      frontAddress_(std::string(kFrontAddressStart) + RandomToken())
{
}

std::optional<fs::path> ToolbarButtonExtension::prepare() const
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::replace, ec);
    if (ec)
        return std::nullopt;
    std::string script;
    for (const fs::directory_entry& entry : fs::directory_iterator(shipped_, ec)) {
        if (entry.path().filename() == kScript) {
            std::ifstream in(entry.path(), std::ios::binary);
            script.assign(std::istreambuf_iterator<char>(in), {});
        } else if (entry.is_regular_file()) {
            fs::copy_file(entry.path(), folder_ / entry.path().filename(),
                          fs::copy_options::overwrite_existing, ec);
        }
        if (ec)
            return std::nullopt;
    }
    const std::size_t mark = script.find(kAddressMark);
    if (ec || mark == std::string::npos)
        return std::nullopt;
    script.replace(mark, kAddressMark.size(), frontAddress_);
    if (!ReplaceFileWhole(folder_ / kScript, script))
        return std::nullopt;
    return folder_;
}

} // namespace kv
