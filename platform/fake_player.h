#pragma once

#include <QString>
#include <QStringList>

#include "platform/player.h"

namespace vinylo::platform {

// A player for tests: it plays nothing and does exactly what the test says.
// Commands behave like the real player's (play goes to Loading, pause to
// Paused...), every command is written down, and the test moves the media
// on with setState(), setPosition() and end().
class FakePlayer final : public Player {
    Q_OBJECT

public:
    using Player::Player;

    void play(const QString& url) override;
    QString url() const override { return url_; }
    State state() const override { return state_; }
    void pause() override;
    void resume() override;
    void stop() override;
    void seek(qint64 positionMs) override;
    qint64 positionMs() const override { return positionMs_; }
    qint64 durationMs() const override { return durationMs_; }
    int volume() const override { return volume_; }
    void setVolume(int volume) override;
    bool isMuted() const override { return muted_; }
    void setMuted(bool muted) override;
    bool audioDeviceMissing() const override { return audioDeviceMissing_; }

    // Every URL given to play(), the empty one included, in order.
    const QStringList& played() const { return played_; }
    // Every command in order: "play URL", "pause", "resume", "stop",
    // "seek MS", "volume N", "mute on" / "mute off".
    const QStringList& calls() const { return calls_; }
    void clearRecords();

    // What the media does, as the test decides.
    void setState(State state);
    void setPosition(qint64 positionMs);
    void setDuration(qint64 durationMs);
    void setAudioDeviceMissing(bool missing);
    // The media ends by itself: Stopped, then `ended` at once (the test's
    // call stands for the event loop delivering it).
    void end(EndReason reason = EndReason::Finished);

private:
    QString url_;
    State state_ = State::Idle;
    qint64 positionMs_ = 0;
    qint64 durationMs_ = 0;
    int volume_ = 100;
    bool muted_ = false;
    bool audioDeviceMissing_ = false;
    QStringList played_;
    QStringList calls_;
};

}  // namespace vinylo::platform
