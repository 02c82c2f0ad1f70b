#include "browser/window_tracker.h"

namespace kv {

cIEWindows::cIEWindows(WindowList& windowList, CaptureContext& context)
    : winShell_(windowList), context_(context)
{
    RefreshWindows();
}

cIEWindows::~cIEWindows()
{
    if (connected_)
        winShell_.unsubscribe(*this);
    releaseWindows();
}

IE_Class* cIEWindows::IE(int index) const
{
    if (index < 1 || index > Count())
        return nullptr;
    return windows_[static_cast<std::size_t>(index - 1)].get();
}

void cIEWindows::WindowRegistered()
{
    RefreshWindows();
}

void cIEWindows::WindowRevoked()
{
    RefreshWindows();
}

void cIEWindows::RefreshWindows()
{
    // A change reported while the list is being rebuilt gets its own rebuild afterwards,
    // so the sinks always end up matching the list.
    if (busy_) {
        refreshAgain_ = true;
        return;
    }
    busy_ = true;
    do {
        refreshAgain_ = false;
        releaseWindows();
        for (auto& browser : winShell_.windows())
            AddWindow(std::move(browser));
        if (!connected_) {
            winShell_.subscribe(*this);
            connected_ = true;
        }
    } while (refreshAgain_);
    busy_ = false;
}

void cIEWindows::AddWindow(std::shared_ptr<Browser> browser)
{
    auto sink = std::make_shared<IE_Class>(context_);
    sink->IEctl(std::move(browser));
    windows_.push_back(std::move(sink));
}

void cIEWindows::releaseWindows()
{
    // Disconnect at once; a sink still inside one of its handlers lives until it returns.
    for (auto& sink : windows_)
        sink->IEctl(nullptr);
    windows_.clear();
}

} // namespace kv
