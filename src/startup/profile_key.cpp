#include "startup/profile_key.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kv {

namespace {
constexpr std::string_view kKeyAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// The largest multiple of 36 that fits a byte; bytes above it are redrawn so no character is favoured.
constexpr unsigned kUnbiasedLimit = 256 / kKeyAlphabet.size() * kKeyAlphabet.size();

// A byte stream that depends on every character of the mouse text.
class MouseStream {
public:
    explicit MouseStream(std::string_view text)
    {
        state_ = 0xcbf29ce484222325u;
        for (const char c : text) {
            state_ ^= static_cast<unsigned char>(c);
            state_ *= 0x100000001b3u;
        }
    }
    unsigned char next()
    {
        state_ += 0x9e3779b97f4a7c15u;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return static_cast<unsigned char>(z ^ (z >> 31));
    }

private:
    std::uint64_t state_;
};
} // namespace

std::string BuildProfileKey(std::string_view mouseText, const RandomFill& random)
{
    MouseStream mouse(mouseText);
    std::string key;
    std::array<unsigned char, 64> drawn{};
    while (key.size() < kProfileKeyLength) {
        random(drawn);
        for (const unsigned char byte : drawn) {
            // XOR with a value independent of the CSPRNG byte leaves that byte uniform.
            const unsigned mixed = byte ^ mouse.next();
            if (mixed < kUnbiasedLimit && key.size() < kProfileKeyLength)
                key += kKeyAlphabet[mixed % kKeyAlphabet.size()];
        }
    }
    std::fill(drawn.begin(), drawn.end(), 0);
    return key;
}

void MouseEntropy::addCursorPosition(int x, int y)
{
    std::string position = std::to_string(x) + std::to_string(y);
    if (position == lastPosition_)
        return;
    text_ += position;
    lastPosition_ = std::move(position);
}

int MouseEntropy::progress() const
{
    return static_cast<int>(std::min<std::size_t>(100, text_.size() * 100 / kMouseTextNeeded));
}

} // namespace kv
