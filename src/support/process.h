#pragma once
// "The program ends": the real implementation ends the process at once, without
// cleanup or saving; tests record the call instead.
namespace kv {

class Process {
public:
    virtual ~Process() = default;
    [[noreturn]] virtual void endProgram() = 0;
};

} // namespace kv
