#pragma once
// What the hide/show hotkey asks of the main window and the dialogs that belong to it.
namespace kv {

enum class HotkeyDialog {
    SaveSite,    // frmYes: a capture waits for the user's answer
    SiteDetails, // frmSiteDetails
    AddSite,     // frmWebsite
    AuditDetail, // frmChecksecure
};

class HideShowWindow {
public:
    virtual ~HideShowWindow() = default;
    virtual bool dialogOpen(HotkeyDialog dialog) const = 0;
    virtual void closeDialog(HotkeyDialog dialog) = 0;
    virtual bool windowVisible() const = 0;
    // Showing brings the window to the front.
    virtual void setWindowVisible(bool visible) = 0;
};

} // namespace kv
