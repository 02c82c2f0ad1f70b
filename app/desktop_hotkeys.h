#pragma once
// The program's system-wide hotkeys: key grabs of the X server where the program runs under
// one (also Xwayland), else the desktop portal's global shortcuts; registration from the
// profile, and presses dispatched to the main window and the login engine.
#include "hotkeys/hotkey_dispatch.h"
#include "hotkeys/hotkey_registration.h"
#include "hotkeys/key_tables.h"
#include "mainwindow/options_frame.h"
#include "mainwindow/options_panel.h"
#include "platform/qt_portal_global_hotkeys.h"
#include "platform/qt_x11_hotkey_pump.h"
#include "platform/x11_global_hotkeys.h"

#include <QDBusConnection>
#include <QGuiApplication>

#include <functional>
#include <memory>

namespace kv {

class DesktopHotkeys : public HideShowHotkey {
public:
    DesktopHotkeys(Dialogs& dialogs, const std::filesystem::path& profileFile)
        : hotkeys_(Choose()), registration_(*hotkeys_, dialogs, profileFile)
    {
    }

    HotkeyRegistration& registration() { return registration_; }

    // The options panel changes the hide/show hotkey alone.
    bool registerHideShow(std::string_view holdKeyName, std::string_view pressKeyName) override
    {
        return registration_.registerHideShow(holdKeyName, pressKeyName);
    }
    void unregisterHideShow() override { registration_.unregisterHideShow(); }

    // The names the options panel offers for it, in the order of its lists.
    static HotkeyNameLists OfferedNames()
    {
        HotkeyNameLists names{{kHoldKeyNames.begin(), kHoldKeyNames.end()}, PressKeyNamesAsDesigned()};
        for (std::string& name : PressKeyNamesAddedAtLoad())
            names.pressKeys.push_back(std::move(name));
        return names;
    }

    // Presses reach the window once it exists.
    void dispatchTo(HideShowWindow& window, std::function<void(int hotkeyNumber)> loginHotkeySites)
    {
        dispatch_ = std::make_unique<HotkeyDispatch>(window, std::move(loginHotkeySites));
        registration_.setPressedHandler([this](int id) { dispatch_->HotkeyPressed(id); });
    }

private:
    std::unique_ptr<GlobalHotkeys> Choose()
    {
        // A Wayland program sees no keys through Xwayland unless one of its X windows has
        // the focus: there only the portal reaches the whole desktop.
        if (QGuiApplication::platformName() != "wayland") {
            if (auto x11 = X11GlobalHotkeys::connect()) {
                pump_ = std::make_unique<QtX11HotkeyPump>(*x11);
                return x11;
            }
        }
        return std::make_unique<QtPortalGlobalHotkeys>(QDBusConnection::sessionBus());
    }

    std::unique_ptr<QtX11HotkeyPump> pump_;
    std::unique_ptr<GlobalHotkeys> hotkeys_;
    HotkeyRegistration registration_;
    std::unique_ptr<HotkeyDispatch> dispatch_;
};

} // namespace kv
