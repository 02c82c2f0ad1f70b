// Secrets on the clipboard are cleared after the delay unless something else was copied.
#include "common/scripted_dialogs.h"
#include "sites_folder.h"
#include "tools/copy_site_value.h"
#include "tools/secret_clipboard.h"
#include "tools/tools_texts.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kv {
namespace {

class TestClipboard : public Clipboard {
public:
    std::string text() const override { return text_; }
    void setText(std::string_view text) override { text_ = text; }
    void clear() override { text_.clear(); }

private:
    std::string text_;
};

// A clock the test moves by hand; timers fire when their time has come.
class TestTimers {
public:
    SecretClipboard::Schedule schedule()
    {
        return [this](std::chrono::milliseconds delay, std::function<void()> call) {
            timers_.push_back({now_ + delay, std::move(call)});
        };
    }
    void advance(std::chrono::milliseconds by)
    {
        now_ += by;
        for (auto& timer : timers_)
            if (timer.call && timer.due <= now_)
                std::exchange(timer.call, nullptr)();
    }

private:
    struct Timer {
        std::chrono::milliseconds due;
        std::function<void()> call;
    };
    std::chrono::milliseconds now_{0};
    std::vector<Timer> timers_;
};

TEST(SecretClipboard, ClearsTheSecretAfterThirtySeconds)
{
    TestClipboard clipboard;
    TestTimers timers;
    SecretClipboard secrets(clipboard, timers.schedule());
    secrets.copy("hunter2");
    EXPECT_EQ(clipboard.text(), "hunter2");
    timers.advance(std::chrono::milliseconds(29'999));
    EXPECT_EQ(clipboard.text(), "hunter2");
    timers.advance(std::chrono::milliseconds(1));
    EXPECT_EQ(clipboard.text(), "");
}

TEST(SecretClipboard, LeavesWhatTheUserCopiedSince)
{
    TestClipboard clipboard;
    TestTimers timers;
    SecretClipboard secrets(clipboard, timers.schedule());
    secrets.copy("hunter2");
    clipboard.setText("a note of mine");
    timers.advance(std::chrono::seconds(30));
    EXPECT_EQ(clipboard.text(), "a note of mine");
}

TEST(SecretClipboard, ALaterCopyGetsItsOwnThirtySeconds)
{
    TestClipboard clipboard;
    TestTimers timers;
    SecretClipboard secrets(clipboard, timers.schedule());
    secrets.copy("first");
    timers.advance(std::chrono::seconds(20));
    secrets.copy("second");
    timers.advance(std::chrono::seconds(10));
    EXPECT_EQ(clipboard.text(), "second");
    timers.advance(std::chrono::seconds(20));
    EXPECT_EQ(clipboard.text(), "");
}

TEST(SecretClipboard, ATimerThatOutlivesItsOwnerDoesNothing)
{
    TestClipboard clipboard;
    TestTimers timers;
    {
        SecretClipboard secrets(clipboard, timers.schedule());
        secrets.copy("hunter2");
    }
    timers.advance(std::chrono::seconds(30));
    EXPECT_EQ(clipboard.text(), "hunter2");
}

TEST(CopySiteValue, CopiesAStoredValueAndSaysSoWhenItCannotBeRead)
{
    test::SitesFolder sites;
    TestClipboard clipboard;
    TestTimers timers;
    SecretClipboard secrets(clipboard, timers.schedule());
    test::ScriptedDialogs dialogs;
    CopySiteValue(sites.login("A.QVR", "A", "alice", "S3cret!"), FORMPASSVALUE, secrets, dialogs);
    EXPECT_EQ(clipboard.text(), "S3cret!");
    CopySiteValue(sites.login("B.QVR", "B", "", ""), FORMLOGINVALUE, secrets, dialogs);
    EXPECT_EQ(clipboard.text(), "S3cret!");
    CopySiteValue(sites.foreign("C.QVR", "C"), FORMPASSVALUE, secrets, dialogs);
    EXPECT_EQ(clipboard.text(), "S3cret!");
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{std::string(kCopyDamaged)});
    timers.advance(kClipboardClearDelay);
    EXPECT_EQ(clipboard.text(), "");
}

} // namespace
} // namespace kv
