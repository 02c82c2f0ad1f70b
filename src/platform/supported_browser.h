#pragma once
// Where the browser the program drives is installed.
#include <filesystem>

namespace kv {

// Chromium's own program, else the first of chromium, chromium-browser, google-chrome on
// the PATH; empty when none is installed.
std::filesystem::path FindSupportedBrowser();

} // namespace kv
