#pragma once
// The desktop's trash: what the user deletes can still be brought back from there.
#include <filesystem>

namespace kv {

class Trash {
public:
    virtual ~Trash() = default;
    // Moves the file or the folder with everything below it into the trash. False when it
    // could not be done; the file or folder then stays where it was.
    virtual bool moveToTrash(const std::filesystem::path& path) = 0;
};

} // namespace kv
