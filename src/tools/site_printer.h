#pragma once
// CmdPrint_Click: the print page in a new window of the program's browser, then the
// browser's print dialog.
#include "browser/automation.h"

#include <chrono>
#include <filesystem>
#include <functional>

namespace kv {

// Lets the browser's events run until done() holds or the limit passes; returns done().
using WaitUntil = std::function<bool(const std::function<bool()>& done, std::chrono::milliseconds limit)>;

inline constexpr std::chrono::milliseconds kPrintReadyLimit{20'000};

// False when the page could not be shown; like the rest of printing, that is not reported.
// A window that never becomes ready is written to after the limit regardless.
bool PrintSites(WindowList& browser, const std::filesystem::path& sitesDirectory, const WaitUntil& wait);

} // namespace kv
