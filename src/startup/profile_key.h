#pragma once
// The 25-character profile key: "0"-"9" and "A"-"Z", made from the system's CSPRNG
// with the user's mouse movements mixed in.
#include "storage/secure_random.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::size_t kProfileKeyLength = 25;
inline constexpr std::size_t kMouseTextNeeded = 1000;

// Every character is drawn uniformly from the CSPRNG; the mouse text is folded in on top,
// which keeps the draw uniform, so knowing the mouse text tells nothing about the key.
std::string BuildProfileKey(std::string_view mouseText, const RandomFill& random);

// The mouse text: decimal x then y of every cursor position that differs from the last one.
class MouseEntropy {
public:
    void addCursorPosition(int x, int y);
    bool enough() const { return text_.size() >= kMouseTextNeeded; }
    // 0 to 100.
    int progress() const;
    const std::string& text() const { return text_; }

private:
    std::string text_;
    std::string lastPosition_;
};

} // namespace kv
