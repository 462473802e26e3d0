// A client that connects and never reads must neither stall the others nor
// make the server grow without bound.
#include <gtest/gtest.h>

#include <QTest>

#include "tests/server/server_fixture.h"

namespace vinylo::server {
namespace {

using testing::WireClient;

class SlowPeerTest : public ServerFixture {
protected:
    static constexpr qint64 kBound = 32 * 1024;
    void SetUp() override {
        ServerWindowOptions options;
        options.maxPendingBytes = kBound;
        StartServer(options);
    }
};

TEST_F(SlowPeerTest, IsDisconnectedOnceFarBehindWhileEveryoneElseKeepsGettingEverything) {
    WireClient& stalled = Join(WireClient::Options{.read = false, .receiveBufferBytes = 4096});
    WireClient& sender = Join();
    WireClient& listener = Join();
    const QString stalledAddress = QString::fromStdString(stalled.Address());
    platform::ServerSocket& socket = window_->serverSocket();

    const std::string text(8000, 'x');
    qint64 mostPending = 0;
    int relayed = 0;
    // Each line follows the relay of the one before, as fast as pacing lets
    // a reader take them. The stalled peer's share piles up in the server.
    while (socket.IsConnected(stalledAddress) && relayed < 400) {
        ASSERT_TRUE(sender.Send(ChatText(Gbk("小明"), text)));
        ++relayed;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                mostPending = std::max(mostPending, socket.PendingBytes(stalledAddress));
                return CountCode(sender, "6") >= size_t(relayed);
            },
            kDeadlineMs))
            << "the sender's relays stalled after " << relayed;
    }
    EXPECT_FALSE(socket.IsConnected(stalledAddress));
    EXPECT_LE(mostPending, kBound);

    // The stalled peer is handled as leaving: its row goes, the others hear of it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(listener, "5") == 1; }, kDeadlineMs));
    EXPECT_EQ(listener.BlockTexts().back(), "<" + Gbk("用户1") + ">" + stalled.Address() + "|||5");
    EXPECT_EQ(Users().RowCount(), 2);
    EXPECT_FALSE(window_->registry().FindUserRow(stalledAddress).has_value());

    // Nobody else lost a line.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return CountCode(listener, "6") == size_t(relayed); }, kDeadlineMs));
    EXPECT_EQ(CountCode(listener, "3"), size_t(relayed));
    EXPECT_EQ(CountCode(sender, "3"), size_t(relayed));
}

}  // namespace
}  // namespace vinylo::server
