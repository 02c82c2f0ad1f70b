#pragma once
// The user's base folders of the freedesktop base-directory rules, from the environment only:
// the variable when it holds an absolute path, else the folder below $HOME; empty when
// neither is set, so that nothing of the user's is ever put in a folder of nobody's choosing.
#include <filesystem>

namespace kv {

// $XDG_CONFIG_HOME, else $HOME/.config.
std::filesystem::path XdgConfigHome();
// $XDG_DATA_HOME, else $HOME/.local/share.
std::filesystem::path XdgDataHome();

} // namespace kv
