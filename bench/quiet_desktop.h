#pragma once
// The main window and the desktop as the login benchmarks need them: present, and silent.
#include "browser/browser_host.h"
#include "platform/desktop_shell.h"

namespace kv::bench {

class QuietHost : public BrowserHost {
public:
    void activate() override {}
    void reloadSitesTree() override {}
    void secureBrowsingPass() override {}
    void showHotkeysArea() override {}
};

class NoDesktop : public DesktopShell {
public:
    void open(std::string_view) override {}
    void lockSession() override {}
};

} // namespace kv::bench
