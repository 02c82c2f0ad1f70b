#pragma once
// What the capture rules work with in a test: a profile, scripted answers for the user, a
// host and log that record what was asked of them, and the context tying them together.
#include "browser/browser_sink.h"
#include "browser/browser_test_support.h"
#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"

namespace kv::test {

struct CaptureSurroundings {
    TestProfile profile;
    ScriptedDialogs dialogs;
    RecordingHost host;
    CaptureLog log;
    PendingLogins pending;
    TempTrash trash;
    CaptureContext context{pending, dialogs, host, log, profile.file(), profile.root(), trash};
};

} // namespace kv::test
