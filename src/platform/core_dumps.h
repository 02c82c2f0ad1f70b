#pragma once
// The program holds the profile key and decrypted passwords in memory: no core file
// may ever hold them, and no other process of the user may read them through a debugger.
namespace kv {

// Sets the core size limit to 0 (also the hard limit, so no child can raise it) and marks
// the process non-dumpable. False when either could not be done.
bool ForbidCoreDumps();

} // namespace kv
