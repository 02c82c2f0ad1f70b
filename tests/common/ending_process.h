#pragma once
// A Process that records the programs it is asked to start and throws where the real
// program would end, so that a test can see that it ended.
#include "support/process.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kv::test {

// Thrown where the real program would end, so a test can see that it ended.
struct ProgramEnded {};

class EndingProcess : public Process {
public:
    struct Start {
        std::filesystem::path executable;
        std::vector<std::string> arguments;
    };
    std::vector<Start> started;
    long id = 4242;

    [[noreturn]] void endProgram() override { throw ProgramEnded{}; }
    void startProgram(const std::filesystem::path& executable,
                      const std::vector<std::string>& arguments) override
    {
        started.push_back({executable, arguments});
    }
    long processId() const override { return id; }
};

} // namespace kv::test
