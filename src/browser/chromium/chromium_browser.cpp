#include "browser/chromium/chromium_browser.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "browser/chromium/chromium_session.h"
#include "browser/chromium/snapshot_json.h"

namespace kv {

namespace {

using Json = nlohmann::json;

const char* StateName(WindowState state)
{
    switch (state) {
    case WindowState::Maximized:
        return "maximized";
    case WindowState::Minimized:
        return "minimized";
    case WindowState::Normal:
        break;
    }
    return "normal";
}

} // namespace

ChromiumBrowser::ChromiumBrowser(std::weak_ptr<ChromiumSession> session, std::string targetId)
    : session_(std::move(session)), targetId_(std::move(targetId))
{
}

std::string ChromiumBrowser::LocationURL()
{
    auto session = session_.lock();
    if (!session)
        return {};
    if (const auto* f = session->frame(targetId_); f && !f->url.empty())
        return f->url;
    const auto* t = session->target(targetId_);
    return t ? t->url : std::string();
}

std::string ChromiumBrowser::LocationName()
{
    auto session = session_.lock();
    const auto* t = session ? session->target(targetId_) : nullptr;
    if (!t)
        return {};
    // The browser's own idea of the title lags behind the page (and reads as the address until
    // it catches up); the page's last snapshot knows the title it had then.
    const auto* f = session->frame(targetId_);
    if (f && f->last && f->last->url == f->url && !f->last->title.empty())
        return f->last->title;
    return t->title;
}

ReadyState ChromiumBrowser::readyState()
{
    auto session = session_.lock();
    const auto* f = session ? session->frame(targetId_) : nullptr;
    if (!f)
        return ReadyState::Uninitialized;
    return f->loaded ? ReadyState::Complete : ReadyState::Loading;
}

bool ChromiumBrowser::Busy()
{
    auto session = session_.lock();
    const auto* t = session ? session->target(targetId_) : nullptr;
    return t && t->busy;
}

bool ChromiumBrowser::Visible()
{
    auto session = session_.lock();
    const auto* t = session ? session->target(targetId_) : nullptr;
    return t && t->visible;
}

void ChromiumBrowser::setVisible(bool visible)
{
    auto session = session_.lock();
    auto* t = session ? session->target(targetId_) : nullptr;
    if (!t)
        return;
    t->visible = visible;
    // A window still minimised as it was prepared comes up; one the browser shows is left as it is.
    if (visible)
        session->showWindow(targetId_);
}

bool ChromiumBrowser::Navigate(const std::string& url)
{
    auto session = session_.lock();
    const auto* t = session ? session->target(targetId_) : nullptr;
    if (!t || !session->client_)
        return false;
    // Not waited for: the answer comes only once the server has answered.
    return session->client_->send("Page.navigate", {{"url", url}}, t->sessionId);
}

bool ChromiumBrowser::Navigate(const std::string& url, const std::string& postData,
                               const std::string& headers)
{
    auto session = session_.lock();
    auto* t = session ? session->target(targetId_) : nullptr;
    if (!t || !session->client_)
        return false;
    // The navigation's request is paused and sent on as a POST of exactly these bytes.
    t->post = ChromiumSession::PendingPost{url, postData, headers};
    return session->client_->send("Page.navigate", {{"url", url}}, t->sessionId);
}

bool ChromiumBrowser::setWindowState(WindowState state)
{
    auto session = session_.lock();
    auto* t = session ? session->target(targetId_) : nullptr;
    if (!t || !session->client_)
        return false;
    // The program chose the state: showing the window later must not undo it.
    t->hidden = false;
    // Not waited for: a login opening many windows must not wait for each to change its state.
    // The browser handles a window's commands in the order they were sent.
    return session->client_->send(
        "Browser.getWindowForTarget", {{"targetId", targetId_}}, {},
        [weak = session_, state](const std::optional<Json>& window) {
            auto session = weak.lock();
            if (!session || !session->client_ || !window || !window->contains("windowId"))
                return;
            const Json windowId = (*window)["windowId"];
            const auto bounds = [windowId](WindowState to) {
                return Json{{"windowId", windowId}, {"bounds", {{"windowState", StateName(to)}}}};
            };
            session->client_->send("Browser.setWindowBounds", bounds(state), {},
                                   [weak, bounds, state](const std::optional<Json>& set) {
                                       auto session = weak.lock();
                                       if (set || !session || !session->client_)
                                           return;
                                       // Going from one special state to the other passes through the normal
                                       // one.
                                       session->client_->send("Browser.setWindowBounds",
                                                              bounds(WindowState::Normal));
                                       session->client_->send("Browser.setWindowBounds", bounds(state));
                                   });
        });
}

bool ChromiumBrowser::print()
{
    auto session = session_.lock();
    const auto* f = session ? session->frame(targetId_) : nullptr;
    if (!f || !f->contextId || !session->client_)
        return false;
    // Not waited for: the print dialog holds the page until the user closes it.
    return session->client_->send(
        "Runtime.evaluate", {{"expression", "window.print()"}, {"contextId", f->contextId}}, f->sessionId);
}

std::optional<DocumentSnapshot> ChromiumBrowser::Document(const std::string& frameId)
{
    auto session = session_.lock();
    const std::string id = frameId.empty() ? targetId_ : frameId;
    const auto* f = session ? session->frame(id) : nullptr;
    if (!f || f->targetId != targetId_ || f->agentId.empty())
        return std::nullopt;
    const std::string agentId = f->agentId;
    const auto text =
        session->callAgent(agentId, "function () { return globalThis.__kvAgent.snapshot(); }", Json::array());
    if (!text || !text->is_string())
        return std::nullopt;
    return session->readSnapshot(Json::parse(text->get<std::string>(), nullptr, false), agentId, id);
}

bool ChromiumBrowser::agentWrite(const NodeRef& ref, const char* function, const std::string& argument)
{
    auto session = session_.lock();
    if (!session || !ref.valid())
        return false;
    const std::string call = std::string("function (id, value) { return globalThis.__kvAgent.") + function +
                             "(id, value) === true; }";
    const auto result = session->callAgent(ref.documentId, call, Json::array({ref.node, argument}));
    return result && result->is_boolean() && result->get<bool>();
}

bool ChromiumBrowser::setValue(const NodeRef& element, const std::string& value)
{
    return agentWrite(element, "setValue", value);
}

bool ChromiumBrowser::click(const NodeRef& element)
{
    return agentWrite(element, "click", {});
}

bool ChromiumBrowser::submit(const NodeRef& form)
{
    return agentWrite(form, "submit", {});
}

bool ChromiumBrowser::write(const std::string& frameId, const std::string& html)
{
    auto session = session_.lock();
    const std::string id = frameId.empty() ? targetId_ : frameId;
    const auto* f = session ? session->frame(id) : nullptr;
    if (!f || f->targetId != targetId_)
        return false;
    const std::string sessionId = f->sessionId;
    return session->call("Page.setDocumentContent", {{"frameId", id}, {"html", html}}, sessionId).has_value();
}

bool ChromiumBrowser::watchForPasswordField(const std::string& frameId, std::chrono::milliseconds limit)
{
    auto session = session_.lock();
    const std::string id = frameId.empty() ? targetId_ : frameId;
    const auto* f = session ? session->frame(id) : nullptr;
    if (!f || f->targetId != targetId_ || f->agentId.empty())
        return false;
    const auto result = session->callAgent(
        f->agentId, "function (ms) { return globalThis.__kvAgent.watch(ms); }", Json::array({limit.count()}));
    return result && result->is_boolean() && result->get<bool>();
}

void ChromiumBrowser::subscribe(BrowserEvents& sink)
{
    if (!subscribed(&sink))
        sinks_.push_back(&sink);
}

void ChromiumBrowser::unsubscribe(BrowserEvents& sink)
{
    std::erase(sinks_, &sink);
}

bool ChromiumBrowser::subscribed(BrowserEvents* sink) const
{
    return std::find(sinks_.begin(), sinks_.end(), sink) != sinks_.end();
}

} // namespace kv
