// The queue over the real media engine (silent, with real timing): two
// generated songs from a loopback web server, requested by a loopback client,
// play one after the other.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <chrono>

#include "platform/mpv_player.h"
#include "protocol/client_messages.h"
#include "server/song_queue.h"
#include "tests/server/server_fixture.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/player_printing.h"
#include "tests/support/sine_wav.h"

namespace vinylo::server {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using State = platform::Player::State;

testing::HttpResponse Songs(const testing::HttpRequest& request) {
    static const std::map<std::string, std::string> songs{
        {"/one.wav", testing::SineWav(900ms, 440)}, {"/two.wav", testing::SineWav(600ms, 660)}};
    return testing::ServeSong(request, songs);
}

class SongPlaybackTest : public ServerFixture {
protected:
    void SetUp() override {
        QString error;
        platform::MpvPlayerOptions options;
        options.audioOutput = QStringLiteral("null");
        mpv_ = platform::MpvPlayer::Create(options, &error);
        ASSERT_TRUE(mpv_) << error.toStdString();
        ServerWindowOptions windowOptions;
        windowOptions.player = mpv_.get();
        // No tick comes during the test unless it asks for one: whatever
        // follows the first start is the queue's own doing.
        windowOptions.playbackTickMs = 3600 * 1000;
        StartServer(windowOptions);
    }
    void TearDown() override { window_.reset(); }

    testing::LoopbackHttpServer http_{Songs};
    std::unique_ptr<platform::MpvPlayer> mpv_;
};

TEST_F(SongPlaybackTest, TheSecondRequestStartsRightAfterTheFirstEnds) {
    testing::WireClient& client = Join();
    const size_t greeting = client.BlockCount();
    const std::string one = http_.Url("/one.wav");
    const std::string two = http_.Url("/two.wav");
    for (const auto& [url, title, rows] : {std::tuple{one, "一", 1}, std::tuple{two, "二", 2}}) {
        ASSERT_TRUE(client.Send(protocol::BuildSongRequest({.coverUrl = url + ".jpg",
                                                            .nickname = Gbk("阿杰"),
                                                            .playUrl = url,
                                                            .title = Gbk(title),
                                                            .singer = Gbk("正弦波")})));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return window_->songQueue()->RowCount() == rows; }, kDeadlineMs));
    }

    std::vector<QString> playing;  // the URL at each change to Playing
    QObject::connect(mpv_.get(), &platform::Player::stateChanged, mpv_.get(), [&](State state) {
        if (state == State::Playing)
            playing.push_back(mpv_->url());
    });
    window_->queue().Tick();
    EXPECT_EQ(mpv_->url().toStdString(), one);
    EXPECT_TRUE(mpv_->isBusy()) << "loading counts as busy";
    ASSERT_TRUE(QTest::qWaitFor([&] { return mpv_->state() == State::Playing; }, kDeadlineMs));
    EXPECT_EQ(window_->songQueue()->RowCount(), 1);
    window_->queue().Tick();  // playing: left alone
    EXPECT_EQ(mpv_->url().toStdString(), one);

    ASSERT_TRUE(QTest::qWaitFor([&] { return playing.size() == 2; }, kDeadlineMs));
    EXPECT_EQ(window_->songQueue()->RowCount(), 0);
    // The last song ends: the player is let go, and nothing more is said.
    ASSERT_TRUE(QTest::qWaitFor([&] { return mpv_->state() == State::Idle; }, kDeadlineMs));
    EXPECT_THAT(playing, ElementsAre(QString::fromStdString(one), QString::fromStdString(two)));

    Settle();
    const auto blocks = client.Blocks();
    ASSERT_EQ(blocks.size(), greeting + 4);
    std::vector<std::string> notices;
    for (size_t i = greeting; i < blocks.size(); ++i)
        notices.push_back(blocks[i].bytes);
    const std::string prefix = Gbk("当前歌曲来自 阿杰 点播的《");
    EXPECT_THAT(notices, ElementsAre(prefix + Gbk("一") + Gbk("》") + "|||89", one + ".jpg|||87",
                                     prefix + Gbk("二") + Gbk("》") + "|||89", two + ".jpg|||87"));
    // Real timing: the second start waited for the first song's sound.
    EXPECT_GE(blocks[greeting + 2].arrival - blocks[greeting].arrival, 800ms);
}

}  // namespace
}  // namespace vinylo::server
