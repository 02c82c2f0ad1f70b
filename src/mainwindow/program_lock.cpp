#include "mainwindow/program_lock.h"

#include "mainwindow/lock_settings.h"

namespace kv {

ProgramLock::ProgramLock(std::filesystem::path profileFile, Clock clock, Window window)
    : profileFile_(std::move(profileFile)), clock_(std::move(clock)), window_(std::move(window)),
      lastActive_(clock_())
{
}

void ProgramLock::lock()
{
    if (locked_ || !available())
        return;
    locked_ = true;
    window_.hideAndForget();
}

void ProgramLock::idleCheck()
{
    const int minutes = ReadLockIdleMinutes(profileFile_);
    if (locked_ || minutes == 0)
        return;
    if (clock_() - lastActive_ >= std::chrono::minutes(minutes))
        lock();
}

bool ProgramLock::show()
{
    if (locked_) {
        if (asking_)
            return false;
        asking_ = true;
        const bool passed = window_.passLogin();
        asking_ = false;
        if (!passed)
            return false;
        locked_ = false;
    }
    lastActive_ = clock_();
    window_.show();
    return true;
}

} // namespace kv
