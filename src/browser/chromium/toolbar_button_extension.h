#pragma once
// The browser extension behind the toolbar button: a copy of the shipped extension that knows
// this run's front address, an address no page can guess. Opening it is how a click on the
// button reaches the program; the session answers the address itself.
#include <filesystem>
#include <optional>
#include <string>

namespace kv {

class ToolbarButtonExtension {
public:
    // shipped: the extension's folder among the program's data; folder: where the copy goes.
    ToolbarButtonExtension(std::filesystem::path shipped, std::filesystem::path folder);

    const std::string& frontAddress() const { return frontAddress_; }
    // Writes the copy; the folder to load, nothing when the copy could not be made.
    std::optional<std::filesystem::path> prepare() const;

private:
    std::filesystem::path shipped_;
    std::filesystem::path folder_;
    std::string frontAddress_;
};

} // namespace kv
