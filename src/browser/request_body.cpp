#include "browser/request_body.h"

#include <cctype>
#include <string>

namespace kv {
namespace {

std::string jsonEscaped(std::string_view value)
{
    std::string out;
    for (const char c : value) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

// As browsers send forms and URLSearchParams.
std::string formEncoded(std::string_view value)
{
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '*' || c == '-' || c == '.' || c == '_') {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0f];
        }
    }
    return out;
}

} // namespace

bool BodyCarries(std::string_view body, std::string_view value)
{
    if (value.empty())
        return false;
    return body.find(value) != std::string_view::npos ||
           body.find(jsonEscaped(value)) != std::string_view::npos ||
           body.find(formEncoded(value)) != std::string_view::npos;
}

} // namespace kv
