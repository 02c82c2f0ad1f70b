#pragma once
// What each subcommand does; the table in commands.cpp names, documents and parses them.
#include "cli/command.h"

namespace kv::cli {

int RunInit(const CommandContext& context);
int RunSites(const CommandContext& context);
int RunShow(const CommandContext& context);
int RunSearch(const CommandContext& context);
int RunLogin(const CommandContext& context);
int RunGenerate(const CommandContext& context);
int RunAudit(const CommandContext& context);
int RunTimeSaved(const CommandContext& context);
int RunExport(const CommandContext& context);
int RunImport(const CommandContext& context);
int RunBlock(const CommandContext& context);

} // namespace kv::cli
