#include "cleanup/chromium/cleanup_extension.h"

#include <chrono>
#include <nlohmann/json.hpp>
#include <set>
#include <utility>
#include <vector>

namespace kv {
namespace {

using Json = nlohmann::json;

// Loading and starting the worker takes a fraction of a second; a browser that has not
// managed it by then will not.
constexpr std::chrono::milliseconds kAttachLimit{15000};
constexpr std::chrono::milliseconds kPollInterval{50};

std::string Text(const Json& object, const char* key)
{
    const auto it = object.is_object() ? object.find(key) : object.end();
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// The targets of a Target.getTargets answer; none when it holds no list.
const Json& TargetInfos(const Json& answer)
{
    static const Json none = Json::array();
    const auto it = answer.is_object() ? answer.find("targetInfos") : answer.end();
    return it != answer.end() && it->is_array() ? *it : none;
}

// An evaluation's answer holds the value true.
bool ValueIsTrue(const Json& answer)
{
    const auto result = answer.is_object() ? answer.find("result") : answer.end();
    if (result == answer.end() || !result->is_object())
        return false;
    const auto value = result->find("value");
    return value != result->end() && value->is_boolean() && value->get<bool>();
}

} // namespace

struct CleanupExtension::State : std::enable_shared_from_this<State> {
    using Done = std::function<void(Value)>;

    State(std::shared_ptr<ChromiumSession> s, std::filesystem::path d, TaskTimer& t)
        : session(std::move(s)), directory(std::move(d)), timer(t)
    {
    }

    std::shared_ptr<ChromiumSession> session;
    std::filesystem::path directory;
    TaskTimer& timer;

    pid_t browser = -1;        // the browser process everything below belongs to
    bool loaded = false;       // the extension was loaded into that process
    std::string extensionId;   // as the browser named it when loading
    std::string workerSession; // our session with its worker; empty while there is none
    bool attaching = false;
    unsigned attempt = 0;             // answers of an abandoned attempt find a newer number and are dropped
    std::set<std::string> oldWorkers; // workers that were there before we (re)loaded
    std::vector<std::pair<std::string, Done>> waiting;

    // Sends a command; reply runs with the answer only while this state lives and the attempt stands.
    void send(const std::string& method, const Json& params, const std::string& sessionId,
              std::function<void(State&, const std::optional<Json>&)> reply)
    {
        session->sendCommand(method, params, sessionId,
                             [weak = weak_from_this(), number = attempt,
                              reply = std::move(reply)](const std::optional<Json>& answer) {
                                 const auto self = weak.lock();
                                 if (self && self->attempt == number)
                                     reply(*self, answer);
                             });
    }

    void call(std::string expression, Done done)
    {
        if (!session->running()) {
            done(std::nullopt);
            return;
        }
        if (session->processId() != browser)
            startOver(session->processId());
        if (!workerSession.empty()) {
            evaluate(std::move(expression), std::move(done), true);
            return;
        }
        waiting.emplace_back(std::move(expression), std::move(done));
        if (!attaching)
            attach();
    }

    void evaluate(std::string expression, Done done, bool mayRetry)
    {
        const Json params{{"expression", expression}, {"awaitPromise", true}, {"returnByValue", true}};
        session->sendCommand("Runtime.evaluate", params, workerSession,
                             [weak = weak_from_this(), expression, done = std::move(done),
                              mayRetry](const std::optional<Json>& answer) {
                                 const auto self = weak.lock();
                                 if (!self)
                                     return;
                                 if (!answer) {
                                     // The worker went away (it was stopped, or the browser ended): find it
                                     // again, once.
                                     self->workerSession.clear();
                                     if (mayRetry)
                                         self->call(expression, done);
                                     else
                                         done(std::nullopt);
                                     return;
                                 }
                                 if (answer->contains("exceptionDetails")) {
                                     done(std::nullopt);
                                     return;
                                 }
                                 const auto result = answer->find("result");
                                 const bool hasValue = result != answer->end() && result->is_object() &&
                                                       result->contains("value");
                                 done(hasValue ? Value(result->at("value")) : Value(Json()));
                             });
    }

    void attach()
    {
        attaching = true;
        timer.after(kAttachLimit, [weak = weak_from_this(), number = attempt] {
            const auto self = weak.lock();
            if (self && self->attempt == number && self->attaching)
                self->fail();
        });
        send("Target.getTargets", Json::object(), {}, [](State& self, const std::optional<Json>& answer) {
            if (!answer)
                return self.fail();
            if (self.loaded)
                if (std::string worker = self.newWorker(*answer); !worker.empty())
                    return self.attachTo(worker);
            self.oldWorkers.clear();
            for (const auto& info : TargetInfos(*answer))
                if (Text(info, "type") == "service_worker")
                    self.oldWorkers.insert(Text(info, "targetId"));
            self.load();
        });
    }

    void load()
    {
        send("Extensions.loadUnpacked", {{"path", directory.string()}}, {},
             [](State& self, const std::optional<Json>& answer) {
                 self.extensionId = answer ? Text(*answer, "id") : std::string();
                 if (self.extensionId.empty())
                     return self.fail();
                 self.loaded = true;
                 self.poll();
             });
    }

    // The worker registers a moment after the load; look again until it shows.
    void poll()
    {
        send("Target.getTargets", Json::object(), {}, [](State& self, const std::optional<Json>& answer) {
            if (!answer)
                return self.fail();
            if (std::string worker = self.newWorker(*answer); !worker.empty())
                return self.attachTo(worker);
            self.later([](State& state) { state.poll(); });
        });
    }

    // Our extension's worker that was not there before the load, if it runs.
    std::string newWorker(const Json& targets) const
    {
        const std::string origin = "chrome-extension://" + extensionId + "/";
        for (const auto& info : TargetInfos(targets)) {
            const std::string id = Text(info, "targetId");
            if (Text(info, "type") == "service_worker" && Text(info, "url").rfind(origin, 0) == 0 &&
                !oldWorkers.count(id))
                return id;
        }
        return {};
    }

    void attachTo(const std::string& targetId)
    {
        send("Target.attachToTarget", {{"targetId", targetId}, {"flatten", true}}, {},
             [](State& self, const std::optional<Json>& answer) {
                 self.workerSession = answer ? Text(*answer, "sessionId") : std::string();
                 if (self.workerSession.empty())
                     return self.fail();
                 self.awaitScript();
             });
    }

    // A worker is listed before its script has run: wait until the script's functions are there.
    void awaitScript()
    {
        const Json probe{{"expression", "typeof deleteCache === 'function'"}, {"returnByValue", true}};
        send("Runtime.evaluate", probe, workerSession, [](State& self, const std::optional<Json>& answer) {
            if (!answer)
                return self.fail();
            if (!ValueIsTrue(*answer))
                return self.later([](State& state) { state.awaitScript(); });
            self.attaching = false;
            for (auto& [expression, done] : std::exchange(self.waiting, {}))
                self.evaluate(std::move(expression), std::move(done), false);
        });
    }

    // Runs step after the poll interval, while this attempt to attach still stands.
    void later(void (*step)(State&))
    {
        timer.after(kPollInterval, [weak = weak_from_this(), number = attempt, step] {
            const auto self = weak.lock();
            if (self && self->attempt == number && self->attaching)
                step(*self);
        });
    }

    void fail()
    {
        attaching = false;
        ++attempt;
        for (auto& entry : std::exchange(waiting, {}))
            entry.second(std::nullopt);
    }

    void startOver(pid_t process)
    {
        fail();
        browser = process;
        loaded = false;
        workerSession.clear();
    }
};

CleanupExtension::CleanupExtension(std::shared_ptr<ChromiumSession> session, std::filesystem::path directory,
                                   TaskTimer& timer)
    : state_(std::make_shared<State>(std::move(session), std::move(directory), timer))
{
}

CleanupExtension::~CleanupExtension() = default;

void CleanupExtension::call(std::string expression, std::function<void(Value)> done)
{
    state_->call(std::move(expression), std::move(done));
}

} // namespace kv
