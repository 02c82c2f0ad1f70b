#pragma once
// Only one instance of the program runs per user session.
#include <filesystem>

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

    // The claiming instance's listening socket (-1 without one); readable when asked to show.
    int showRequestSocket() const { return listener_; }
    // Takes one waiting request; false when none waits.
    bool takeShowRequest();
    bool askRunningInstanceToShow() const override;

private:
    enum class Claim { Taken, Held, Unusable };
    Claim tryClaim();

    std::filesystem::path directory_;
    int lock_ = -1;
    int listener_ = -1;
};

// $XDG_RUNTIME_DIR, else a private folder of this user under /tmp (created 0700 and
// refused when someone else owns it); empty when neither is usable.
std::filesystem::path UserRuntimeDirectory();

} // namespace kv
