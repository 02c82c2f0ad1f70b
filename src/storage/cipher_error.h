#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// A stored value that cannot be turned back into text: wrong key material,
// damaged hex text or envelope. Carries the cipher's error number and text.
struct CipherError {
    std::int32_t number = 0;
    std::string description;
};

// The envelope of a decrypted buffer does not hold a plausible length: almost
// always a wrong key or a damaged value. 0x80040000, the base of object-defined errors.
inline constexpr std::int32_t kBlowfishSizeErrorNumber = -2147221504;
inline constexpr std::string_view kBlowfishSizeErrorText = "Incorrect size descriptor in Blowfish decryption";

// Stored text that is not hex pairs of "0"-"9" and "A"-"F" in the expected layout.
inline constexpr std::int32_t kHexTextErrorNumber = -2147221503;
inline constexpr std::string_view kHexTextErrorText = "Invalid hex text in encrypted value";

inline CipherError BlowfishSizeError()
{
    return {kBlowfishSizeErrorNumber, std::string(kBlowfishSizeErrorText)};
}

inline CipherError HexTextError()
{
    return {kHexTextErrorNumber, std::string(kHexTextErrorText)};
}

} // namespace kv
