#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake_player.h"
#include "platform/server_socket.h"
#include "protocol/gbk.h"
#include "server/chat_log.h"
#include "server/connection_registry.h"
#include "server/server_window.h"
#include "tests/support/wire_client.h"
#include "ui/report_list.h"

namespace vinylo::server {

inline constexpr int kDeadlineMs = 20000;

inline std::string Gbk(const char* utf8) {
    return protocol::Utf8ToGbk(utf8);
}

// A client's ChatText exactly as the client lays it out.
inline std::string ChatText(const std::string& nickname, const std::string& text) {
    return "http://127.0.0.1/a.png"
           "ouutx%tx" +
           nickname +
           "bq<"
           "127.0.0.1"
           ">cjbjk" +
           text + "|||1";
}

inline size_t CountCode(const testing::WireClient& client, const std::string& code) {
    size_t count = 0;
    for (const std::string& block : client.BlockTexts()) {
        if (block.size() >= code.size() + 3 &&
            block.compare(block.size() - code.size() - 3, std::string::npos, "|||" + code) == 0) {
            ++count;
        }
    }
    return count;
}

// The real server window listening on an ephemeral port, with loopback
// clients that have been greeted. It plays through `player_`, a fake, unless
// the options bring a player.
class ServerFixture : public ::testing::Test {
protected:
    void StartServer(ServerWindowOptions options = {}) {
        options.trayAvailable = false;
        if (options.player == nullptr)
            options.player = &player_;
        window_ = std::make_unique<ServerWindow>(options);
        ASSERT_TRUE(window_->serverSocket().Listen(0));
    }
    void SetUp() override { StartServer(); }

    uint16_t Port() const { return window_->serverSocket().Port(); }
    ui::ReportList& Users() const { return *window_->onlineUsers(); }
    QString Cell(int row, int column) const { return Users().CellText(row, column); }

    // Connects a client and waits until its greeting is complete (its name,
    // its address, one entry per listed user) and every earlier client has
    // heard of it.
    testing::WireClient& Join(testing::WireClient::Options options = {}) {
        const size_t listed = static_cast<size_t>(Users().RowCount());
        std::vector<size_t> before;
        for (const auto& client : clients_)
            before.push_back(client->BlockCount());
        clients_.push_back(std::make_unique<testing::WireClient>(Port(), options));
        reads_.push_back(options.read);
        testing::WireClient& client = *clients_.back();
        EXPECT_TRUE(client.IsConnected());
        if (options.read) {
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return client.BlockCount() >= listed + 3; }, kDeadlineMs));
        } else {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return static_cast<size_t>(Users().RowCount()) == listed + 1; },
                kDeadlineMs));
        }
        for (size_t i = 0; i < before.size(); ++i) {
            if (!reads_[i] || !clients_[i]->IsConnected() || clients_[i]->PeerClosed())
                continue;
            EXPECT_TRUE(QTest::qWaitFor([&] { return clients_[i]->BlockCount() >= before[i] + 1; },
                                        kDeadlineMs));
        }
        return client;
    }

    // Lets anything still in flight arrive (used before checking that
    // nothing more came).
    static void Settle() { QTest::qWait(300); }

    platform::FakePlayer player_;  // outlives the window
    std::unique_ptr<ServerWindow> window_;
    std::vector<std::unique_ptr<testing::WireClient>> clients_;
    std::vector<bool> reads_;
};

}  // namespace vinylo::server
