#include "support/parse_url.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace kv {

namespace {

constexpr auto npos = std::string_view::npos;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Numbers as the user's platform wrote them: blanks around, a sign, digits with a
// fraction and an exponent ("1e5"), or &H / &O literals.
bool IsNumeric(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.size() > 2 && text[0] == '&' &&
        (text[1] == 'H' || text[1] == 'h' || text[1] == 'O' || text[1] == 'o')) {
        const bool hex = text[1] == 'H' || text[1] == 'h';
        return std::all_of(text.begin() + 2, text.end(), [hex](char c) {
            return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c <= '7';
        });
    }
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (i == text.size() || !IsDigit(text[i]))
            return false;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
    }
    return i == text.size();
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    while (true) {
        const std::size_t at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == npos)
            return pieces;
        text.remove_prefix(at + 1);
    }
}

std::string_view Before(std::string_view text, char c)
{
    return text.substr(0, text.find(c));
}

std::string Protocol(std::string_view address)
{
    const std::size_t colon = address.find(':');
    std::size_t end = colon == npos ? 0 : colon + 1;
    while (end < address.size() && (address[end] == '/' || address[end] == '\\'))
        ++end;
    return std::string(address.substr(0, end));
}

// With a path, the path comes along less its last character; Domain relies on it.
std::string Server(std::string_view address)
{
    const std::string_view rest = address.substr(Protocol(address).size());
    std::string_view host = rest;
    if (rest.find('/') != npos)
        host = Before(rest, '/');
    else if (rest.find('\\') != npos)
        host = Before(rest, '\\');
    if (const std::size_t at = host.find('@'); at != npos)
        return std::string(host.substr(at + 1));
    if (rest.find('/') != npos)
        return std::string(rest.substr(0, rest.size() - 1));
    return std::string(rest);
}

// "host:port" without ":port"; an IPv6 literal ("[::1]") keeps its colons.
std::string_view WithoutPort(std::string_view host)
{
    const std::size_t colon = host.rfind(':');
    if (colon == npos || host.substr(colon).find(']') != npos)
        return host;
    const std::string_view port = host.substr(colon + 1);
    return std::all_of(port.begin(), port.end(), IsDigit) ? host.substr(0, colon) : host;
}

// The labels that say whether a host is a numeric address; a port is no label of it.
std::vector<std::string_view> HostLabels(std::string_view host)
{
    return Split(WithoutPort(host), '.');
}

// Hosts of three or more labels lose their first one ("www."), two-label hosts and
// numeric addresses stay whole, a port stays attached.
std::string Domain(std::string_view address)
{
    const std::string server = Server(address);
    const bool hasPath = server.find('/') != npos;
    const std::string_view host = Before(server, '/');
    const std::vector<std::string_view> hostLabels = HostLabels(host);
    if (std::any_of(hostLabels.begin(), hostLabels.end(), IsNumeric))
        return std::string(host);
    const std::vector<std::string_view> labels = Split(host, '.');
    if (labels.size() < 2)
        return {};
    if (hasPath)
        return std::string(labels.size() == 2 ? host : host.substr(labels[0].size() + 1));
    return std::string(labels[labels.size() - 2]) + "." + std::string(labels.back());
}

// The address without its fragment and query.
std::string_view Location(std::string_view address)
{
    return Before(Before(address, '#'), '?');
}

// Position just after the last separator, 0 when there is none.
std::size_t AfterLastSeparator(std::string_view text)
{
    const std::size_t at = text.find_last_of("/\\");
    return at == npos ? 0 : at + 1;
}

std::string Path(std::string_view address)
{
    const std::string_view location = Location(address);
    return std::string(location.substr(0, AfterLastSeparator(location)));
}

std::string File(std::string_view address)
{
    const std::string_view location = Location(address);
    const std::size_t start = AfterLastSeparator(location);
    return start == 0 ? std::string() : std::string(location.substr(start));
}

// The text after the last `mark`, up to the first `end` in it.
std::string Trailer(std::string_view address, char mark, char end)
{
    const std::size_t at = address.rfind(mark);
    return at == npos ? std::string() : std::string(Before(address.substr(at + 1), end));
}

} // namespace

std::string ParseUrl(std::string_view address, std::string_view component)
{
    if (component == "protocol")
        return Protocol(address);
    if (component == "server")
        return Server(address);
    if (component == "domain")
        return Domain(address);
    if (component == "path")
        return Path(address);
    if (component == "file")
        return File(address);
    if (component == "hash")
        return Trailer(address, '#', '?');
    if (component == "query")
        return Trailer(address, '?', '#');
    return {};
}

std::string SiteNameFromUrl(std::string_view address)
{
    std::string text(address);
    std::replace(text.begin(), text.end(), '/', '\\');
    std::string_view host = text;
    if (const std::size_t pair = host.find("\\\\"); pair != npos)
        host.remove_prefix(pair + 2);
    host = WithoutPort(Before(host, '\\'));

    // A numeric address is proposed as it stands, without a port: ":" is no name character.
    std::string digits(host);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    if (IsNumeric(digits))
        return std::string(host);
    const std::vector<std::string_view> labels = HostLabels(host);
    if (labels.size() < 2)
        return {};
    std::string name(labels[labels.size() - 2]);
    for (std::size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char>(i == 0 ? std::toupper(static_cast<unsigned char>(name[i]))
                                           : std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

} // namespace kv
