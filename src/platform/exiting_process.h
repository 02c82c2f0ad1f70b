#pragma once
#include "support/process.h"

namespace kv {

// Ends the process at once: no destructors, no saving, nothing flushed.
class ExitingProcess : public Process {
public:
    [[noreturn]] void endProgram() override;
    void startProgram(const std::filesystem::path& executable,
                      const std::vector<std::string>& arguments) override;
    long processId() const override;
};

} // namespace kv
