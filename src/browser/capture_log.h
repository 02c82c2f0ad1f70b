#pragma once
// The main window's log list: one line per capture decision, newest last. Nothing reads it
// back; the window shows it and is told of every new line.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kv {

class CaptureLog {
public:
    using Listener = std::function<void(const std::string& line)>;

    void add(std::string line)
    {
        lines_.push_back(std::move(line));
        if (listener_)
            listener_(lines_.back());
    }
    const std::vector<std::string>& lines() const { return lines_; }
    void onAdded(Listener listener) { listener_ = std::move(listener); }

private:
    std::vector<std::string> lines_;
    Listener listener_;
};

} // namespace kv
