#pragma once
// Between two timed logins the browser comes to rest, as it does between a user's: every
// window's page has loaded (a window closed in the middle of a navigation may stay open), the
// windows are closed (the peer awaits its page's closing too) and the next one is prepared.
#include "browser/chromium/chromium_session.h"
#include "browser/pending_logins.h"

#include <algorithm>
#include <chrono>
#include <functional>

namespace kv::bench {

// runUntil drives the browser until its condition holds or the limit passes.
using RunBrowserUntil = std::function<bool(const std::function<bool()>&, std::chrono::milliseconds)>;

inline void BringBrowserToRest(ChromiumSession& session, const PendingLogins& pending,
                               const RunBrowserUntil& runUntil)
{
    runUntil(
        [&] {
            const auto windows = session.windows();
            return pending.Count() == 0 && std::none_of(windows.begin(), windows.end(),
                                                        [](const auto& window) { return window->Busy(); });
        },
        std::chrono::seconds(5));
    for (const auto& window : session.windows())
        session.closeWindow(window->hwnd());
    runUntil([&] { return session.windows().empty() && session.windowPrepared(); }, std::chrono::seconds(10));
}

} // namespace kv::bench
