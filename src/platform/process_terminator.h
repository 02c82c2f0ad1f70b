#pragma once
// Ends another process by its id (the old program after an update has started the new one).
namespace kv {

class ProcessTerminator {
public:
    virtual ~ProcessTerminator() = default;
    // Ids that name no single other process (0, negative, our own) are ignored.
    virtual void terminate(long processId) = 0;
};

class SignalProcessTerminator : public ProcessTerminator {
public:
    void terminate(long processId) override;
};

} // namespace kv
