#include "storage/hex_text.h"

#include <array>
#include <cstdint>

namespace kv {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr std::uint8_t kNotADigit = 0xFF;

// Value of every byte as a hex digit; only "0"-"9" and "A"-"F" decode.
constexpr std::array<std::uint8_t, 256> makeDigitValues()
{
    std::array<std::uint8_t, 256> values{};
    values.fill(kNotADigit);
    for (std::uint8_t i = 0; i < 16; ++i)
        values[static_cast<unsigned char>(kDigits[i])] = i;
    return values;
}
constexpr auto kDigitValues = makeDigitValues();

} // namespace

std::string HexEncode(std::string_view bytes, std::string_view separator)
{
    if (bytes.empty())
        return {};
    const bool separated = !separator.empty();
    const std::size_t stride = separated ? 3 : 2;
    std::string text(bytes.size() * stride - (separated ? 1 : 0), separated ? separator.front() : '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i * stride] = kDigits[byte >> 4];
        text[i * stride + 1] = kDigits[byte & 0x0F];
    }
    return text;
}

tl::expected<std::string, CipherError> HexDecode(std::string_view text, int separatorLength)
{
    if (separatorLength < 0)
        return tl::unexpected(HexTextError());
    if (text.empty())
        return std::string();
    const std::size_t separator = static_cast<std::size_t>(separatorLength);
    const std::size_t stride = separator + 2;
    // n pairs take n * stride - separator characters; anything else is damaged text.
    if ((text.size() + separator) % stride != 0)
        return tl::unexpected(HexTextError());
    const std::size_t count = (text.size() + separator) / stride;
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t high = kDigitValues[static_cast<unsigned char>(text[i * stride])];
        const std::uint8_t low = kDigitValues[static_cast<unsigned char>(text[i * stride + 1])];
        if ((high | low) == kNotADigit)
            return tl::unexpected(HexTextError());
        bytes[i] = static_cast<char>(high << 4 | low);
    }
    return bytes;
}

} // namespace kv
