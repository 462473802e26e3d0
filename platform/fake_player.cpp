#include "platform/fake_player.h"

#include <algorithm>

namespace vinylo::platform {

void FakePlayer::play(const QString& url) {
    played_.append(url);
    calls_.append(QStringLiteral("play ") + url);
    url_ = url;
    setPosition(0);
    setDuration(0);
    setState(url.isEmpty() ? State::Idle : State::Loading);
}

void FakePlayer::pause() {
    calls_.append(QStringLiteral("pause"));
    if (isBusy())
        setState(State::Paused);
}

void FakePlayer::resume() {
    calls_.append(QStringLiteral("resume"));
    if (state_ == State::Paused) {
        setState(State::Playing);
    } else if (state_ == State::Stopped) {
        setPosition(0);
        setState(State::Loading);
    }
}

void FakePlayer::stop() {
    calls_.append(QStringLiteral("stop"));
    if (state_ == State::Idle || state_ == State::Stopped)
        return;
    setPosition(0);
    setDuration(0);
    setState(State::Stopped);
}

void FakePlayer::seek(qint64 positionMs) {
    calls_.append(QStringLiteral("seek ") + QString::number(positionMs));
    if (state_ == State::Idle || state_ == State::Stopped)
        return;
    positionMs = std::max<qint64>(0, positionMs);
    if (durationMs_ > 0)
        positionMs = std::min(positionMs, durationMs_);
    setPosition(positionMs);
}

void FakePlayer::setVolume(int volume) {
    volume = std::clamp(volume, 0, 100);
    calls_.append(QStringLiteral("volume ") + QString::number(volume));
    if (volume == volume_)
        return;
    volume_ = volume;
    emit volumeChanged(volume);
}

void FakePlayer::setMuted(bool muted) {
    calls_.append(muted ? QStringLiteral("mute on") : QStringLiteral("mute off"));
    if (muted == muted_)
        return;
    muted_ = muted;
    emit mutedChanged(muted);
}

void FakePlayer::clearRecords() {
    played_.clear();
    calls_.clear();
}

void FakePlayer::setState(State state) {
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged(state);
}

void FakePlayer::setPosition(qint64 positionMs) {
    if (positionMs == positionMs_)
        return;
    positionMs_ = positionMs;
    emit positionChanged(positionMs);
}

void FakePlayer::setDuration(qint64 durationMs) {
    if (durationMs == durationMs_)
        return;
    durationMs_ = durationMs;
    emit durationChanged(durationMs);
}

void FakePlayer::setAudioDeviceMissing(bool missing) {
    if (missing == audioDeviceMissing_)
        return;
    audioDeviceMissing_ = missing;
    emit audioDeviceMissingChanged(missing);
}

void FakePlayer::end(EndReason reason) {
    setPosition(0);
    setDuration(0);
    setState(State::Stopped);
    emit ended(reason, url_);
}

}  // namespace vinylo::platform
