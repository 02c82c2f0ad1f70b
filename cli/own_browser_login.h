#pragma once
// Logging in when the program does not run: the tool starts the program's browser itself,
// with the same login engine and window sinks, and keeps it until its windows are closed
// or the tool is interrupted. Sites are never saved from this browser: that is the
// program's part.
#include "cli/terminal_dialogs.h"
#include "platform/instance_request.h"

#include <filesystem>

namespace kv::cli {

// The sites of the request, already looked up; the process's answer.
int LoginInOwnBrowser(const InstanceRequest& request, const std::filesystem::path& profileDirectory,
                      const std::filesystem::path& profileFile, TerminalDialogs& dialogs);

} // namespace kv::cli
