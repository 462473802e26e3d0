// What every player does at once when it is told something: the fake the
// other tests use must agree with the real engine here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <chrono>
#include <functional>
#include <memory>

#include "platform/fake_player.h"
#include "platform/mpv_player.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/player_printing.h"
#include "tests/support/sine_wav.h"

namespace vinylo::platform {
namespace {

using namespace std::chrono_literals;
using State = Player::State;
using ::testing::ElementsAre;

struct PlayerKind {
    const char* name;
    std::function<std::unique_ptr<Player>()> make;
};

class PlayerContractTest : public ::testing::TestWithParam<PlayerKind> {
protected:
    PlayerContractTest()
        : server_([](const testing::HttpRequest&) {
              testing::HttpResponse response;
              response.body = testing::SineWav(3000ms);
              return response;
          }) {}

    testing::LoopbackHttpServer server_;
};

TEST_P(PlayerContractTest, ReactsAtOnceAndNeverEndsOnCommand) {
    std::unique_ptr<Player> player = GetParam().make();
    ASSERT_TRUE(player);
    int ends = 0;
    QObject::connect(player.get(), &Player::ended, player.get(), [&ends] { ++ends; });
    const QString url = QString::fromStdString(server_.Url("/song.wav"));

    // Without media nothing happens.
    EXPECT_EQ(player->state(), State::Idle);
    EXPECT_TRUE(player->url().isEmpty());
    player->pause();
    player->resume();
    player->stop();
    player->seek(1000);
    EXPECT_EQ(player->state(), State::Idle);

    player->play(url);
    EXPECT_EQ(player->state(), State::Loading);
    EXPECT_TRUE(player->isBusy());
    EXPECT_EQ(player->url(), url);
    player->pause();
    EXPECT_EQ(player->state(), State::Paused);
    EXPECT_FALSE(player->isBusy());
    player->resume();
    EXPECT_TRUE(player->isBusy());
    player->stop();
    EXPECT_EQ(player->state(), State::Stopped);
    EXPECT_EQ(player->url(), url);
    EXPECT_EQ(player->positionMs(), 0);
    player->pause();
    EXPECT_EQ(player->state(), State::Stopped);
    player->resume();
    EXPECT_EQ(player->state(), State::Loading) << "play after stop starts the media again";
    player->play(url);
    EXPECT_EQ(player->state(), State::Loading);
    player->play(QString());
    EXPECT_EQ(player->state(), State::Idle);
    EXPECT_TRUE(player->url().isEmpty());

    std::vector<int> volumes;
    std::vector<bool> mutes;
    QObject::connect(player.get(), &Player::volumeChanged, player.get(),
                     [&](int v) { volumes.push_back(v); });
    QObject::connect(player.get(), &Player::mutedChanged, player.get(),
                     [&](bool m) { mutes.push_back(m); });
    EXPECT_EQ(player->volume(), 100);
    EXPECT_FALSE(player->isMuted());
    player->setVolume(-5);
    player->setVolume(250);
    player->setVolume(250);
    player->setMuted(true);
    player->setMuted(true);
    EXPECT_THAT(volumes, ElementsAre(0, 100));
    EXPECT_THAT(mutes, ElementsAre(true));

    QTest::qWait(300);  // late signals from the engine would arrive now
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(player->state(), State::Idle);
}

INSTANTIATE_TEST_SUITE_P(
    , PlayerContractTest,
    ::testing::Values(PlayerKind{"Fake", [] { return std::make_unique<FakePlayer>(); }},
                      PlayerKind{"Mpv",
                                 [] {
                                     MpvPlayerOptions options;
                                     options.audioOutput = QStringLiteral("null");
                                     return std::unique_ptr<Player>(MpvPlayer::Create(options));
                                 }}),
    [](const ::testing::TestParamInfo<PlayerKind>& info) { return std::string(info.param.name); });

TEST(FakePlayerTest, EndsWhenTheTestSaysAndRecordsEveryCommand) {
    FakePlayer player;
    std::vector<std::pair<Player::EndReason, QString>> ends;
    std::vector<State> statesAtEnd;
    QObject::connect(&player, &Player::ended, &player,
                     [&](Player::EndReason reason, const QString& url) {
                         ends.emplace_back(reason, url);
                         statesAtEnd.push_back(player.state());
                     });
    player.play(QStringLiteral("http://127.0.0.1/a.mp3"));
    player.setState(State::Playing);
    player.setDuration(200000);
    player.setPosition(83000);
    player.seek(500000);
    EXPECT_EQ(player.positionMs(), 200000) << "clamped to the song";
    player.end(Player::EndReason::Failed);
    player.play(QString());
    player.setVolume(40);
    player.setMuted(true);

    EXPECT_THAT(ends, ElementsAre(std::pair(Player::EndReason::Failed,
                                            QStringLiteral("http://127.0.0.1/a.mp3"))));
    EXPECT_THAT(statesAtEnd, ElementsAre(State::Stopped));
    EXPECT_THAT(player.played(), ElementsAre(QStringLiteral("http://127.0.0.1/a.mp3"), QString()));
    EXPECT_THAT(player.calls(),
                ElementsAre(QStringLiteral("play http://127.0.0.1/a.mp3"),
                            QStringLiteral("seek 500000"), QStringLiteral("play "),
                            QStringLiteral("volume 40"), QStringLiteral("mute on")));
}

}  // namespace
}  // namespace vinylo::platform
