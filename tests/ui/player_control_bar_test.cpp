// The operator's control bar over a fake player: what it shows for each
// state, and what its buttons and sliders tell the player.
#include "ui/player_control_bar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "platform/fake_player.h"
#include "tests/support/player_printing.h"
#include "ui/flat_slider.h"
#include "ui/glyph_button.h"

namespace vinylo::ui {
namespace {

using platform::FakePlayer;
using State = platform::Player::State;
using Glyph = GlyphButton::Glyph;
using ::testing::ElementsAre;

TEST(FormatPlayTimeTest, MinutesAndSecondsHoursOnlyWhenNeeded) {
    const std::pair<qint64, const char*> cases[] = {
        {0, "0:00"},          {999, "0:00"},     {1000, "0:01"},     {83000, "1:23"},
        {245900, "4:05"},     {600000, "10:00"}, {3599000, "59:59"}, {3600000, "1:00:00"},
        {3723000, "1:02:03"}, {-5000, "0:00"},
    };
    for (const auto& [ms, text] : cases) {
        EXPECT_EQ(FormatPlayTime(ms), QString::fromUtf8(text)) << ms;
    }
}

class PlayerControlBarTest : public ::testing::Test {
protected:
    PlayerControlBarTest() : bar_(player_) { bar_.show(); }

    template <typename T>
    T* Child(const char* name) {
        T* child = bar_.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    GlyphButton* PlayPause() { return Child<GlyphButton>("playPauseButton"); }
    GlyphButton* Stop() { return Child<GlyphButton>("stopButton"); }
    GlyphButton* Mute() { return Child<GlyphButton>("muteButton"); }
    FlatSlider* Seek() { return Child<FlatSlider>("seekSlider"); }
    FlatSlider* Volume() { return Child<FlatSlider>("volumeSlider"); }

    // A song of 310 s (one second per pixel of the seek bar), playing at 83 s.
    void PlaySong() {
        player_.play(QStringLiteral("http://127.0.0.1/song.mp3"));
        player_.setDuration(310000);
        player_.setPosition(83000);
        player_.setState(State::Playing);
        player_.clearRecords();
    }

    // A point `x` pixels into a slider's groove, which keeps the handle's
    // radius (7 px) clear at both ends.
    static QPoint At(FlatSlider* slider, int x) { return QPoint(7 + x, slider->height() / 2); }

    FakePlayer player_;
    PlayerControlBar bar_;
};

TEST_F(PlayerControlBarTest, TakesThePlaceOfTheDesignedPlayer) {
    EXPECT_EQ(bar_.objectName(), QStringLiteral("播放器1"));
    EXPECT_EQ(bar_.size(), QSize(344, 62));
    for (QWidget* child : bar_.findChildren<QWidget*>()) {
        EXPECT_TRUE(bar_.rect().contains(child->geometry())) << child->objectName().toStdString();
    }
}

TEST_F(PlayerControlBarTest, ShowsEachStateOfThePlayer) {
    struct Case {
        State state;
        Glyph playGlyph;
        bool playEnabled;
        bool stopEnabled;
        bool seekEnabled;
    };
    const Case cases[] = {
        {State::Loading, Glyph::Pause, true, true, true},
        {State::Playing, Glyph::Pause, true, true, true},
        {State::Paused, Glyph::Play, true, true, true},
        {State::Stopped, Glyph::Play, true, false, false},
        {State::Idle, Glyph::Play, false, false, false},
    };
    player_.play(QStringLiteral("http://127.0.0.1/song.mp3"));
    player_.setDuration(200000);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.state));
        player_.setState(c.state);
        EXPECT_EQ(PlayPause()->glyph(), c.playGlyph);
        EXPECT_EQ(PlayPause()->isEnabled(), c.playEnabled);
        EXPECT_EQ(Stop()->isEnabled(), c.stopEnabled);
        EXPECT_EQ(Seek()->isEnabled(), c.seekEnabled);
    }
}

TEST_F(PlayerControlBarTest, ShowsWhereTheSongIs) {
    EXPECT_EQ(bar_.timeText(), QStringLiteral("0:00 / 0:00"));
    player_.play(QStringLiteral("http://127.0.0.1/song.mp3"));
    EXPECT_EQ(bar_.timeText(), QStringLiteral("正在缓冲…"));
    EXPECT_FALSE(Seek()->isEnabled()) << "no length known yet";
    player_.setDuration(245000);
    player_.setPosition(83000);
    player_.setState(State::Playing);
    EXPECT_EQ(bar_.timeText(), QStringLiteral("1:23 / 4:05"));
    EXPECT_EQ(Seek()->maximum(), 245000);
    EXPECT_EQ(Seek()->value(), 83000);
    player_.setPosition(84000);
    EXPECT_EQ(Seek()->value(), 84000);
    player_.end();
    EXPECT_EQ(bar_.timeText(), QStringLiteral("0:00 / 0:00"));
    EXPECT_FALSE(Seek()->isEnabled());
}

TEST_F(PlayerControlBarTest, ButtonsCommandThePlayer) {
    PlaySong();
    QTest::mouseClick(PlayPause(), Qt::LeftButton);
    EXPECT_EQ(player_.state(), State::Paused);
    EXPECT_EQ(PlayPause()->glyph(), Glyph::Play);
    QTest::mouseClick(PlayPause(), Qt::LeftButton);
    EXPECT_EQ(player_.state(), State::Playing);
    QTest::mouseClick(Stop(), Qt::LeftButton);
    EXPECT_EQ(player_.state(), State::Stopped);
    QTest::mouseClick(PlayPause(), Qt::LeftButton);  // again from the start
    EXPECT_EQ(player_.state(), State::Loading);
    EXPECT_THAT(player_.calls(), ElementsAre(QStringLiteral("pause"), QStringLiteral("resume"),
                                             QStringLiteral("stop"), QStringLiteral("resume")));
    EXPECT_THAT(player_.played(), ElementsAre()) << "the bar never changes the song";
}

TEST_F(PlayerControlBarTest, SeeksWhereTheHandleIsLetGo) {
    PlaySong();
    FlatSlider* seek = Seek();
    ASSERT_EQ(seek->width() - 14, 310);
    QTest::mouseClick(seek, Qt::LeftButton, {}, At(seek, 155));
    EXPECT_THAT(player_.calls(), ElementsAre(QStringLiteral("seek 155000")));
    EXPECT_EQ(player_.positionMs(), 155000);

    // While the handle is held the song moves on underneath: the handle and
    // the time follow the hand, and only the letting go seeks.
    player_.clearRecords();
    QTest::mousePress(seek, Qt::LeftButton, {}, At(seek, 60));
    QTest::mouseMove(seek, At(seek, 250));
    player_.setPosition(156000);
    EXPECT_EQ(seek->sliderPosition(), 250000);
    EXPECT_EQ(bar_.timeText(), QStringLiteral("4:10 / 5:10"));
    EXPECT_TRUE(player_.calls().isEmpty());
    QTest::mouseRelease(seek, Qt::LeftButton, {}, At(seek, 250));
    EXPECT_THAT(player_.calls(), ElementsAre(QStringLiteral("seek 250000")));
    EXPECT_EQ(seek->value(), 250000);

    // The keyboard steps by five seconds.
    player_.clearRecords();
    seek->setFocus();
    QTest::keyClick(seek, Qt::Key_Right);
    EXPECT_THAT(player_.calls(), ElementsAre(QStringLiteral("seek 255000")));
}

TEST_F(PlayerControlBarTest, VolumeAndMuteFollowAndCommandThePlayer) {
    PlaySong();
    FlatSlider* volume = Volume();
    EXPECT_EQ(volume->value(), 100);
    EXPECT_EQ(Mute()->glyph(), Glyph::Speaker);

    ASSERT_EQ(volume->width() - 14, 70);
    QTest::mouseClick(volume, Qt::LeftButton, {}, At(volume, 21));
    EXPECT_EQ(player_.volume(), 30);
    EXPECT_EQ(Mute()->glyph(), Glyph::SpeakerQuiet);

    // A change made elsewhere shows, and is not sent back.
    player_.clearRecords();
    player_.setVolume(80);
    EXPECT_EQ(volume->value(), 80);
    EXPECT_THAT(player_.calls(), ElementsAre(QStringLiteral("volume 80")));

    player_.clearRecords();
    QTest::mouseClick(Mute(), Qt::LeftButton);
    EXPECT_TRUE(player_.isMuted());
    EXPECT_EQ(Mute()->glyph(), Glyph::SpeakerMuted);
    QTest::mouseClick(Mute(), Qt::LeftButton);
    EXPECT_FALSE(player_.isMuted());
    EXPECT_THAT(player_.calls(),
                ElementsAre(QStringLiteral("mute on"), QStringLiteral("mute off")));
    EXPECT_EQ(Mute()->glyph(), Glyph::Speaker);
}

TEST_F(PlayerControlBarTest, ShowsThatThereIsNoAudioDevice) {
    PlaySong();
    player_.setAudioDeviceMissing(true);
    EXPECT_EQ(Mute()->glyph(), Glyph::SpeakerMissing);
    EXPECT_THAT(Mute()->toolTip().toStdString(), ::testing::HasSubstr("没有可用的音频设备"));
    player_.setAudioDeviceMissing(false);
    EXPECT_EQ(Mute()->glyph(), Glyph::Speaker);
}

// Pictures of the bar in its states, for a person to look at; written when
// VINYLO_SNAPSHOT_DIR names a folder.
TEST_F(PlayerControlBarTest, RendersEachState) {
    struct Shot {
        const char* name;
        std::function<void()> arrange;
    };
    const Shot shots[] = {
        {"idle", [] {}},
        {"loading", [this] { player_.play(QStringLiteral("http://127.0.0.1/a.mp3")); }},
        {"playing",
         [this] {
             PlaySong();
             player_.setVolume(70);
         }},
        {"paused", [this] { player_.pause(); }},
        {"muted", [this] { player_.setMuted(true); }},
        {"no_device",
         [this] {
             player_.setMuted(false);
             player_.resume();
             player_.setAudioDeviceMissing(true);
         }},
        {"stopped", [this] { player_.stop(); }},
    };
    const QByteArray dir = qgetenv("VINYLO_SNAPSHOT_DIR");
    for (const Shot& shot : shots) {
        shot.arrange();
        const QImage image = bar_.grab().toImage();
        ASSERT_EQ(image.size(), QSize(344, 62) * image.devicePixelRatio()) << shot.name;
        if (!dir.isEmpty()) {
            const QString path =
                QDir(QString::fromLocal8Bit(dir))
                    .filePath(
                        QStringLiteral("control_bar_%1.png").arg(QString::fromUtf8(shot.name)));
            EXPECT_TRUE(image.save(path)) << path.toStdString();
        }
    }
}

}  // namespace
}  // namespace vinylo::ui
