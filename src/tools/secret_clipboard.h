#pragma once
// Passwords and logins put on the clipboard stay there for a short while only: after the
// delay the clipboard is emptied, unless something else has been copied since.
#include "platform/clipboard.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::chrono::seconds kClipboardClearDelay{30};

class SecretClipboard {
public:
    // Calls the function once after the delay (a single-shot timer of the event loop).
    using Schedule = std::function<void(std::chrono::milliseconds delay, std::function<void()> call)>;

    SecretClipboard(Clipboard& clipboard, Schedule schedule);
    SecretClipboard(const SecretClipboard&) = delete;
    SecretClipboard& operator=(const SecretClipboard&) = delete;

    void copy(std::string_view secret);

private:
    void expire(std::uint64_t copyNumber);

    Clipboard& clipboard_;
    Schedule schedule_;
    std::string copied_;
    std::uint64_t copies_ = 0;
    // A timer that fires after this object is gone finds the token expired and does nothing.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

} // namespace kv
