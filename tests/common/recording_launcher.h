#pragma once
// A launcher that records the addresses it was asked to open.
#include "browser/url_launcher.h"

#include <string>
#include <vector>

namespace kv::test {

class RecordingLauncher : public UrlLauncher {
public:
    void LaunchBrowser(std::string_view address) override { opened.emplace_back(address); }
    std::vector<std::string> opened;
};

} // namespace kv::test
