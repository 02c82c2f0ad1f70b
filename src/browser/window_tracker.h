#pragma once
// Follows every window of the browser and keeps one sink connected to each. Any change of
// the window list throws all sinks away and builds new ones, so what a sink had recorded
// does not survive another window opening or closing.
#include "browser/automation.h"
#include "browser/browser_sink.h"

#include <memory>
#include <vector>

namespace kv {

class cIEWindows : public WindowListEvents {
public:
    // Builds the sinks of the windows open now and starts following the list.
    cIEWindows(WindowList& windowList, CaptureContext& context);
    ~cIEWindows() override;
    cIEWindows(const cIEWindows&) = delete;
    cIEWindows& operator=(const cIEWindows&) = delete;

    // 1-based; nullptr outside 1..Count().
    IE_Class* IE(int index) const;
    int Count() const { return static_cast<int>(windows_.size()); }
    auto begin() const { return windows_.begin(); }
    auto end() const { return windows_.end(); }

    void WindowRegistered() override;
    void WindowRevoked() override;

private:
    void RefreshWindows();
    void AddWindow(std::shared_ptr<Browser> browser);
    void releaseWindows();

    WindowList& winShell_;
    CaptureContext& context_;
    std::vector<std::shared_ptr<IE_Class>> windows_;
    bool busy_ = false;
    bool connected_ = false;
    bool refreshAgain_ = false; // a change arrived during a rebuild
};

} // namespace kv
