#include "browser/chromium/pipe_transport.h"

#include "pipe_ends.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kv {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

TEST(PipeTransport, SplitsMessagesOnTheirTerminatorsAcrossReads)
{
    PipeEnds ends;
    std::vector<std::string> messages;
    ends.peerSend("{\"a\":1}\0{\"b\""s);
    ASSERT_TRUE(ends.transport->receive(messages));
    EXPECT_EQ(messages, std::vector<std::string>{"{\"a\":1}"});
    ends.peerSend(":2}\0\0{\"c\":3}\0"s);
    ASSERT_TRUE(ends.transport->receive(messages));
    EXPECT_EQ(messages, (std::vector<std::string>{"{\"a\":1}", "{\"b\":2}", "", "{\"c\":3}"}));
}

TEST(PipeTransport, ReportsTheOtherSideClosing)
{
    PipeEnds ends;
    std::vector<std::string> messages;
    ends.peerSend("last\0"s);
    ends.peerClose();
    EXPECT_TRUE(ends.transport->waitReadable(1s));
    EXPECT_FALSE(ends.transport->receive(messages));
    EXPECT_EQ(messages, std::vector<std::string>{"last"});
    EXPECT_FALSE(ends.transport->open());
}

// A page must not grow our memory without end through one message: past the limit the
// transport stops reading and closes, whether the message is still open or already ended.
TEST(PipeTransport, AMessagePastTheLimitClosesThePipe)
{
    for (const std::string& tail : {"\0"s, ""s}) {
        PipeEnds ends(1000);
        std::vector<std::string> messages;
        ends.peerSend("ok\0"s + std::string(600, 'x'));
        ASSERT_TRUE(ends.transport->receive(messages));
        ends.peerSend(std::string(401, 'y') + tail);
        EXPECT_FALSE(ends.transport->receive(messages));
        EXPECT_EQ(messages, std::vector<std::string>{"ok"});
        EXPECT_FALSE(ends.transport->open());
    }
    PipeEnds ends(1000);
    std::vector<std::string> messages;
    ends.peerSend(std::string(1000, 'z') + "\0"s);
    ASSERT_TRUE(ends.transport->receive(messages));
    EXPECT_EQ(messages, std::vector<std::string>{std::string(1000, 'z')});
}

TEST(PipeTransport, LargeMessageArrivesWholeThroughPartialWrites)
{
    PipeEnds ends;
    const std::string big(3 * 1024 * 1024, 'x');
    std::string received;
    std::thread reader([&] {
        char buffer[8192];
        for (;;) {
            const ssize_t n = read(ends.peerRead, buffer, sizeof buffer);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(n));
            if (received.back() == '\0')
                break;
        }
    });
    EXPECT_TRUE(ends.transport->send(big, 20s));
    reader.join();
    EXPECT_EQ(received, big + '\0');
}

TEST(PipeTransport, AWriteNobodyReadsGivesUpAndCloses)
{
    PipeEnds ends;
    EXPECT_FALSE(ends.transport->send(std::string(4 * 1024 * 1024, 'x'), 200ms));
    EXPECT_FALSE(ends.transport->open());
    EXPECT_FALSE(ends.transport->send("{}", 200ms));
}

TEST(PipeTransport, WritingToAReaderThatIsGoneFailsWithoutEndingTheProgram)
{
    PipeEnds ends;
    close(ends.peerRead);
    ends.peerRead = open("/dev/null", O_RDONLY);
    EXPECT_FALSE(ends.transport->send("{}", 200ms));
    EXPECT_FALSE(ends.transport->open());
}

} // namespace
} // namespace kv
