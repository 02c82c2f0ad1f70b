#include "support/window_geometry.h"

namespace kv {

WindowRect CentreOnScreen(const WindowRect& window, const ScreenSize& screen)
{
    WindowRect centred = window;
    centred.left = (screen.width - window.width) / 2;
    centred.top = (screen.height - window.height) / 2;
    return centred;
}

WindowRect CentreOverForm(const WindowRect& parent, const WindowRect& child)
{
    WindowRect centred = child;
    centred.left = parent.left + parent.width / 2 - child.width / 2;
    centred.top = parent.top + parent.height / 2 - child.height / 2;
    return centred;
}

} // namespace kv
