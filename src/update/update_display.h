#pragma once
// What an update check shows in the main window: its caption, the Updates area's status and
// download labels and its progress bar.
#include <string_view>

namespace kv {

class UpdateDisplay {
public:
    virtual ~UpdateDisplay() = default;
    virtual void setCaption(std::string_view caption) = 0;
    // Back to the window's own caption.
    virtual void restoreCaption() = 0;
    virtual void setStatus(std::string_view text) = 0;       // lblUpdateStatus
    virtual void setDownloadText(std::string_view text) = 0; // lblDownload
    virtual void showProgress(bool shown) = 0;               // prgDownload
    virtual void setProgress(int percent) = 0;
    virtual bool windowVisible() const = 0;
};

} // namespace kv
