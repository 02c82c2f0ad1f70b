#include "support/utf8_text.h"

namespace kv {

bool IsValidUtf8(std::string_view text)
{
    const auto* byte = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = byte + text.size();
    while (byte < end) {
        const unsigned char lead = *byte;
        if (lead < 0x80) {
            ++byte;
            continue;
        }
        int length = 0;
        char32_t code = 0, minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (end - byte < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((byte[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (byte[i] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        byte += length;
    }
    return true;
}

} // namespace kv
