#include "tools/secret_clipboard.h"

#include <memory>

namespace kv {

SecretClipboard::SecretClipboard(Clipboard& clipboard, Schedule schedule)
    : clipboard_(clipboard), schedule_(std::move(schedule))
{
}

void SecretClipboard::copy(std::string_view secret)
{
    clipboard_.clear();
    clipboard_.setText(secret);
    copied_.assign(secret);
    const std::uint64_t copyNumber = ++copies_;
    schedule_(kClipboardClearDelay, [this, alive = std::weak_ptr<const bool>(alive_), copyNumber] {
        if (!alive.expired())
            expire(copyNumber);
    });
}

void SecretClipboard::expire(std::uint64_t copyNumber)
{
    // A later copy has its own timer.
    if (copyNumber != copies_)
        return;
    if (!copied_.empty() && clipboard_.text() == copied_)
        clipboard_.clear();
    copied_.clear();
}

} // namespace kv
