#pragma once
// The desktop's clipboard, for text.
#include <string>
#include <string_view>

namespace kv {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    // Replaces what the clipboard held.
    virtual void setText(std::string_view text) = 0;
    virtual void clear() = 0;
};

} // namespace kv
