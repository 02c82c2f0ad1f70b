#pragma once
// Opens a web address in the user's browser (help, news and maker pages).
#include <string_view>

namespace kv {

class UrlLauncher {
public:
    virtual ~UrlLauncher() = default;
    virtual void LaunchBrowser(std::string_view address) = 0;
};

} // namespace kv
