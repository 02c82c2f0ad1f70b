#pragma once
// The program's own process: "the program ends" (the real implementation ends the process at
// once, without cleanup or saving), and starting its successor. Tests record the calls instead.
#include <filesystem>
#include <string>
#include <vector>

namespace kv {

class Process {
public:
    virtual ~Process() = default;
    [[noreturn]] virtual void endProgram() = 0;
    // Starts a program that outlives this one; no shell sees the arguments.
    virtual void startProgram(const std::filesystem::path& executable,
                              const std::vector<std::string>& arguments) = 0;
    virtual long processId() const = 0;
};

} // namespace kv
