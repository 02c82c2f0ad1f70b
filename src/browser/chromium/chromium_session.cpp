#include "browser/chromium/chromium_session.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>
#include <utility>

#include "browser/chromium/base64.h"
#include "browser/chromium/chromium_browser.h"
#include "browser/chromium/page_agent.h"
#include "browser/chromium/post_headers.h"
#include "browser/chromium/snapshot_json.h"
#include "support/ascii_text.h"

namespace kv {

namespace {

// How long after the user's submit or click a request of the page's script still carries it
// out (pages check the fields or fetch a token first).
constexpr auto kScriptLoginDelay = std::chrono::seconds(10);

using Json = nlohmann::json;

std::string Text(const Json& object, const char* key)
{
    if (!object.is_object())
        return {};
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

long Number(const Json& object, const char* key)
{
    if (!object.is_object())
        return 0;
    const auto it = object.find(key);
    return it != object.end() && it->is_number_integer() ? it->get<long>() : 0;
}

const Json& Member(const Json& object, const char* key)
{
    static const Json none;
    if (!object.is_object())
        return none;
    const auto it = object.find(key);
    return it != object.end() ? *it : none;
}

std::string RandomName()
{
    std::random_device device;
    std::string name = "kv";
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", device());
        name += part;
    }
    return name;
}

} // namespace

std::shared_ptr<ChromiumSession> ChromiumSession::create(ChromiumOptions options)
{
    return std::shared_ptr<ChromiumSession>(new ChromiumSession(std::move(options)));
}

ChromiumSession::ChromiumSession(ChromiumOptions options)
    : options_(std::move(options)), bindingName_(RandomName()), agentSource_(PageAgentSource(bindingName_))
{
}

ChromiumSession::~ChromiumSession()
{
    shutdown();
    queue_.clear();
}

// ---- the browser process ------------------------------------------------------------------

bool ChromiumSession::start()
{
    // A browser that ended without our noticing (nothing was read since) is replaced: what it
    // left in the pipe, its hang-up included, is read now.
    if (client_)
        processIncoming();
    if (client_)
        return true;
    process_ = ChromiumProcess::start(options_);
    if (!process_)
        return false;
    client_ = std::make_unique<CdpClient>(process_->pipe(), options_.callTimeout);
    client_->setEventHandler([this](const std::string& sessionId, const std::string& method,
                                    const Json& params) { onEvent(sessionId, method, params); });
    if (!client_->call("Target.setDiscoverTargets", {{"discover", true}}, {}, options_.startTimeout) ||
        !client_->call("Target.setAutoAttach",
                       {{"autoAttach", true},
                        {"waitForDebuggerOnStart", true},
                        {"flatten", true},
                        {"filter", Json::array({{{"type", "page"}}})}},
                       {}, options_.callTimeout)) {
        disconnect(false);
        return false;
    }
    interceptReservedAddress();
    if (readFdChanged_)
        readFdChanged_(readFd());
    prepareWindow();
    return true;
}

bool ChromiumSession::browserEnded()
{
    return !client_->connected() || process_->exited();
}

pid_t ChromiumSession::processId() const
{
    return process_ ? process_->pid() : -1;
}

int ChromiumSession::readFd() const
{
    return client_ && process_ ? process_->pipe().readFd() : -1;
}

void ChromiumSession::shutdown()
{
    if (!client_)
        return;
    client_->send("Browser.close", Json::object());
    disconnect(false);
}

bool ChromiumSession::closeWindow(const std::string& targetId)
{
    return target(targetId) && call("Target.closeTarget", {{"targetId", targetId}}).has_value();
}

std::optional<Json> ChromiumSession::command(const std::string& targetId, const std::string& method,
                                             const Json& params)
{
    if (targetId.empty())
        return call(method, params);
    if (const Target* t = target(targetId))
        return t->sessionId.empty() ? std::nullopt : call(method, params, t->sessionId);
    // A frame of another site has a session of its own; other frames share their page's.
    const auto f = frames_.find(targetId);
    const Target* page = f == frames_.end() ? nullptr : target(f->second.targetId);
    if (!page || f->second.sessionId.empty() || f->second.sessionId == page->sessionId)
        return std::nullopt;
    return call(method, params, f->second.sessionId);
}

bool ChromiumSession::sendCommand(const std::string& method, const Json& params, const std::string& sessionId,
                                  CdpClient::Callback done)
{
    if (client_)
        return client_->send(method, params, sessionId, std::move(done));
    if (done)
        done(std::nullopt);
    return false;
}

void ChromiumSession::disconnect(bool notify)
{
    client_.reset();
    process_.reset();
    const bool hadWindows = !order_.empty();
    order_.clear();
    preparedId_.clear();
    preparing_ = false;
    replacementOwedSince_.reset();
    targets_.clear();
    frames_.clear();
    sessions_.clear();
    contexts_.clear();
    agents_.clear();
    if (notify && hadWindows)
        notifyWindowList(false);
    if (readFdChanged_)
        readFdChanged_(-1);
}

// ---- driving -------------------------------------------------------------------------------

void ChromiumSession::setNotifiers(std::function<void(int)> readFdChanged, std::function<void()> eventsQueued)
{
    readFdChanged_ = std::move(readFdChanged);
    eventsQueued_ = std::move(eventsQueued);
}

void ChromiumSession::setBackgroundWorkNotifier(
    std::function<void(std::chrono::steady_clock::time_point)> due)
{
    backgroundWorkDue_ = std::move(due);
    if (const auto when = replacementDue(); when && backgroundWorkDue_)
        backgroundWorkDue_(*when);
}

void ChromiumSession::runBackgroundWork()
{
    const auto due = replacementDue();
    if (!due)
        return;
    if (std::chrono::steady_clock::now() < *due) {
        if (backgroundWorkDue_)
            backgroundWorkDue_(*due);
        return;
    }
    prepareWindow();
}

void ChromiumSession::processIncoming()
{
    if (client_ && !client_->processIncoming())
        disconnect(true);
    if (client_ && process_ && process_->exited())
        disconnect(true);
}

void ChromiumSession::dispatchPending()
{
    if (dispatching_)
        return;
    dispatching_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{dispatching_};
    while (!queue_.empty()) {
        auto event = std::move(queue_.front());
        queue_.pop_front();
        event();
    }
}

bool ChromiumSession::runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        dispatchPending();
        if (done())
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !client_)
            return done();
        auto wait = std::min(left, std::chrono::milliseconds(200));
        if (const auto due = replacementDue())
            wait = std::clamp(
                std::chrono::ceil<std::chrono::milliseconds>(*due - std::chrono::steady_clock::now()),
                std::chrono::milliseconds(0), wait);
        if (process_->pipe().waitReadable(wait))
            processIncoming();
        else if (process_->exited())
            disconnect(true);
        runBackgroundWork();
    }
}

void ChromiumSession::queue(std::function<void()> event)
{
    const bool wasEmpty = queue_.empty();
    queue_.push_back(std::move(event));
    if (wasEmpty && eventsQueued_)
        eventsQueued_();
}

void ChromiumSession::queueBrowserEvent(const std::string& targetId,
                                        std::function<void(BrowserEvents&)> deliver)
{
    const Target* t = target(targetId);
    if (!t)
        return;
    queue([browser = t->browser, deliver = std::move(deliver)] {
        for (auto* sink : browser->sinks())
            if (browser->subscribed(sink))
                deliver(*sink);
    });
}

std::optional<Json> ChromiumSession::call(const std::string& method, const Json& params,
                                          const std::string& sessionId)
{
    if (!client_)
        return std::nullopt;
    auto result = client_->call(method, params, sessionId, options_.callTimeout);
    if (client_ && !client_->connected())
        disconnect(true);
    return result;
}

std::optional<Json> ChromiumSession::callAgent(const std::string& agentId, const std::string& function,
                                               const Json& arguments)
{
    const auto it = agents_.find(agentId);
    if (it == agents_.end())
        return std::nullopt;
    const Context where = it->second;
    Json args = Json::array();
    for (const auto& a : arguments)
        args.push_back({{"value", a}});
    auto answer = call("Runtime.callFunctionOn",
                       {{"functionDeclaration", function},
                        {"executionContextId", where.contextId},
                        {"arguments", args},
                        {"returnByValue", true}},
                       where.sessionId);
    if (!answer || answer->contains("exceptionDetails"))
        return std::nullopt;
    return Member(Member(*answer, "result"), "value");
}

// ---- window list ---------------------------------------------------------------------------

std::vector<std::shared_ptr<Browser>> ChromiumSession::windows()
{
    std::vector<std::shared_ptr<Browser>> list;
    for (const auto& id : order_)
        if (const Target* t = target(id))
            list.push_back(t->browser);
    return list;
}

std::shared_ptr<Browser> ChromiumSession::createBrowser()
{
    // A browser on its way out (ended, or no longer making windows) cannot take the window:
    // it goes to a new browser instead.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!start())
            return nullptr;
        if (auto browser = handOutPreparedWindow())
            return browser;
        disconnect(true);
    }
    return nullptr;
}

std::vector<std::shared_ptr<Browser>> ChromiumSession::createBrowsers(std::size_t count)
{
    std::vector<std::shared_ptr<Browser>> browsers;
    if (count == 0)
        return browsers;
    // The prepared window goes to the first; the rest are asked for all at once, before any
    // is waited for, so that the browser sets them up side by side.
    browsers.push_back(createBrowser());
    browsers.resize(count);
    if (!browsers.front() || count == 1)
        return browsers;
    struct Creation {
        std::vector<std::string> targetIds;
        std::size_t answered = 0;
    };
    auto creation = std::make_shared<Creation>();
    creation->targetIds.resize(count - 1);
    for (std::size_t i = 0; i + 1 < count; ++i)
        client_->send("Target.createTarget", {{"url", "about:blank"}, {"newWindow", true}}, {},
                      [creation, i](const std::optional<Json>& created) {
                          creation->targetIds[i] = created ? Text(*created, "targetId") : std::string();
                          ++creation->answered;
                      });
    const auto readyWindow = [&](const std::string& targetId) -> const Target* {
        const Target* t = targetId.empty() ? nullptr : target(targetId);
        return t && t->ready ? t : nullptr;
    };
    const auto settled = [&] {
        return creation->answered == creation->targetIds.size() &&
               std::all_of(creation->targetIds.begin(), creation->targetIds.end(),
                           [&](const std::string& id) { return id.empty() || readyWindow(id); });
    };
    // Wait until the windows are set up, without delivering events: we may be inside a handler.
    // The browser sets windows up one after another, so each gets the time one call may take.
    const auto deadline =
        std::chrono::steady_clock::now() + options_.callTimeout * static_cast<int>(count - 1);
    while (!settled()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!client_ || left.count() <= 0 || browserEnded())
            break;
        if (process_->pipe().waitReadable(std::min(left, std::chrono::milliseconds(200))))
            processIncoming();
    }
    for (std::size_t i = 0; i + 1 < count; ++i)
        if (const Target* t = readyWindow(creation->targetIds[i]))
            browsers[i + 1] = t->browser;
    return browsers;
}

void ChromiumSession::prepareWindow()
{
    replacementOwedSince_.reset();
    if (!client_ || preparing_ || !preparedId_.empty())
        return;
    preparing_ = true;
    // Minimised and in the background: nobody sees the window before it is handed out.
    client_->send(
        "Target.createTarget",
        {{"url", "about:blank"}, {"newWindow", true}, {"background", true}, {"windowState", "minimized"}}, {},
        [this](const std::optional<Json>& result) {
            preparing_ = false;
            const std::string id = result ? Text(*result, "targetId") : std::string();
            if (id.empty())
                return;
            preparedId_ = id;
            if (Target* t = target(id))
                adoptPrepared(*t);
        });
}

std::optional<std::chrono::steady_clock::time_point> ChromiumSession::replacementDue() const
{
    // The browser is quiet once the page a login loads has come in and been filled; a page that
    // never stops talking gets its replacement all the same, a little later.
    constexpr std::chrono::milliseconds kQuiet(250);
    constexpr std::chrono::milliseconds kLongestWait(5000);
    if (!replacementOwedSince_ || !client_)
        return std::nullopt;
    const auto owed = *replacementOwedSince_;
    return std::min(std::max(owed, lastBrowserEvent_) + kQuiet, owed + kLongestWait);
}

void ChromiumSession::owePreparedWindow()
{
    replacementOwedSince_ = std::chrono::steady_clock::now();
    if (backgroundWorkDue_)
        backgroundWorkDue_(*replacementDue());
}

bool ChromiumSession::windowPrepared()
{
    const Target* t = preparedId_.empty() ? nullptr : target(preparedId_);
    return t && t->ready;
}

void ChromiumSession::adoptPrepared(Target& t)
{
    t.prepared = true;
    t.hidden = true;
    t.visible = false; // a new window starts invisible until the program shows it
    // The browser may have announced it before it told us its id: it leaves the list again.
    if (std::find(order_.begin(), order_.end(), t.targetId) != order_.end()) {
        std::erase(order_, t.targetId);
        notifyWindowList(false);
    }
}

std::shared_ptr<Browser> ChromiumSession::handOutPreparedWindow()
{
    prepareWindow();
    // Wait without delivering events: we may be inside a handler.
    const auto deadline = std::chrono::steady_clock::now() + options_.callTimeout;
    for (;;) {
        Target* t = preparedId_.empty() ? nullptr : target(preparedId_);
        if (t && t->ready) {
            t->prepared = false;
            preparedId_.clear();
            order_.push_back(t->targetId);
            notifyWindowList(true);
            owePreparedWindow();
            return t->browser;
        }
        if (!t && preparedId_.empty() && !preparing_)
            prepareWindow(); // the prepared one was closed meanwhile
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!client_ || left.count() <= 0 || browserEnded())
            return nullptr;
        if (process_->pipe().waitReadable(std::min(left, std::chrono::milliseconds(200))))
            processIncoming();
    }
}

void ChromiumSession::showWindow(const std::string& targetId)
{
    Target* t = target(targetId);
    if (!t || !t->hidden || !client_)
        return;
    t->hidden = false;
    // Not waited for: the window appears while its page loads.
    client_->send("Browser.getWindowForTarget", {{"targetId", targetId}}, {},
                  [this](const std::optional<Json>& window) {
                      if (window && window->contains("windowId") && client_)
                          client_->send("Browser.setWindowBounds", {{"windowId", (*window)["windowId"]},
                                                                    {"bounds", {{"windowState", "normal"}}}});
                  });
}

void ChromiumSession::notifyWindowList(bool registered)
{
    queue([this, registered] {
        const auto sinks = listSinks_;
        for (auto* sink : sinks) {
            if (std::find(listSinks_.begin(), listSinks_.end(), sink) == listSinks_.end())
                continue;
            if (registered)
                sink->WindowRegistered();
            else
                sink->WindowRevoked();
        }
    });
}

void ChromiumSession::subscribe(WindowListEvents& sink)
{
    if (std::find(listSinks_.begin(), listSinks_.end(), &sink) == listSinks_.end())
        listSinks_.push_back(&sink);
}

void ChromiumSession::unsubscribe(WindowListEvents& sink)
{
    std::erase(listSinks_, &sink);
}

// ---- bookkeeping ---------------------------------------------------------------------------

ChromiumSession::Target* ChromiumSession::target(const std::string& targetId)
{
    const auto it = targets_.find(targetId);
    return it == targets_.end() ? nullptr : &it->second;
}

ChromiumSession::Frame* ChromiumSession::frame(const std::string& frameId)
{
    const auto it = frames_.find(frameId);
    return it == frames_.end() ? nullptr : &it->second;
}

std::string ChromiumSession::targetOfSession(const std::string& sessionId) const
{
    const auto it = sessions_.find(sessionId);
    return it == sessions_.end() ? std::string() : it->second;
}

std::string ChromiumSession::frameOfAgent(const std::string& agentId) const
{
    const auto it = agents_.find(agentId);
    return it == agents_.end() ? std::string() : it->second.frameId;
}

// ---- protocol events -----------------------------------------------------------------------

void ChromiumSession::onEvent(const std::string& sessionId, const std::string& method, const Json& params)
{
    lastBrowserEvent_ = std::chrono::steady_clock::now();
    if (method == "Fetch.requestPaused")
        onRequestPaused(sessionId, params);
    else if (method == "Runtime.bindingCalled")
        onBinding(sessionId, params);
    else if (method == "Runtime.executionContextCreated")
        onContextCreated(sessionId, Member(params, "context"));
    else if (method == "Runtime.executionContextDestroyed")
        forgetContexts(sessionId, Number(params, "executionContextId"));
    else if (method == "Runtime.executionContextsCleared")
        forgetContexts(sessionId, 0);
    else if (method == "Page.frameAttached") {
        const std::string id = Text(params, "frameId");
        Frame& f = frames_[id];
        f.parentId = Text(params, "parentFrameId");
        f.targetId = targetOfSession(sessionId);
        if (f.sessionId.empty())
            f.sessionId = sessionId;
    } else if (method == "Page.frameDetached") {
        if (Text(params, "reason") != "swap")
            frames_.erase(Text(params, "frameId"));
    } else if (method == "Page.frameNavigated")
        onFrameNavigated(sessionId, Member(params, "frame"));
    else if (method == "Page.frameStartedLoading" || method == "Page.frameStoppedLoading") {
        if (Target* t = target(Text(params, "frameId")))
            t->busy = method == "Page.frameStartedLoading";
    } else if (method == "Target.targetCreated")
        onTargetCreated(Member(params, "targetInfo"));
    else if (method == "Target.targetInfoChanged") {
        const Json& info = Member(params, "targetInfo");
        if (Target* t = target(Text(info, "targetId"))) {
            t->url = Text(info, "url");
            t->title = Text(info, "title");
        }
    } else if (method == "Target.targetDestroyed")
        onTargetDestroyed(Text(params, "targetId"));
    else if (method == "Target.attachedToTarget")
        onAttached(sessionId, params);
    else if (method == "Target.detachedFromTarget")
        onDetached(Text(params, "sessionId"));
}

void ChromiumSession::onTargetCreated(const Json& info)
{
    const std::string id = Text(info, "targetId");
    if (Text(info, "type") != "page" || id.empty() || targets_.count(id))
        return;
    Target& t = targets_[id];
    t.targetId = id;
    t.url = Text(info, "url");
    t.title = Text(info, "title");
    t.browser = std::make_shared<ChromiumBrowser>(weak_from_this(), id);
    frames_[id].targetId = id;
    if (id == preparedId_) {
        adoptPrepared(t);
        return;
    }
    order_.push_back(id);
    notifyWindowList(true);
}

void ChromiumSession::onTargetDestroyed(const std::string& targetId)
{
    if (!targets_.erase(targetId))
        return;
    std::erase_if(frames_, [&](const auto& entry) { return entry.second.targetId == targetId; });
    std::erase_if(sessions_, [&](const auto& entry) { return entry.second == targetId; });
    if (targetId == preparedId_) {
        preparedId_.clear();
        return;
    }
    std::erase(order_, targetId);
    notifyWindowList(false);
}

void ChromiumSession::onAttached(const std::string& parentSession, const Json& params)
{
    const std::string sessionId = Text(params, "sessionId");
    const Json& info = Member(params, "targetInfo");
    const std::string id = Text(info, "targetId");
    const std::string type = Text(info, "type");
    if (type == "page") {
        onTargetCreated(info);
        Target* t = target(id);
        if (!t)
            return;
        t->sessionId = sessionId;
        sessions_[sessionId] = id;
        frames_[id].sessionId = sessionId;
        setUpSession(sessionId, id, true);
    } else if (type == "iframe") {
        // A frame from another site runs in its own process and comes as a target of its own.
        const std::string owner = targetOfSession(parentSession);
        sessions_[sessionId] = owner;
        Frame& f = frames_[id];
        f.targetId = owner;
        f.sessionId = sessionId;
        setUpSession(sessionId, id, false);
    } else if (!parentSession.empty()) {
        client_->send("Runtime.runIfWaitingForDebugger", Json::object(), sessionId);
        client_->send("Target.detachFromTarget", {{"sessionId", sessionId}}, parentSession);
    }
}

void ChromiumSession::onDetached(const std::string& sessionId)
{
    sessions_.erase(sessionId);
    forgetContexts(sessionId, 0);
}

void ChromiumSession::forgetContexts(const std::string& sessionId, long contextId)
{
    // The agent instances of documents that are gone go with them: writes through their refs fail.
    auto gone = [&](const Context& c) {
        return c.sessionId == sessionId && (!contextId || c.contextId == contextId);
    };
    std::erase_if(contexts_, [&](const auto& entry) { return gone(entry.second); });
    std::erase_if(agents_, [&](const auto& entry) { return gone(entry.second); });
}

void ChromiumSession::setUpSession(const std::string& sessionId, const std::string& frameId, bool page)
{
    const std::string world(kAgentWorldName);
    client_->send("Runtime.addBinding", {{"name", bindingName_}, {"executionContextName", world}}, sessionId);
    client_->send("Page.enable", Json::object(), sessionId);
    client_->send("Runtime.enable", Json::object(), sessionId);
    client_->send("Page.addScriptToEvaluateOnNewDocument",
                  {{"source", agentSource_}, {"worldName", world}, {"runImmediately", true}}, sessionId);
    client_->send(
        "Fetch.enable",
        {{"patterns",
          Json::array({{{"urlPattern", "*"}, {"resourceType", "Document"}, {"requestStage", "Request"}},
                       {{"urlPattern", "*"}, {"resourceType", "XHR"}, {"requestStage", "Request"}},
                       {{"urlPattern", "*"}, {"resourceType", "Fetch"}, {"requestStage", "Request"}}})}},
        sessionId);
    client_->send("Target.setAutoAttach",
                  {{"autoAttach", true}, {"waitForDebuggerOnStart", true}, {"flatten", true}}, sessionId);
    // Documents that were already there before we attached get the agent too.
    client_->send("Page.getFrameTree", Json::object(), sessionId,
                  [this, sessionId](const std::optional<Json>& result) {
                      if (!result)
                          return;
                      std::function<void(const Json&)> visit = [&](const Json& node) {
                          const std::string id = Text(Member(node, "frame"), "id");
                          if (!id.empty())
                              injectInto(sessionId, id);
                          for (const auto& child : Member(node, "childFrames"))
                              visit(child);
                      };
                      visit(Member(*result, "frameTree"));
                  });
    client_->send("Runtime.runIfWaitingForDebugger", Json::object(), sessionId,
                  [this, frameId, page](const std::optional<Json>& result) {
                      if (Target* t = page && result ? target(frameId) : nullptr)
                          t->ready = true;
                  });
}

void ChromiumSession::injectInto(const std::string& sessionId, const std::string& frameId)
{
    if (!client_)
        return;
    client_->send("Page.createIsolatedWorld",
                  {{"frameId", frameId}, {"worldName", std::string(kAgentWorldName)}}, sessionId,
                  [this, sessionId](const std::optional<Json>& result) {
                      const long context = result ? Number(*result, "executionContextId") : 0;
                      if (context && client_)
                          client_->send("Runtime.evaluate",
                                        {{"expression", agentSource_}, {"contextId", context}}, sessionId);
                  });
}

void ChromiumSession::onContextCreated(const std::string& sessionId, const Json& context)
{
    if (Text(context, "name") != kAgentWorldName)
        return;
    const long id = Number(context, "id");
    const std::string frameId = Text(Member(context, "auxData"), "frameId");
    if (!id || frameId.empty())
        return;
    contexts_[{sessionId, id}] = Context{sessionId, id, frameId};
    Frame& f = frames_[frameId];
    f.contextId = id;
    f.sessionId = sessionId;
    if (f.targetId.empty())
        f.targetId = targetOfSession(sessionId);
}

void ChromiumSession::onFrameNavigated(const std::string& sessionId, const Json& frameInfo)
{
    const std::string id = Text(frameInfo, "id");
    if (id.empty())
        return;
    Frame& f = frames_[id];
    f.url = Text(frameInfo, "url");
    f.parentId = Text(frameInfo, "parentId");
    if (f.targetId.empty())
        f.targetId = targetOfSession(sessionId);
    f.loaded = false;
    f.last.reset();
    if (Target* t = target(id)) {
        t->clicked.reset();
        t->typed.reset();
        t->submittedByUser = false;
        t->userSubmitting = false;
        t->userActed.reset();
        t->heldRequest.reset();
    }
}

void ChromiumSession::reserveAddress(std::string address, std::function<void()> visited)
{
    reservedAddress_ = std::move(address);
    reservedAddressVisited_ = std::move(visited);
    interceptReservedAddress();
}

void ChromiumSession::interceptReservedAddress()
{
    // Watched for the whole browser, so that requests of extensions' workers are seen too.
    if (client_ && !reservedAddress_.empty())
        client_->send("Fetch.enable", {{"patterns", Json::array({{{"urlPattern", reservedAddress_}}})}});
}

bool ChromiumSession::answerReservedAddress(const std::string& sessionId, const std::string& requestId,
                                            const std::string& url)
{
    if (reservedAddress_.empty() || url != reservedAddress_)
        return false;
    // No content: a navigation answered so commits nothing, the page in a tab stays.
    client_->send("Fetch.fulfillRequest", {{"requestId", requestId}, {"responseCode", 204}}, sessionId);
    if (reservedAddressVisited_)
        queue(reservedAddressVisited_);
    return true;
}

void ChromiumSession::onRequestPaused(const std::string& sessionId, const Json& params)
{
    const std::string requestId = Text(params, "requestId");
    const Json& request = Member(params, "request");
    const std::string frameId = Text(params, "frameId");
    std::string targetId = targetOfSession(sessionId);
    if (const Frame* f = frame(frameId); f && !f->targetId.empty())
        targetId = f->targetId;
    Target* t = target(targetId);
    // The toolbar button's request is a worker's fetch: answered before scripts' requests are judged.
    if (answerReservedAddress(sessionId, requestId, Text(request, "url")))
        return;
    const std::string resourceType = Text(params, "resourceType");
    if (resourceType == "XHR" || resourceType == "Fetch") {
        client_->send("Fetch.continueRequest", {{"requestId", requestId}}, sessionId);
        if (t)
            onScriptRequest(sessionId, *t, frameId, request);
        return;
    }
    const bool redirect = params.contains("redirectedRequestId");

    std::string url = Text(request, "url");
    std::string method = Text(request, "method");
    std::string body;
    if (t && t->post && frameId == targetId && !redirect) {
        const PendingPost post = std::move(*t->post);
        t->post.reset();
        client_->send("Fetch.continueRequest",
                      {{"requestId", requestId},
                       {"method", "POST"},
                       {"postData", Base64Encode(post.body)},
                       {"headers", PostHeaders(Member(request, "headers"), post.headers)}},
                      sessionId);
        method = "POST";
        body = post.body;
    } else {
        client_->send("Fetch.continueRequest", {{"requestId", requestId}}, sessionId);
        for (const auto& entry : Member(request, "postDataEntries"))
            if (auto bytes = Base64Decode(Text(entry, "bytes")))
                body += *bytes;
    }
    if (!t || redirect)
        return;

    // Only what the user did counts as a submission: a page's script can forge the rest.
    const bool byUser = t->submittedByUser || t->typed || t->clicked;
    t->submittedByUser = false;
    if (t->typed) {
        queueBrowserEvent(targetId,
                          [event = DownloadBeginEvent{t->typedFrame, std::move(t->typed), std::nullopt}](
                              BrowserEvents& sink) { sink.DownloadBegin(event); });
        t->typed.reset();
    } else if (t->clicked) {
        queueBrowserEvent(targetId,
                          [event = DownloadBeginEvent{t->clickedFrame, std::move(t->clicked), std::nullopt}](
                              BrowserEvents& sink) { sink.DownloadBegin(event); });
        t->clicked.reset();
    }
    const Frame* f = frame(frameId);
    BeforeNavigateEvent event{eventFrame(frameId, f ? f->last : std::nullopt), url, method, body, byUser};
    queueBrowserEvent(targetId,
                      [event = std::move(event)](BrowserEvents& sink) { sink.BeforeNavigate2(event); });
}

void ChromiumSession::onScriptRequest(const std::string& sessionId, const Target& t,
                                      const std::string& frameId, const Json& request)
{
    ScriptRequestEvent event;
    event.url = Text(request, "url");
    event.method = Text(request, "method");
    for (const auto& entry : Member(request, "postDataEntries"))
        if (auto bytes = Base64Decode(Text(entry, "bytes")))
            event.PostData += *bytes;
    if (event.PostData.empty() || event.method == "GET" || event.method == "HEAD")
        return;
    for (const auto& [name, value] : Member(request, "headers").items())
        if (value.is_string() && EqualsIgnoringCase(name, "content-type"))
            event.contentType = value.get<std::string>();
    event.pDisp.frameId = frameId;
    // The page reported the user's submit or click before its script sent the request, but the
    // request may reach us first: a round trip through the same page lets those reports in.
    client_->send("Runtime.evaluate", {{"expression", "0"}}, sessionId,
                  [this, targetId = t.targetId, event = std::move(event)](const std::optional<Json>&) {
                      if (Target* sender = target(targetId))
                          judgeScriptRequest(*sender, event);
                  });
}

void ChromiumSession::judgeScriptRequest(Target& t, ScriptRequestEvent event)
{
    // Sent from the submit's own handlers: it waits for them to finish, so that the page is
    // seen as they left it.
    if (t.userSubmitting) {
        if (!t.heldRequest)
            t.heldRequest = std::move(event);
        return;
    }
    if (!t.userActed || std::chrono::steady_clock::now() - *t.userActed > kScriptLoginDelay)
        return;
    // A click that a script's request carries out: what was typed is the page as clicked.
    if (t.clicked) {
        DownloadBeginEvent typed{t.clickedFrame, std::move(t.clicked), std::nullopt};
        queueBrowserEvent(t.targetId,
                          [typed = std::move(typed)](BrowserEvents& sink) { sink.DownloadBegin(typed); });
        t.clicked.reset();
    }
    sendScriptRequest(t, std::move(event));
}

void ChromiumSession::sendScriptRequest(Target& t, ScriptRequestEvent event)
{
    t.userActed.reset();
    const Frame* f = frame(event.pDisp.frameId);
    event.pDisp = eventFrame(event.pDisp.frameId, f ? f->last : std::nullopt);
    queueBrowserEvent(t.targetId,
                      [event = std::move(event)](BrowserEvents& sink) { sink.ScriptRequestSent(event); });
}

void ChromiumSession::onBinding(const std::string& sessionId, const Json& params)
{
    if (Text(params, "name") != bindingName_)
        return;
    const auto where = contexts_.find({sessionId, Number(params, "executionContextId")});
    if (where == contexts_.end())
        return;
    const Json message = Json::parse(Text(params, "payload"), nullptr, false);
    const std::string kind = Text(message, "k");
    const std::string agentId = Text(message, "agent");
    if (agentId.empty())
        return;
    const std::string frameId = where->second.frameId;
    agents_[agentId] = where->second;
    Frame& f = frames_[frameId];
    f.agentId = agentId;
    if (f.targetId.empty())
        f.targetId = targetOfSession(sessionId);
    const std::string targetId = f.targetId;
    Target* t = target(targetId);
    if (!t)
        return;
    std::optional<DocumentSnapshot> snapshot = readSnapshot(Member(message, "s"), agentId, frameId);
    const auto by = message.find("by");
    const bool byUser = by != message.end() && by->is_boolean() && by->get<bool>();

    if (kind == "load") {
        f.loaded = true;
        if (snapshot) {
            f.url = snapshot->url;
            rememberSnapshot(*snapshot);
        }
        DocumentCompleteEvent event{eventFrame(frameId, snapshot), snapshot ? snapshot->url : f.url};
        queueBrowserEvent(targetId,
                          [event = std::move(event)](BrowserEvents& sink) { sink.DocumentComplete(event); });
    } else if (kind == "typed") {
        // A submit the user made: what was typed, before the page's handlers ran.
        t->typed.reset();
        t->clicked.reset();
        t->userSubmitting = byUser;
        if (byUser) {
            t->typed = std::move(snapshot);
            t->typedFrame = frameId;
        }
    } else if (kind == "after") {
        if (snapshot)
            rememberSnapshot(*snapshot);
        t->submittedByUser = byUser;
        t->userSubmitting = false;
        if (byUser) {
            DownloadBeginEvent event{frameId, std::move(t->typed), std::move(snapshot)};
            queueBrowserEvent(targetId,
                              [event = std::move(event)](BrowserEvents& sink) { sink.DownloadBegin(event); });
            t->userActed = std::chrono::steady_clock::now();
        }
        t->typed.reset();
        t->clicked.reset();
        if (auto held = std::exchange(t->heldRequest, std::nullopt); held && byUser)
            sendScriptRequest(*t, std::move(*held));
    } else if (kind == "click" && byUser) {
        t->clicked = std::move(snapshot);
        t->clickedFrame = frameId;
        t->userActed = std::chrono::steady_clock::now();
    } else if (kind == "password") {
        PasswordFieldEvent event{eventFrame(frameId, std::move(snapshot))};
        queueBrowserEvent(
            targetId, [event = std::move(event)](BrowserEvents& sink) { sink.PasswordFieldAppeared(event); });
    }
}

std::optional<DocumentSnapshot>
ChromiumSession::readSnapshot(const Json& snapshot, const std::string& agentId, const std::string& frameId)
{
    auto parsed =
        ParseSnapshot(snapshot, agentId, [this](const std::string& agent) { return frameOfAgent(agent); });
    if (!parsed)
        return std::nullopt;
    if (parsed->frameId.empty()) {
        // A snapshot of an ancestor's page: its frame is that many steps up.
        std::string id = frameId;
        for (long up = Number(snapshot, "up"); up > 0 && !id.empty(); --up) {
            const Frame* f = frame(id);
            id = f ? f->parentId : std::string();
        }
        parsed->frameId = id;
    }
    return parsed;
}

void ChromiumSession::rememberSnapshot(const DocumentSnapshot& snapshot)
{
    if (Frame* f = snapshot.frameId.empty() ? nullptr : frame(snapshot.frameId))
        f->last = snapshot;
    for (const auto& child : snapshot.frames)
        if (child.accessible)
            rememberSnapshot(child.document);
}

EventFrame ChromiumSession::eventFrame(const std::string& frameId, std::optional<DocumentSnapshot> document)
{
    EventFrame out;
    out.frameId = frameId;
    if (const Frame* f = frame(frameId)) {
        out.topLevel = f->parentId.empty() && f->targetId == frameId;
        out.LocationURL = f->url;
        out.readyState = f->loaded ? ReadyState::Complete : ReadyState::Loading;
    }
    if (out.LocationURL.empty() && document)
        out.LocationURL = document->url;
    out.document = std::move(document);
    return out;
}

} // namespace kv
