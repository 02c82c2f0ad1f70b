#pragma once
// The program's Chromium: its windows (page targets) as the window list, one browser object
// per window, and the events of all of them.
//
// Driving it: the owner watches readFd() (a socket notifier, or poll) and calls
// processIncoming() when it is readable, then dispatchPending(). processIncoming() only
// reads and records (and continues paused requests at once); dispatchPending() delivers the
// queued events one at a time and does nothing when called from inside a handler.
// Synchronous calls made meanwhile queue the events that arrive while they wait; the
// eventsQueued notifier says when there is something to dispatch, so the owner can schedule
// a dispatchPending() on its loop. Without a loop (tests), runUntil() does all of this.
//
// One blank window is kept prepared in the background (created minimised, attached, the
// agent in place) and handed to the next createBrowser(); it is not listed among the
// windows until then. Its replacement is background work: it is prepared once the browser
// has been quiet for a moment, so that creating it never holds up the page a login loads.
// The owner runs background work when it is due (runUntil() does so by itself).
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

#include "browser/automation.h"
#include "browser/chromium/cdp_client.h"
#include "browser/chromium/chromium_process.h"

namespace kv {

class ChromiumBrowser;

class ChromiumSession : public WindowList, public std::enable_shared_from_this<ChromiumSession> {
public:
    static std::shared_ptr<ChromiumSession> create(ChromiumOptions options);
    ~ChromiumSession() override;

    // WindowList
    std::vector<std::shared_ptr<Browser>> windows() override;
    std::shared_ptr<Browser> createBrowser() override;
    std::vector<std::shared_ptr<Browser>> createBrowsers(std::size_t count) override;
    void subscribe(WindowListEvents& sink) override;
    void unsubscribe(WindowListEvents& sink) override;

    // Starts the browser when it does not run; true when it runs and answers. A browser
    // found to have ended is replaced.
    bool start();
    bool running() const { return client_ != nullptr; }
    // The browser's process id, -1 when it does not run.
    pid_t processId() const;
    // The descriptor to watch for incoming messages, -1 when the browser does not run.
    int readFd() const;
    void processIncoming();
    void dispatchPending();
    bool hasPendingEvents() const { return !queue_.empty(); }
    // Reads and dispatches until done() holds or the limit passes; returns done().
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
    // readFdChanged: the descriptor to watch changed (browser started or ended; -1 = none).
    // eventsQueued: events wait for dispatchPending().
    void setNotifiers(std::function<void(int)> readFdChanged, std::function<void()> eventsQueued);
    // Told the time background work falls due; the owner then calls runBackgroundWork(), which
    // may name a later time when the browser was not quiet yet.
    void setBackgroundWorkNotifier(std::function<void(std::chrono::steady_clock::time_point)> due);
    void runBackgroundWork();
    // A window waits, ready, for the next createBrowser().
    bool windowPrepared();
    // Closes one window.
    bool closeWindow(const std::string& targetId);
    // Sends one protocol command to the browser (empty targetId), to a window's page or to a
    // frame of another site running apart from its page (by frame id), and waits for its
    // answer; nullopt on an error answer or when there is none in time.
    std::optional<CdpClient::Json> command(const std::string& targetId, const std::string& method,
                                           const CdpClient::Json& params);
    // For parts of the program that speak to the browser itself rather than to a window (its
    // cookie store, the program's own extension): sends at once, and done gets the answer, or
    // nullopt for an error or a browser that does not run, on the thread that drives the session.
    // Targets such parts attach at the browser level are theirs; the session leaves them alone.
    bool sendCommand(const std::string& method, const CdpClient::Json& params, const std::string& sessionId,
                     CdpClient::Callback done);
    // Closes the browser.
    void shutdown();
    // An address the session answers itself, with no content, whoever asks for it (pages,
    // extensions' workers); visited() runs from the event queue.
    void reserveAddress(std::string address, std::function<void()> visited);

private:
    friend class ChromiumBrowser;

    struct Frame {
        std::string targetId;  // the window it belongs to
        std::string parentId;  // empty for the window's own frame
        std::string sessionId; // the session the frame's document is reached through
        long contextId = 0;    // our agent's world in the frame's current document
        std::string agentId;   // the agent instance of that document
        std::string url;
        bool loaded = false; // the current document finished loading
        std::optional<DocumentSnapshot> last;
    };
    struct PendingPost {
        std::string url;
        std::string body;
        std::string headers;
    };
    struct Target {
        std::string targetId;
        std::string sessionId;
        std::string url;
        std::string title;
        bool ready = false;
        bool busy = false;
        bool visible = true;
        bool prepared = false; // kept in the background for the next createBrowser()
        bool hidden = false;   // still minimised as it was prepared; shown when handed out
        std::optional<PendingPost> post;
        std::optional<DocumentSnapshot> typed; // snapshot of a user's submit whose page handlers still run
        std::string typedFrame;
        std::optional<DocumentSnapshot> clicked; // last user click in a page with a password field
        std::string clickedFrame;
        bool submittedByUser = false; // the user submitted a form; the navigation should follow
        bool userSubmitting = false;  // the user's submit is reported; its page handlers still run
        // The user's last submit or click in a page with a password field, which a request of the
        // page's script may carry out (one request per action, for a short while).
        std::optional<std::chrono::steady_clock::time_point> userActed;
        std::optional<ScriptRequestEvent> heldRequest; // sent while the submit's handlers ran
        std::shared_ptr<ChromiumBrowser> browser;
    };
    struct Context {
        std::string sessionId;
        long contextId = 0;
        std::string frameId;
    };

    explicit ChromiumSession(ChromiumOptions options);

    void onEvent(const std::string& sessionId, const std::string& method, const CdpClient::Json& params);
    void onTargetCreated(const CdpClient::Json& info);
    void onTargetDestroyed(const std::string& targetId);
    void onAttached(const std::string& parentSession, const CdpClient::Json& params);
    void onDetached(const std::string& sessionId);
    void forgetContexts(const std::string& sessionId, long contextId); // 0: all of the session
    void onRequestPaused(const std::string& sessionId, const CdpClient::Json& params);
    // A request of a page's script (fetch, XMLHttpRequest); already continued.
    void onScriptRequest(const std::string& sessionId, const Target& t, const std::string& frameId,
                         const CdpClient::Json& request);
    // Whether it carries out the user's submit or click: then it goes to the window's sinks.
    void judgeScriptRequest(Target& t, ScriptRequestEvent event);
    void sendScriptRequest(Target& t, ScriptRequestEvent event);
    void interceptReservedAddress();
    // True when the request was for the reserved address, which is then answered.
    bool answerReservedAddress(const std::string& sessionId, const std::string& requestId,
                               const std::string& url);
    void onBinding(const std::string& sessionId, const CdpClient::Json& params);
    void onContextCreated(const std::string& sessionId, const CdpClient::Json& context);
    void onFrameNavigated(const std::string& sessionId, const CdpClient::Json& frame);
    void setUpSession(const std::string& sessionId, const std::string& targetId, bool page);
    bool browserEnded();
    void prepareWindow();
    // The next window is owed since a hand-out; when it falls due to be prepared.
    std::optional<std::chrono::steady_clock::time_point> replacementDue() const;
    void owePreparedWindow();
    void adoptPrepared(Target& t);
    std::shared_ptr<Browser> handOutPreparedWindow();
    void showWindow(const std::string& targetId);
    void notifyWindowList(bool registered);
    void injectInto(const std::string& sessionId, const std::string& frameId);
    void disconnect(bool notify);
    void queue(std::function<void()> event);
    void queueBrowserEvent(const std::string& targetId, std::function<void(BrowserEvents&)> deliver);
    void rememberSnapshot(const DocumentSnapshot& snapshot);
    std::optional<DocumentSnapshot> readSnapshot(const CdpClient::Json& snapshot, const std::string& agentId,
                                                 const std::string& frameId);
    EventFrame eventFrame(const std::string& frameId, std::optional<DocumentSnapshot> document);
    std::string targetOfSession(const std::string& sessionId) const;
    std::string frameOfAgent(const std::string& agentId) const;

    // Used by ChromiumBrowser.
    std::optional<CdpClient::Json> call(const std::string& method, const CdpClient::Json& params,
                                        const std::string& sessionId = {});
    std::optional<CdpClient::Json> callAgent(const std::string& agentId, const std::string& function,
                                             const CdpClient::Json& arguments);
    Target* target(const std::string& targetId);
    Frame* frame(const std::string& frameId);

    ChromiumOptions options_;
    std::unique_ptr<ChromiumProcess> process_;
    std::unique_ptr<CdpClient> client_;
    std::string bindingName_;
    std::string agentSource_;
    std::vector<std::string> order_; // page targets, oldest first (the prepared window is not one)
    std::string preparedId_;         // the prepared window, once the browser named it
    bool preparing_ = false;         // its creation has been asked for
    std::optional<std::chrono::steady_clock::time_point> replacementOwedSince_;
    std::chrono::steady_clock::time_point lastBrowserEvent_;
    std::map<std::string, Target> targets_;
    std::map<std::string, Frame> frames_;
    std::map<std::string, std::string> sessions_; // session id -> target id it is attached to
    std::map<std::pair<std::string, long>, Context> contexts_;
    std::map<std::string, Context> agents_; // agent instance -> where it runs
    std::vector<WindowListEvents*> listSinks_;
    std::deque<std::function<void()>> queue_;
    bool dispatching_ = false;
    std::function<void(int)> readFdChanged_;
    std::function<void()> eventsQueued_;
    std::function<void(std::chrono::steady_clock::time_point)> backgroundWorkDue_;
    std::string reservedAddress_;
    std::function<void()> reservedAddressVisited_;
};

} // namespace kv
