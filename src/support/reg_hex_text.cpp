// The registry class's text form of binary data: "4A 00 FF".
#include "support/reg_access.h"

#include "support/ascii_text.h"

#include <algorithm>

namespace kv {

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A piece of one or two characters read as hex up to its first non-hex character.
char ByteOfPiece(std::string_view piece)
{
    int value = 0;
    for (char c : piece) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return static_cast<char>(value);
}

} // namespace

std::string clsRegAccess::StrToBin(std::string& hexText)
{
    hexText.erase(std::remove(hexText.begin(), hexText.end(), ' '), hexText.end());
    // Half the length rounded half to even: a lone last digit counts only when the
    // number of complete pairs before it is odd.
    std::size_t pieces = hexText.size() / 2;
    if (hexText.size() % 2 == 1 && pieces % 2 == 1)
        ++pieces;
    std::string bytes;
    bytes.reserve(pieces);
    for (std::size_t i = 0; i < pieces; ++i)
        bytes += ByteOfPiece(std::string_view(hexText).substr(2 * i, 2));
    return bytes;
}

std::string clsRegAccess::BinToStr(const std::string& data)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(data.size() * 3);
    for (unsigned char byte : data) {
        text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

bool clsRegAccess::isBinValid(const std::string& hexText)
{
    std::string text = UpperCaseAscii(hexText);
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return !text.empty() && text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

} // namespace kv
