#pragma once
// Only one instance of the program runs per user session.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when no other instance runs; this one then holds the claim until it ends.
    virtual bool claim() = 0;
    // For a start that replaces the running instance, which is being ended: takes the
    // claim as soon as that instance has let go. Never refuses; after a while without
    // the claim the start goes on without it.
    virtual void takeOver() = 0;
    // From a start that was refused: false when no instance listens.
    virtual bool askRunningInstanceToShow() const = 0;
};

// A lock file plus a local socket in the user's runtime directory. The lock goes with
// the process however it ends, so a crash leaves nothing stale behind; the socket lets a
// later start ask the running instance to show itself.
class RuntimeDirInstanceLock : public SingleInstance {
public:
    explicit RuntimeDirInstanceLock(std::filesystem::path directory);
    ~RuntimeDirInstanceLock() override;
    RuntimeDirInstanceLock(const RuntimeDirInstanceLock&) = delete;
    RuntimeDirInstanceLock& operator=(const RuntimeDirInstanceLock&) = delete;

    bool claim() override;
    void takeOver() override;

    // The claiming instance's listening socket (-1 without one); readable when a later start
    // connects.
    int requestSocket() const { return listener_; }
    // One waiting connection, non-blocking; -1 when none waits.
    int acceptConnection();
    bool askRunningInstanceToShow() const override;
    // From a later start: sends one request line and waits for the reply line. Nothing when
    // no instance listens; "" when it closed without answering or did not answer in time.
    std::optional<std::string> sendRequest(std::string_view line, std::chrono::milliseconds timeout) const;

private:
    enum class Claim { Taken, Held, Unusable };
    Claim tryClaim();

    std::filesystem::path directory_;
    int lock_ = -1;
    int listener_ = -1;
};

// One connection of a later start, on the claiming instance's side: the request line is
// read as it arrives (never more than kMaxInstanceMessage), the reply written back at once.
class InstanceConnection {
public:
    explicit InstanceConnection(int fd) : fd_(fd) {}
    ~InstanceConnection();
    InstanceConnection(const InstanceConnection&) = delete;
    InstanceConnection& operator=(const InstanceConnection&) = delete;

    enum class State { Reading, Complete, Failed };
    int fd() const { return fd_; }
    // Reads what has arrived without waiting. Complete at the first line end or when the
    // other side has finished sending; Failed when it sends too much or the read fails.
    State readAvailable();
    const std::string& request() const { return request_; }
    // Best effort: a start that has gone away is not waited for. Closes the connection.
    void reply(std::string_view line);

private:
    int fd_;
    std::string request_;
};

// $XDG_RUNTIME_DIR, else a private folder of this user under /tmp (created 0700 and
// refused when someone else owns it); empty when neither is usable.
std::filesystem::path UserRuntimeDirectory();

} // namespace kv
