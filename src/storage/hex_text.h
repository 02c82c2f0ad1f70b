#pragma once
// Binary data as text: uppercase two-digit hex pairs, optionally separated
// ("4A 00 FF"). The stored form of encrypted values and of binary registry data.
#include "storage/cipher_error.h"

#include <string>
#include <string_view>
#include <tl/expected.hpp>

namespace kv {

// The bytes as uppercase pairs with the first character of separator between
// pairs (none when separator is empty).
std::string HexEncode(std::string_view bytes, std::string_view separator);

// Pairs at offsets i * (separatorLength + 2); separator characters are not looked at.
// Text whose length does not fit that layout, or with any digit outside "0"-"9",
// "A"-"F" (lowercase included), is refused. "" decodes to no bytes.
tl::expected<std::string, CipherError> HexDecode(std::string_view text, int separatorLength);

} // namespace kv
