#pragma once

#include <QObject>
#include <QString>

namespace vinylo::platform {

// The media player the server plays its songs with: one URL at a time. The
// real one drives libmpv (MpvPlayer); FakePlayer stands in for it in tests.
// Everything runs on the GUI thread. A call that changes something (play,
// pause, setVolume...) sends the change signals before it returns, so the
// state reads right at once; `ended` always comes later from the event loop,
// so a handler of it may call play() without recursion.
class Player : public QObject {
    Q_OBJECT

public:
    enum class State {
        Idle,     // no media: never played, or given the empty URL
        Loading,  // opening, buffering or seeking: busy, about to play
        Playing,
        Paused,
        Stopped,  // holds media but does not play: stopped, ended or failed
    };
    Q_ENUM(State)

    enum class EndReason {
        Finished,  // played to its end
        Failed,    // could not be opened or broke off
    };
    Q_ENUM(EndReason)

    using QObject::QObject;
    ~Player() override = default;

    // Starts `url` at once, replacing whatever plays (a paused player plays
    // again). The empty URL stops and leaves the player without media.
    virtual void play(const QString& url) = 0;
    // The media held: the URL last given to play(), kept through pause, stop
    // and end; empty when idle.
    virtual QString url() const = 0;
    virtual State state() const = 0;
    // Playing or about to play. Paused, stopped and idle players are not busy.
    bool isBusy() const { return IsBusy(state()); }
    static bool IsBusy(State state) { return state == State::Loading || state == State::Playing; }

    // Pausing and stopping do nothing without media. resume() plays on after a
    // pause, and starts the media again from its beginning after a stop or an end.
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void stop() = 0;

    // Milliseconds; the duration is 0 while unknown (and for live streams).
    virtual void seek(qint64 positionMs) = 0;
    virtual qint64 positionMs() const = 0;
    virtual qint64 durationMs() const = 0;

    // 0..100; values outside are clamped. Both survive song changes.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;
    virtual bool isMuted() const = 0;
    virtual void setMuted(bool muted) = 0;

    // True while no audio device could be opened: the player then plays
    // silently, with real timing.
    virtual bool audioDeviceMissing() const = 0;

signals:
    void stateChanged(vinylo::platform::Player::State state);
    void positionChanged(qint64 positionMs);
    void durationChanged(qint64 durationMs);
    void volumeChanged(int volume);
    void mutedChanged(bool muted);
    void audioDeviceMissingChanged(bool missing);
    // The media of `url` ended by itself. Not sent for stop() nor for media
    // that a later play() replaced. The state is Stopped by then.
    void ended(vinylo::platform::Player::EndReason reason, const QString& url);
};

}  // namespace vinylo::platform
