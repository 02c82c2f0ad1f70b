#pragma once
// What the main window's logic asks of the window that shows it.
#include <utility>

namespace kv {

struct TwipPoint {
    int left = 0;
    int top = 0;
};

class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    // Marks the bar item; the bar then reports the selection as a click would.
    virtual void selectBarPosition(int position) = 0;
    // Hides every area frame, sub-frame and the about elements, empties the site tree
    // and stops the credits.
    virtual void hideAllAreas() = 0;
    // Shows the frame of the area and refreshes its content.
    virtual void showArea(int barId) = 0;
    virtual void reloadSitesTree() = 0;
    virtual void closeWindow() = 0;
    virtual TwipPoint windowPosition() const = 0;
};

} // namespace kv
