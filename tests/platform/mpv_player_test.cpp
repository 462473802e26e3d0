// The real libmpv engine, silent (null audio output) but with real timing,
// playing short generated songs from a loopback HTTP server.
#include "platform/mpv_player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

#include "tests/support/loopback_http_server.h"
#include "tests/support/player_printing.h"
#include "tests/support/sine_wav.h"

namespace vinylo::platform {
namespace {

using namespace std::chrono_literals;
using State = Player::State;
using EndReason = Player::EndReason;
using ::testing::ElementsAre;
using ::testing::Pair;

constexpr int kDeadlineMs = 20000;

// Everything a player says, in order.
class PlayerLog {
public:
    explicit PlayerLog(Player& player) {
        QObject::connect(&player, &Player::stateChanged, &context_,
                         [this](State state) { states.push_back(state); });
        QObject::connect(
            &player, &Player::ended, &context_,
            [this](EndReason reason, const QString& url) { ends.emplace_back(reason, url); });
        QObject::connect(&player, &Player::audioDeviceMissingChanged, &context_,
                         [this](bool missing) { missingChanges.push_back(missing); });
    }

    bool saw(State state) const { return std::count(states.begin(), states.end(), state) > 0; }

    std::vector<State> states;
    std::vector<std::pair<EndReason, QString>> ends;
    std::vector<bool> missingChanges;

private:
    QObject context_;
};

class MpvPlayerTest : public ::testing::Test {
protected:
    MpvPlayerTest()
        : server_([this](const testing::HttpRequest& request) { return Answer(request); }) {}

    static testing::HttpResponse Answer(const testing::HttpRequest& request) {
        static const std::map<std::string, std::string> songs{
            {"/one.wav", testing::SineWav(1000ms, 440)},
            {"/two.wav", testing::SineWav(600ms, 660)},
            {"/three.wav", testing::SineWav(3000ms, 550)}};
        if (request.target == "/hang.wav") {
            testing::HttpResponse response;
            response.neverAnswer = true;
            return response;
        }
        return testing::ServeSong(request, songs);
    }

    QString Url(const char* path) const { return QString::fromStdString(server_.Url(path)); }

    static std::unique_ptr<MpvPlayer> Make(MpvPlayerOptions options = Silent()) {
        QString error;
        auto player = MpvPlayer::Create(options, &error);
        EXPECT_TRUE(player) << error.toStdString();
        return player;
    }

    static MpvPlayerOptions Silent() {
        MpvPlayerOptions options;
        options.audioOutput = QStringLiteral("null");
        return options;
    }

    static bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, kDeadlineMs);
    }

    testing::LoopbackHttpServer server_;
};

TEST_F(MpvPlayerTest, PlaysASongToItsEndThenTheNextOne) {
    auto player = Make();
    ASSERT_TRUE(player);
    PlayerLog log(*player);
    EXPECT_EQ(player->state(), State::Idle);

    // The next song starts from the end signal, as the queue does it.
    QElapsedTimer clock;
    std::vector<qint64> endedAfterMs;
    QObject::connect(player.get(), &Player::ended, player.get(),
                     [&](EndReason, const QString& url) {
                         endedAfterMs.push_back(clock.elapsed());
                         if (url == Url("/one.wav")) {
                             clock.restart();
                             player->play(Url("/two.wav"));
                         }
                     });

    clock.start();
    player->play(Url("/one.wav"));
    EXPECT_EQ(player->state(), State::Loading) << "busy from the moment it is given the song";
    EXPECT_TRUE(player->isBusy());
    EXPECT_EQ(player->url(), Url("/one.wav"));

    ASSERT_TRUE(WaitFor([&] { return player->state() == State::Playing; }));
    EXPECT_NEAR(static_cast<double>(player->durationMs()), 1000.0, 50.0);
    ASSERT_TRUE(WaitFor([&] { return log.ends.size() == 2; }));

    EXPECT_THAT(log.ends, ElementsAre(Pair(EndReason::Finished, Url("/one.wav")),
                                      Pair(EndReason::Finished, Url("/two.wav"))));
    // Real timing: each song lasts as long as its sound.
    ASSERT_EQ(endedAfterMs.size(), 2u);
    EXPECT_GE(endedAfterMs[0], 900);
    EXPECT_GE(endedAfterMs[1], 500);
    EXPECT_THAT(log.states, ElementsAre(State::Loading, State::Playing, State::Stopped,
                                        State::Loading, State::Playing, State::Stopped));
    EXPECT_EQ(player->state(), State::Stopped);
    EXPECT_FALSE(player->isBusy());
    EXPECT_EQ(player->url(), Url("/two.wav")) << "the media stays loaded after its end";
    EXPECT_EQ(player->positionMs(), 0);
    EXPECT_TRUE(log.missingChanges.empty()) << "the null output is what was asked for";
}

TEST_F(MpvPlayerTest, ASongThatCannotBePlayedFailsInsteadOfHanging) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("http://127.0.0.1:%1/song.wav").arg(closed.serverPort());
    closed.close();

    MpvPlayerOptions options = Silent();
    options.networkTimeoutSeconds = 1;
    auto player = Make(options);
    ASSERT_TRUE(player);
    const std::pair<const char*, QString> cases[] = {
        {"not found", Url("/missing.wav")},
        {"connection refused", refused},
        {"server never answers", Url("/hang.wav")},
    };
    for (const auto& [name, url] : cases) {
        SCOPED_TRACE(name);
        PlayerLog log(*player);
        player->play(url);
        ASSERT_TRUE(WaitFor([&] { return !log.ends.empty(); }));
        EXPECT_THAT(log.ends, ElementsAre(Pair(EndReason::Failed, url)));
        EXPECT_FALSE(log.saw(State::Playing));
        EXPECT_EQ(player->state(), State::Stopped);
        EXPECT_EQ(player->url(), url);
    }
}

TEST_F(MpvPlayerTest, ReplacedSongsSendNoEndSignal) {
    auto player = Make();
    ASSERT_TRUE(player);
    PlayerLog log(*player);

    // The engine reports the abandoned songs as stopped or even as failed;
    // only the last one's end may reach the queue.
    player->play(Url("/hang.wav"));
    ASSERT_TRUE(WaitFor([&] { return server_.RequestCount() == 1; }));
    player->play(Url("/three.wav"));
    ASSERT_TRUE(WaitFor([&] { return player->state() == State::Playing; }));
    // Several in a row while one plays: the last one plays.
    player->play(Url("/one.wav"));
    player->play(Url("/missing.wav"));
    player->play(Url("/two.wav"));
    EXPECT_EQ(player->state(), State::Loading);
    ASSERT_TRUE(WaitFor([&] { return !log.ends.empty(); }));
    QTest::qWait(200);  // anything late about the replaced songs would come now
    EXPECT_THAT(log.ends, ElementsAre(Pair(EndReason::Finished, Url("/two.wav"))));
    EXPECT_TRUE(log.saw(State::Playing));
}

TEST_F(MpvPlayerTest, ControlsRoundTripThroughTheEngine) {
    auto player = Make();
    ASSERT_TRUE(player);
    PlayerLog log(*player);
    player->setVolume(30);  // before any song: it carries over
    player->play(Url("/three.wav"));
    ASSERT_TRUE(WaitFor([&] { return player->state() == State::Playing; }));
    EXPECT_EQ(player->engineProperty("volume").toDouble(), 30.0);

    ASSERT_TRUE(WaitFor([&] { return player->positionMs() > 200; }));
    player->pause();
    EXPECT_EQ(player->state(), State::Paused);
    EXPECT_FALSE(player->isBusy());
    EXPECT_EQ(player->engineProperty("pause"), QStringLiteral("yes"));
    ASSERT_TRUE(
        WaitFor([&] { return player->engineProperty("core-idle") == QStringLiteral("yes"); }));
    const qint64 pausedAt = player->positionMs();
    QTest::qWait(400);
    // (the engine may still settle the last few milliseconds it had sent out)
    EXPECT_LE(player->positionMs() - pausedAt, 100) << "a paused song does not move on";
    EXPECT_LT(pausedAt, 1500);

    player->seek(2000);
    EXPECT_EQ(player->positionMs(), 2000) << "the bar sees the new place at once";
    EXPECT_EQ(player->state(), State::Paused) << "seeking keeps the pause";

    std::vector<qint64> positions;
    QObject::connect(player.get(), &Player::positionChanged, player.get(),
                     [&](qint64 ms) { positions.push_back(ms); });
    player->resume();
    EXPECT_EQ(player->engineProperty("pause"), QStringLiteral("no"));
    ASSERT_TRUE(WaitFor([&] { return player->state() == State::Playing; }));
    ASSERT_TRUE(WaitFor([&] { return player->positionMs() > 2200; }));
    EXPECT_GE(*std::min_element(positions.begin(), positions.end()), 1700)
        << "the song went on from where it was sent";

    player->setVolume(140);
    EXPECT_EQ(player->volume(), 100);
    player->setVolume(40);
    EXPECT_EQ(player->engineProperty("volume").toDouble(), 40.0);
    player->setMuted(true);
    EXPECT_TRUE(player->isMuted());
    EXPECT_EQ(player->engineProperty("mute"), QStringLiteral("yes"));
    player->setMuted(false);
    EXPECT_EQ(player->engineProperty("mute"), QStringLiteral("no"));

    player->stop();
    EXPECT_EQ(player->state(), State::Stopped);
    EXPECT_EQ(player->positionMs(), 0);
    ASSERT_TRUE(
        WaitFor([&] { return player->engineProperty("idle-active") == QStringLiteral("yes"); }));

    // Play after stop starts the song again from its beginning.
    player->resume();
    EXPECT_EQ(player->state(), State::Loading);
    ASSERT_TRUE(WaitFor([&] { return player->state() == State::Playing; }));
    EXPECT_LT(player->positionMs(), 1500);
    EXPECT_EQ(player->engineProperty("volume").toDouble(), 40.0);

    // The empty URL leaves the player without media.
    player->play(QString());
    EXPECT_EQ(player->state(), State::Idle);
    EXPECT_TRUE(player->url().isEmpty());
    QTest::qWait(200);
    EXPECT_TRUE(log.ends.empty()) << "stopping is not an end";
    EXPECT_EQ(player->state(), State::Idle);
}

TEST_F(MpvPlayerTest, PausedPlayerPlaysTheNextSongItIsGiven) {
    auto player = Make();
    ASSERT_TRUE(player);
    player->play(Url("/three.wav"));
    ASSERT_TRUE(WaitFor([&] { return player->state() == State::Playing; }));
    player->pause();
    player->play(Url("/one.wav"));
    EXPECT_EQ(player->state(), State::Loading);
    ASSERT_TRUE(WaitFor([&] { return player->state() == State::Playing; }));
    EXPECT_EQ(player->engineProperty("pause"), QStringLiteral("no"));
}

TEST_F(MpvPlayerTest, WithoutAnAudioDeviceItSaysSoOnceAndPlaysSilently) {
    MpvPlayerOptions options;
    options.audioOutput = QStringLiteral("alsa");
    options.audioDevice = QStringLiteral("alsa/vinylo-no-such-device");
    auto player = Make(options);
    ASSERT_TRUE(player);
    PlayerLog log(*player);
    QElapsedTimer clock;
    clock.start();
    player->play(Url("/one.wav"));
    ASSERT_TRUE(WaitFor([&] { return !log.ends.empty(); }));
    EXPECT_GE(clock.elapsed(), 900) << "silent, but with the song's real length";
    EXPECT_THAT(log.ends, ElementsAre(Pair(EndReason::Finished, Url("/one.wav"))));
    EXPECT_TRUE(log.saw(State::Playing));
    EXPECT_TRUE(player->audioDeviceMissing());

    player->play(Url("/two.wav"));
    ASSERT_TRUE(WaitFor([&] { return log.ends.size() == 2; }));
    EXPECT_EQ(log.ends[1].first, EndReason::Finished);
    EXPECT_THAT(log.missingChanges, ElementsAre(true)) << "said once, not for every song";
}

}  // namespace
}  // namespace vinylo::platform
