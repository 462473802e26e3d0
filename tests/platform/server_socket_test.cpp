#include "platform/server_socket.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/wire_client.h"

namespace vinylo::platform {
namespace {

using testing::WireClient;
using namespace std::chrono_literals;

constexpr int kDeadlineMs = 20000;

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// A listening socket on an ephemeral port that records its events.
class ServerSocketTest : public ::testing::Test {
protected:
    void Listen(qint64 maxPendingBytes = ServerSocket::kDefaultMaxPendingBytes) {
        socket_ = std::make_unique<ServerSocket>(nullptr, maxPendingBytes);
        QObject::connect(socket_.get(), &ServerSocket::clientEntered,
                         [this](const QString& a) { entered_.push_back(a); });
        QObject::connect(socket_.get(), &ServerSocket::clientLeft,
                         [this](const QString& a) { left_.push_back(a); });
        QObject::connect(
            socket_.get(), &ServerSocket::dataArrived,
            [this](const QString& a, const QByteArray& b) { arrived_.emplace_back(a, b); });
        ASSERT_TRUE(socket_->Listen(0)) << socket_->ErrorString().toStdString();
    }

    // Connects a client and waits until the server has accepted it.
    std::unique_ptr<WireClient> Connect(WireClient::Options options = {}) {
        const size_t before = entered_.size();
        auto client = std::make_unique<WireClient>(socket_->Port(), options);
        EXPECT_TRUE(client->IsConnected());
        EXPECT_TRUE(QTest::qWaitFor([&] { return entered_.size() > before; }, kDeadlineMs));
        return client;
    }

    std::unique_ptr<ServerSocket> socket_;
    std::vector<QString> entered_;
    std::vector<QString> left_;
    std::vector<std::pair<QString, QByteArray>> arrived_;
};

TEST_F(ServerSocketTest, ReportsEachPeerByItsIpv4AddressAndPort) {
    Listen();
    auto first = Connect();
    auto second = Connect();
    ASSERT_EQ(entered_.size(), 2u);
    EXPECT_EQ(entered_[0].toStdString(), first->Address());
    EXPECT_EQ(entered_[1].toStdString(), second->Address());
    EXPECT_TRUE(socket_->IsConnected(entered_[0]));
    EXPECT_EQ(socket_->ConnectionCount(), 2);
}

TEST_F(ServerSocketTest, DeliversWhatArrivesAsOneBlockFromItsPeer) {
    Listen();
    auto client = Connect();
    ASSERT_TRUE(client->Send("hello|||1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !arrived_.empty(); }, kDeadlineMs));
    EXPECT_EQ(arrived_[0].first.toStdString(), client->Address());
    EXPECT_EQ(arrived_[0].second, QByteArray("hello|||1"));
}

TEST_F(ServerSocketTest, KeepsMessagesToOnePeerAtLeastFiftyMillisecondsApartInOrder) {
    Listen();
    auto client = Connect();
    auto other = Connect();
    const std::vector<std::string> messages = {"first|||1", "second|||7", "third|||2",
                                               "fourth|||2"};
    for (const std::string& message : messages) {
        ASSERT_TRUE(socket_->Send(entered_[0], Bytes(message)));
    }
    // Another peer's messages are paced on their own and do not wait.
    ASSERT_TRUE(socket_->Send(entered_[1], Bytes("other|||3")));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return client->BlockCount() >= messages.size(); }, kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return other->BlockCount() >= 1; }, kDeadlineMs));

    const auto blocks = client->Blocks();
    ASSERT_EQ(blocks.size(), messages.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(blocks[i].bytes, messages[i]);
        if (i > 0) {
            EXPECT_GE(blocks[i].arrival - blocks[i - 1].arrival, 50ms) << "message " << i;
        }
    }
    EXPECT_LT(other->Blocks()[0].arrival - blocks[0].arrival, 50ms);
}

TEST_F(ServerSocketTest, ReportsALeavingPeerOnceAndForgetsIt) {
    Listen();
    auto client = Connect();
    const QString address = entered_[0];
    client->Close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !left_.empty(); }, kDeadlineMs));
    QTest::qWait(50);
    EXPECT_THAT(left_, ::testing::ElementsAre(address));
    EXPECT_FALSE(socket_->IsConnected(address));
    EXPECT_FALSE(socket_->Send(address, "late|||1"));
    EXPECT_FALSE(socket_->Send(QStringLiteral(":"), "nobody|||1"));
}

TEST_F(ServerSocketTest, DisconnectClosesThePeerAndReportsTheLeaveFromTheEventLoop) {
    Listen();
    auto client = Connect();
    const QString address = entered_[0];
    socket_->Disconnect(address);
    EXPECT_TRUE(left_.empty()) << "no handler may be re-entered by a leave";
    EXPECT_FALSE(socket_->IsConnected(address));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return client->PeerClosed() && !left_.empty(); }, kDeadlineMs));
    EXPECT_THAT(left_, ::testing::ElementsAre(address));
}

TEST_F(ServerSocketTest, GivesUpAPeerThatFallsTooFarBehindAndNobodyElse) {
    constexpr qint64 kBound = 16 * 1024;
    Listen(kBound);
    auto stalled = Connect(WireClient::Options{.read = false, .receiveBufferBytes = 4096});
    auto healthy = Connect();
    const QString stalledAddress = entered_[0];
    const QString healthyAddress = entered_[1];
    QSignalSpy dropped(socket_.get(), &ServerSocket::slowPeerDropped);

    const QByteArray chunk(4000, 'x');
    bool refused = false;
    qint64 mostPending = 0;
    for (int i = 0; i < 100 && !refused; ++i) {
        refused = !socket_->Send(stalledAddress, chunk + "|||3");
        mostPending = std::max(mostPending, socket_->PendingBytes(stalledAddress));
        ASSERT_TRUE(left_.empty());
    }
    EXPECT_TRUE(refused);
    EXPECT_LE(mostPending, kBound);
    EXPECT_EQ(dropped.count(), 1);
    EXPECT_FALSE(socket_->IsConnected(stalledAddress));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !left_.empty(); }, kDeadlineMs));
    EXPECT_THAT(left_, ::testing::ElementsAre(stalledAddress));

    ASSERT_TRUE(socket_->Send(healthyAddress, "still here|||3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return healthy->BlockCount() >= 1; }, kDeadlineMs));
    EXPECT_EQ(healthy->BlockTexts()[0], "still here|||3");
    EXPECT_TRUE(socket_->IsConnected(healthyAddress));
}

TEST_F(ServerSocketTest, OneMessageLargerThanTheBoundStillReachesAPeerThatKeepsUp) {
    constexpr qint64 kBound = 16 * 1024;
    Listen(kBound);
    auto client = Connect();
    const QByteArray big = QByteArray(40 * 1024, 'y') + "|||3";
    ASSERT_TRUE(socket_->Send(entered_[0], big));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->Received().size() >= size_t(big.size()); },
                                kDeadlineMs));
    EXPECT_EQ(client->Received(), big.toStdString());
    EXPECT_TRUE(socket_->IsConnected(entered_[0]));
}

}  // namespace
}  // namespace vinylo::platform
