#pragma once
// The freedesktop.org trash: the user's home trash ($XDG_DATA_HOME/Trash) for what lies on
// its filesystem, the trash at the top of another filesystem for the rest. Items are only
// ever renamed into a trash, never copied, so trashing is as quick and as safe as a rename.
#include "platform/trash.h"

namespace kv {

class FreedesktopTrash : public Trash {
public:
    // homeTrash: the home trash folder; DefaultHomeTrash() for the user's own.
    explicit FreedesktopTrash(std::filesystem::path homeTrash);

    bool moveToTrash(const std::filesystem::path& path) override;

    // $XDG_DATA_HOME/Trash, or ~/.local/share/Trash; empty when neither can be found.
    static std::filesystem::path DefaultHomeTrash();

private:
    std::filesystem::path homeTrash_;
};

// The Path value of a trash info file: the absolute path with every byte outside the
// unreserved URI characters and "/" written as %XX.
std::string TrashInfoPath(const std::filesystem::path& absolutePath);

} // namespace kv
