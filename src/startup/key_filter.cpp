#include "startup/key_filter.h"

#include <cctype>

namespace kv {

int FilterKeyPress(int keyAscii, std::string_view allowed, bool allowBackspace)
{
    if (keyAscii == kBackspaceKey)
        return allowBackspace ? keyAscii : 0;
    if (keyAscii <= 0 || keyAscii > 255)
        return 0;
    const int typed = std::tolower(keyAscii);
    for (const char c : allowed)
        if (std::tolower(static_cast<unsigned char>(c)) == typed)
            return keyAscii;
    return 0;
}

} // namespace kv
