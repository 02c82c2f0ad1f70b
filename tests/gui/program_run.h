#pragma once
// The real program started on a private X display, with its configuration and runtime
// folders under a test's own root.
#include "mainwindow/main_window_texts.h"
#include "x_session.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kv::test {

inline std::filesystem::path ProgramPath()
{
    return std::filesystem::path(KV_BINARY_DIR) / "app" / "kestrelyn-vormaplex";
}

inline std::string MainWindowTitle()
{
    return std::string(kMainWindowCaption);
}

// root holds config/ (from MakeProgramProfile) and gets a private run/ folder; output: a
// file for what the program writes.
inline std::unique_ptr<ChildProcess> StartProgram(const XvfbDisplay& display,
                                                  const std::filesystem::path& root,
                                                  const std::filesystem::path& output = {})
{
    std::filesystem::create_directories(root / "run");
    std::filesystem::permissions(root / "run", std::filesystem::perms::owner_all);
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{ProgramPath().string()},
        std::map<std::string, std::string>{{"DISPLAY", display.name()},
                                           {"QT_QPA_PLATFORM", "xcb"},
                                           {"XDG_CONFIG_HOME", (root / "config").string()},
                                           {"XDG_DATA_HOME", (root / "data").string()},
                                           {"XDG_RUNTIME_DIR", (root / "run").string()}},
        output);
}

} // namespace kv::test
