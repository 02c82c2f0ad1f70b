#pragma once
// One window of the program's Chromium (one page target); its id is the target id.
#include <memory>
#include <string>
#include <vector>

#include "browser/automation.h"

namespace kv {

class ChromiumSession;

class ChromiumBrowser : public Browser {
public:
    ChromiumBrowser(std::weak_ptr<ChromiumSession> session, std::string targetId);

    std::string hwnd() const override { return targetId_; }
    std::string LocationURL() override;
    std::string LocationName() override;
    ReadyState readyState() override;
    bool Busy() override;
    bool Visible() override;
    void setVisible(bool visible) override;
    bool Navigate(const std::string& url) override;
    bool Navigate(const std::string& url, const std::string& postData, const std::string& headers) override;
    bool setWindowState(WindowState state) override;
    bool print() override;
    std::optional<DocumentSnapshot> Document(const std::string& frameId = {}) override;
    bool setValue(const NodeRef& element, const std::string& value) override;
    bool click(const NodeRef& element) override;
    bool submit(const NodeRef& form) override;
    bool write(const std::string& frameId, const std::string& html) override;
    bool watchForPasswordField(const std::string& frameId, std::chrono::milliseconds limit) override;
    void subscribe(BrowserEvents& sink) override;
    void unsubscribe(BrowserEvents& sink) override;

    // The sinks connected now, for delivering one event.
    std::vector<BrowserEvents*> sinks() const { return sinks_; }
    bool subscribed(BrowserEvents* sink) const;

private:
    bool agentWrite(const NodeRef& ref, const char* function, const std::string& argument);

    std::weak_ptr<ChromiumSession> session_;
    std::string targetId_;
    std::vector<BrowserEvents*> sinks_;
};

} // namespace kv
