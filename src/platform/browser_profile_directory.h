#pragma once
// Where the program's own browser keeps its profile, apart from the user's everyday browser.
#include <filesystem>

namespace kv {

// $XDG_DATA_HOME/kestrelyn-vormaplex/chromium, else ~/.local/share/…; with neither set, the
// same below $XDG_RUNTIME_DIR when that is this user's private folder. Otherwise empty, and
// the browser does not start: its cookies and history are never left in a shared folder.
std::filesystem::path BrowserProfileDirectory();

} // namespace kv
