#include "platform/exiting_process.h"

#include <cstdlib>

namespace kv {

void ExitingProcess::endProgram()
{
    std::_Exit(0);
}

} // namespace kv
