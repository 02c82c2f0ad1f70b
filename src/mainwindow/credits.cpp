#include "mainwindow/credits.h"

#include <cctype>

namespace kv {
namespace {

CreditAlign ParseAlign(std::string& line, const CreditLine* previous)
{
    if (RemoveTag(line, "<AL>"))
        return CreditAlign::Left;
    if (RemoveTag(line, "<AC>"))
        return CreditAlign::Centre;
    if (RemoveTag(line, "<AR>"))
        return CreditAlign::Right;
    return previous ? previous->Align : CreditAlign::Centre;
}

// Both tags are always removed; an opening tag wins over a closing one.
bool ParseSwitch(std::string& line, const std::string& open, const std::string& close, bool inherited)
{
    bool opened = RemoveTag(line, open);
    bool closed = RemoveTag(line, close);
    if (opened)
        return true;
    if (closed)
        return false;
    return inherited;
}

// "<F" and two digits and ">"; a tag without two digits is left as text.
int ParseFontSize(std::string& line, int inherited)
{
    std::size_t at = line.find("<F");
    if (at == std::string::npos || at + 3 >= line.size() ||
        !std::isdigit(static_cast<unsigned char>(line[at + 2])) ||
        !std::isdigit(static_cast<unsigned char>(line[at + 3])))
        return inherited;
    int size = (line[at + 2] - '0') * 10 + (line[at + 3] - '0');
    line.erase(at, 5);
    return size;
}

} // namespace

std::string CreditsText()
{
    return "<F22>Kestrelyn Vormaplex\r\n"
           "\r\n"
           "<F10>\r\n"
           "\r\n"
           "<F13>Special thanks to everyone involved!\r\n";
}

bool RemoveTag(std::string& line, const std::string& tag)
{
    if (tag.empty())
        return false;
    bool found = false;
    for (std::size_t at = line.find(tag); at != std::string::npos; at = line.find(tag, at)) {
        line.erase(at, tag.size());
        found = true;
    }
    return found;
}

Credits ParseCredits(const std::string& text)
{
    Credits credits;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        std::string line = text.substr(start, end - start);
        start = end + 2;
        const CreditLine* previous = credits.lines.empty() ? nullptr : &credits.lines.back();
        CreditLine look;
        look.Align = ParseAlign(line, previous);
        look.Bold = ParseSwitch(line, "<B>", "</B>", previous ? previous->Bold : true);
        look.Italic = ParseSwitch(line, "<I>", "</I>", previous ? previous->Italic : true);
        look.PauseHere = RemoveTag(line, "<P>");
        look.SameLine = RemoveTag(line, "<PL>");
        look.FontSize = ParseFontSize(line, previous ? previous->FontSize : 12);
        credits.texts.push_back(std::move(line));
        credits.lines.push_back(look);
    }
    return credits;
}

} // namespace kv
