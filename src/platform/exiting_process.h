#pragma once
#include "support/process.h"

namespace kv {

// Ends the process at once: no destructors, no saving, nothing flushed.
class ExitingProcess : public Process {
public:
    [[noreturn]] void endProgram() override;
};

} // namespace kv
