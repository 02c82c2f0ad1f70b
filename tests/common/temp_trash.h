#pragma once
// The real freedesktop trash, kept in a temp folder of its own so that tests never fill
// the user's trash.
#include "common/temp_dir.h"
#include "platform/freedesktop_trash.h"

namespace kv::test {

class TempTrash : public Trash {
public:
    bool moveToTrash(const std::filesystem::path& path) override { return trash_.moveToTrash(path); }

    // Where trashed items and their info files end up.
    std::filesystem::path files() const { return dir_ / "Trash" / "files"; }
    std::filesystem::path info() const { return dir_ / "Trash" / "info"; }

private:
    TempDir dir_;
    FreedesktopTrash trash_{dir_ / "Trash"};
};

} // namespace kv::test
