#include "ui/player_control_bar.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "ui/flat_slider.h"
#include "ui/glyph_button.h"
#include "ui/palette.h"
#include "ui/skin.h"

namespace vinylo::ui {
namespace {

using State = platform::Player::State;

// Geometry inside the 344 x 62 bar.
constexpr QRect kSeekRect(10, 7, 324, 16);
constexpr QRect kPlayPauseRect(12, 26, 30, 30);
constexpr QRect kStopRect(48, 28, 26, 26);
constexpr QRect kTimeRect(84, 26, 130, 30);
constexpr QRect kMuteRect(220, 28, 26, 26);
constexpr QRect kVolumeRect(248, 33, 84, 16);

int ClampToInt(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

QFont TimeFont() {
    return skin::ControlFont();
}

}  // namespace

QString FormatPlayTime(qint64 ms) {
    const qint64 total = std::max<qint64>(0, ms) / 1000;
    const qint64 hours = total / 3600;
    const qint64 minutes = total / 60 % 60;
    const qint64 seconds = total % 60;
    const QString ss = QStringLiteral("%1").arg(seconds, 2, 10, QLatin1Char('0'));
    if (hours > 0) {
        return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(ss);
    }
    return QStringLiteral("%1:%2").arg(minutes).arg(ss);
}

PlayerControlBar::PlayerControlBar(platform::Player& player, QWidget* parent)
    : QWidget(parent),
      player_(player),
      playPause_(new GlyphButton(GlyphButton::Glyph::Play, GlyphButton::Kind::Filled, this)),
      stop_(new GlyphButton(GlyphButton::Glyph::Stop, GlyphButton::Kind::Plain, this)),
      seek_(new FlatSlider(this)),
      mute_(new GlyphButton(GlyphButton::Glyph::Speaker, GlyphButton::Kind::Plain, this)),
      volume_(new FlatSlider(this)) {
    setObjectName(QStringLiteral("播放器1"));
    setFixedSize(kWidth, kHeight);

    playPause_->setObjectName(QStringLiteral("playPauseButton"));
    playPause_->setGeometry(kPlayPauseRect);
    stop_->setObjectName(QStringLiteral("stopButton"));
    stop_->setGeometry(kStopRect);
    stop_->setToolTip(QStringLiteral("停止"));
    seek_->setObjectName(QStringLiteral("seekSlider"));
    seek_->setGeometry(kSeekRect);
    // The player is told where to go when the handle is let go, not on every step.
    seek_->setTracking(false);
    seek_->setPageStep(10000);
    seek_->setSingleStep(5000);
    mute_->setObjectName(QStringLiteral("muteButton"));
    mute_->setGeometry(kMuteRect);
    volume_->setObjectName(QStringLiteral("volumeSlider"));
    volume_->setGeometry(kVolumeRect);
    volume_->setRange(0, 100);
    volume_->setPageStep(10);
    volume_->setSingleStep(5);
    volume_->setToolTip(QStringLiteral("音量"));

    connect(playPause_, &GlyphButton::clicked, this, &PlayerControlBar::onPlayPause);
    connect(stop_, &GlyphButton::clicked, this, [this] { player_.stop(); });
    connect(seek_, &FlatSlider::actionTriggered, this, &PlayerControlBar::onSeekAction);
    connect(seek_, &FlatSlider::sliderMoved, this, [this] { update(kTimeRect); });
    connect(mute_, &GlyphButton::clicked, this, [this] { player_.setMuted(!player_.isMuted()); });
    connect(volume_, &FlatSlider::actionTriggered, this,
            [this] { player_.setVolume(volume_->sliderPosition()); });

    connect(&player_, &platform::Player::stateChanged, this, &PlayerControlBar::showState);
    connect(&player_, &platform::Player::positionChanged, this, &PlayerControlBar::showPosition);
    connect(&player_, &platform::Player::durationChanged, this, &PlayerControlBar::showPosition);
    connect(&player_, &platform::Player::volumeChanged, this, &PlayerControlBar::showVolume);
    connect(&player_, &platform::Player::mutedChanged, this, &PlayerControlBar::showVolume);
    connect(&player_, &platform::Player::audioDeviceMissingChanged, this,
            &PlayerControlBar::showVolume);

    showState();
    showVolume();
}

QString PlayerControlBar::timeText() const {
    const State state = player_.state();
    if (state == State::Loading && !seek_->isSliderDown())
        return QStringLiteral("正在缓冲…");
    const qint64 position = seek_->isSliderDown() ? seek_->sliderPosition() : player_.positionMs();
    return FormatPlayTime(position) + QStringLiteral(" / ") + FormatPlayTime(player_.durationMs());
}

void PlayerControlBar::showState() {
    const State state = player_.state();
    const bool busy = platform::Player::IsBusy(state);
    playPause_->setGlyph(busy ? GlyphButton::Glyph::Pause : GlyphButton::Glyph::Play);
    playPause_->setToolTip(busy ? QStringLiteral("暂停") : QStringLiteral("播放"));
    playPause_->setEnabled(state != State::Idle);
    stop_->setEnabled(state != State::Idle && state != State::Stopped);
    showPosition();
}

void PlayerControlBar::showPosition() {
    const bool seekable = player_.durationMs() > 0 &&
                          (player_.state() == State::Playing || player_.state() == State::Paused ||
                           player_.state() == State::Loading);
    seek_->setEnabled(seekable);
    seek_->setRange(0, ClampToInt(player_.durationMs()));
    if (!seek_->isSliderDown())
        seek_->setValue(ClampToInt(player_.positionMs()));
    update(kTimeRect);
}

void PlayerControlBar::showVolume() {
    volume_->setValue(player_.volume());
    GlyphButton::Glyph glyph = GlyphButton::Glyph::Speaker;
    QString tip = QStringLiteral("静音");
    if (player_.audioDeviceMissing()) {
        glyph = GlyphButton::Glyph::SpeakerMissing;
        tip = QStringLiteral("没有可用的音频设备，正在无声播放");
    } else if (player_.isMuted()) {
        glyph = GlyphButton::Glyph::SpeakerMuted;
        tip = QStringLiteral("取消静音");
    } else if (player_.volume() < 50) {
        glyph = GlyphButton::Glyph::SpeakerQuiet;
    }
    mute_->setGlyph(glyph);
    mute_->setToolTip(tip);
}

void PlayerControlBar::onPlayPause() {
    if (player_.isBusy()) {
        player_.pause();
    } else {
        player_.resume();
    }
}

void PlayerControlBar::onSeekAction() {
    if (!seek_->isSliderDown())
        player_.seek(seek_->sliderPosition());
}

void PlayerControlBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette::kBorder, 1));
    p.setBrush(palette::kPanel);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    // The place in the song in the text colour, its length quieter.
    p.setFont(TimeFont());
    const State state = player_.state();
    const bool quiet = state == State::Idle || state == State::Stopped;
    const QString text = timeText();
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    const QString lead = slash < 0 ? text : text.left(slash);
    p.setPen(quiet ? palette::kQuietText : palette::kText);
    p.drawText(kTimeRect, Qt::AlignVCenter | Qt::AlignLeft, lead);
    if (slash >= 0) {
        const QRect rest = kTimeRect.adjusted(p.fontMetrics().horizontalAdvance(lead), 0, 0, 0);
        p.setPen(palette::kQuietText);
        p.drawText(rest, Qt::AlignVCenter | Qt::AlignLeft, text.mid(slash));
    }
}

}  // namespace vinylo::ui
