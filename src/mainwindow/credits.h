#pragma once
// The About area's credits: the text with its inline markup and the parser that turns
// it into lines with their look.
#include <string>
#include <vector>

namespace kv {

enum class CreditAlign : int { Left = 0, Right = 1, Centre = 2 };

struct CreditLine {
    bool Bold = true;
    bool Italic = true;
    int FontSize = 12;
    CreditAlign Align = CreditAlign::Centre;
    bool PauseHere = false; // "<P>": the scroll pauses when the line reaches the middle
    bool SameLine = false;  // "<PL>": drawn at the height of the line before
};

struct Credits {
    std::vector<std::string> texts; // tags removed
    std::vector<CreditLine> lines;
    int lastIndex() const { return static_cast<int>(lines.size()) - 1; }
};

std::string CreditsText();
// Only lines ended by CR LF count; text after the last pair is ignored.
Credits ParseCredits(const std::string& text);
// Removes every occurrence of tag (case-sensitive); true when one was found.
bool RemoveTag(std::string& line, const std::string& tag);

} // namespace kv
