#include "hotkeys/hotkey_dispatch.h"

#include "hotkeys/hotkey_registration.h"
#include "startup/profile_settings.h"

#include <utility>

namespace kv {

HotkeyDispatch::HotkeyDispatch(HideShowWindow& window, std::function<void(int)> loginHotkeySites)
    : window_(window), loginHotkeySites_(std::move(loginHotkeySites))
{
}

void HotkeyDispatch::HotkeyPressed(int id)
{
    if (id == kHideShowHotkeyId)
        hideOrShow();
    else if (id >= 1 && id <= kSiteHotkeyCount && loginHotkeySites_)
        loginHotkeySites_(id);
}

void HotkeyDispatch::hideOrShow()
{
    // A capture waiting for its answer must not lose the window it belongs to.
    if (window_.dialogOpen(HotkeyDialog::SaveSite))
        return;
    for (HotkeyDialog dialog : {HotkeyDialog::SiteDetails, HotkeyDialog::AddSite, HotkeyDialog::AuditDetail})
        if (window_.dialogOpen(dialog))
            window_.closeDialog(dialog);
    window_.setWindowVisible(!window_.windowVisible());
}

} // namespace kv
