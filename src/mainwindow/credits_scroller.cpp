#include "mainwindow/credits_scroller.h"

#include <cmath>

namespace kv {

void CreditsScroller::start(int height, const std::string& text)
{
    credits_ = ParseCredits(text);
    scrollOffset_ = height;
}

CreditsFrame CreditsScroller::nextFrame(int width, int height, const MeasureText& measure)
{
    CreditsFrame frame;
    int y = 0;
    const int last = credits_.lastIndex();
    for (int i = 0; i <= last; ++i) {
        const std::string& text = credits_.texts[static_cast<std::size_t>(i)];
        const CreditLine& look = credits_.lines[static_cast<std::size_t>(i)];
        if (!look.SameLine)
            y += look.FontSize + 6;
        TextExtent extent = measure(text, look);
        int top = scrollOffset_ + y;
        int left = 0;
        switch (look.Align) {
        case CreditAlign::Left:
            left = 5;
            break;
        case CreditAlign::Right:
            left = width - extent.width - 5;
            break;
        case CreditAlign::Centre:
            left = static_cast<int>(std::lround(width / 2.0 - extent.width / 2.0));
            break;
        }
        if (look.PauseHere && top == static_cast<int>(std::lround(height / 2.0 - extent.height / 2.0)))
            frame.nextIntervalMs = kCreditsPauseMs;
        if (i == last && top < -(extent.height + 10))
            scrollOffset_ = height + 10;
        frame.lines.push_back({&text, &look, left, top});
    }
    --scrollOffset_;
    return frame;
}

} // namespace kv
