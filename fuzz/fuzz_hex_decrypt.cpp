// Stored text of an encrypted value from anywhere: hex decoding and the envelope
// check must refuse what is wrong without reading out of bounds.
#include "fuzz_check.h"
#include "storage/hex_text.h"
#include "storage/key_material.h"
#include "storage/secure_store.h"

#include <cstdint>
#include <string>
#include <string_view>

using kv::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the separator length, the rest is the text.
    const int separatorLength = data[0] % 4 - 1; // -1 .. 2
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto bytes = kv::HexDecode(text, separatorLength);
    if (bytes && separatorLength == 0)
        Require(kv::HexEncode(*bytes, "") == text);

    static const std::string key =
        kv::ValueKey(kv::VolumeSerialPart(0x12345678), "ABCDEFGHIJKLMNOPQRSTUVWXY");
    const auto plain = kv::DecryptValue(text, key);
    if (plain) {
        // Whatever decrypts must encrypt back to something that decrypts the same.
        Require(kv::DecryptValue(kv::HexEncode(kv::EncryptValue(*plain, key), " "), key) == *plain);
    }
    return 0;
}
