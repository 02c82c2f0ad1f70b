#pragma once
// The desktop's own services: opening a file, folder or address with the program the user
// associated with it, and locking the session.
#include <string_view>

namespace kv {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Opens with the associated program; whether that worked is not known.
    virtual void open(std::string_view pathOrAddress) = 0;
    virtual void lockSession() = 0;
};

} // namespace kv
