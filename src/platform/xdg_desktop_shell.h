#pragma once
// The desktop services of a freedesktop session: xdg-open, and loginctl lock-session with
// xdg-screensaver lock as fallback. Programs are started detached; nothing waits for them
// beyond the lock command's own exit.
#include "platform/desktop_shell.h"

namespace kv {

class XdgDesktopShell : public DesktopShell {
public:
    void open(std::string_view pathOrAddress) override;
    void lockSession() override;
};

} // namespace kv
