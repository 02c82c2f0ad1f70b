#pragma once
// The credits' movement: where each line is drawn in one frame, when to pause, and
// when to start again from below. Drawing itself is the widget's job.
#include "mainwindow/credits.h"

#include <functional>
#include <string>
#include <vector>

namespace kv {

inline constexpr int kCreditsFrameMs = 30;
inline constexpr int kCreditsPauseMs = 1000;

struct TextExtent {
    int width = 0;
    int height = 0;
};
// Measures a line's text in its font.
using MeasureText = std::function<TextExtent(const std::string& text, const CreditLine& look)>;

struct PlacedCreditLine {
    const std::string* text;
    const CreditLine* look;
    int left;
    int top;
};

struct CreditsFrame {
    std::vector<PlacedCreditLine> lines;
    int nextIntervalMs = kCreditsFrameMs;
};

class CreditsScroller {
public:
    // Rebuilds the lines and starts them just below the bottom edge.
    void start(int height, const std::string& text = CreditsText());
    // One frame for a buffer of the given size; moves the text up by one.
    CreditsFrame nextFrame(int width, int height, const MeasureText& measure);

    int scrollOffset() const { return scrollOffset_; }
    const Credits& credits() const { return credits_; }

private:
    Credits credits_;
    int scrollOffset_ = 0;
};

} // namespace kv
