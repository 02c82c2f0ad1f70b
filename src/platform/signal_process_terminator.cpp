#include "platform/process_terminator.h"

#include <csignal>
#include <limits>
#include <unistd.h>

namespace kv {

void SignalProcessTerminator::terminate(long processId)
{
    // kill() reads 0 and negative ids as whole process groups; never let an id reach it that way.
    if (processId <= 0 || processId > std::numeric_limits<pid_t>::max() || processId == getpid())
        return;
    ::kill(static_cast<pid_t>(processId), SIGKILL);
}

} // namespace kv
