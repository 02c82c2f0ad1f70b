#pragma once
// The program's entry in the desktop's application menu: a desktop entry in
// <data home>/applications and the program's icon in the hicolor icon theme below
// <data home>/icons, where every freedesktop menu looks for them.
#include <filesystem>

namespace kv {

class XdgLauncher {
public:
    // dataHome empty: there is nowhere to put the launcher; it never exists.
    XdgLauncher(std::filesystem::path dataHome, std::filesystem::path program, std::filesystem::path icon);

    // False when the entry could not be written; the icon is best effort.
    bool install() const;
    void remove() const;
    bool installed() const;

    std::filesystem::path entryFile() const;
    std::filesystem::path iconFile() const;

private:
    std::filesystem::path dataHome_;
    std::filesystem::path program_;
    std::filesystem::path icon_;
};

} // namespace kv
