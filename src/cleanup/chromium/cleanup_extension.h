#pragma once
// The program's own browser extension, which reaches the history and the cache of the running
// browser from the inside (the DevTools protocol has no way to them). It is loaded into each
// browser process when first needed and spoken to through its service worker, which stays
// alive while we are attached to it.
#include "browser/chromium/chromium_session.h"
#include "support/task_timer.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>

namespace kv {

class CleanupExtension {
public:
    using Value = std::optional<nlohmann::json>;

    // directory holds the unpacked extension (its manifest.json).
    CleanupExtension(std::shared_ptr<ChromiumSession> session, std::filesystem::path directory,
                     TaskTimer& timer);
    ~CleanupExtension();
    CleanupExtension(const CleanupExtension&) = delete;
    CleanupExtension& operator=(const CleanupExtension&) = delete;

    // Calls one of the worker's functions ("historyAddresses()"); done gets what it returns, or
    // nullopt when the worker cannot be reached or the call fails. done runs once (unless this
    // object is gone first), possibly before call returns.
    void call(std::string expression, std::function<void(Value)> done);

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace kv
