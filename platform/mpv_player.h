#pragma once

#include <QString>
#include <QTimer>
#include <atomic>
#include <initializer_list>
#include <memory>

#include "platform/player.h"

struct mpv_handle;
struct mpv_event;
struct mpv_event_end_file;

namespace vinylo::platform {

struct MpvPlayerOptions {
    // libmpv's audio output ("ao"): empty for its own choice of device, "null"
    // to play silently with real timing (tests, machines without sound).
    QString audioOutput;
    // libmpv's "audio-device", e.g. "alsa/default"; empty for the output's default.
    QString audioDevice;
    // A song whose server sends nothing for this long fails instead of
    // holding the player in Loading.
    int networkTimeoutSeconds = 15;
};

// The player over libmpv: audio only, volume 100, not muted, nothing on the
// terminal, no configuration files, no key bindings, no dialogs. libmpv's
// events are handled on the thread that created the player (the GUI thread):
// its wake-up callback only posts to the event loop.
//
// When the audio output cannot be opened, libmpv falls back to its null
// output, so songs play silently with real timing; audioDeviceMissing()
// reports it. Each song tries the real output again.
class MpvPlayer final : public Player {
    Q_OBJECT

public:
    // Sets LC_NUMERIC to "C" first (libmpv refuses to start otherwise).
    // Returns null, with the reason in `error`, when libmpv cannot be started.
    static std::unique_ptr<MpvPlayer> Create(const MpvPlayerOptions& options,
                                             QString* error = nullptr);
    ~MpvPlayer() override;

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

    // A libmpv property as text, read from the engine ("" when unavailable):
    // for diagnostics and tests.
    QString engineProperty(const char* name) const;

private:
    MpvPlayer(mpv_handle* handle, const MpvPlayerOptions& options);

    static void OnWakeup(void* self);
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handlePropertyChange(const mpv_event& event);
    void handleEndFile(const mpv_event_end_file& end);
    void releaseEngine();
    void loadPending();
    void failLater();
    void onStartOverdue();
    void command(std::initializer_list<const char*> args);
    void setFlag(const char* name, bool value);
    void forgetMedia();
    void setPosition(qint64 positionMs);
    void setDuration(qint64 durationMs);
    void updateState();

    mpv_handle* handle_;
    QString requestedOutput_;
    std::atomic<bool> wakeupPosted_{false};

    QString url_;
    // The playlist entry that holds our media; events about other entries are
    // left-overs of replaced media.
    qint64 entryId_ = 0;
    // The entry the engine is busy with (ours or an old one it is ending);
    // 0 when it is free to take new media.
    qint64 engineEntry_ = 0;
    bool stopSent_ = false;     // the engine was told to drop engineEntry_
    bool waitForIdle_ = false;  // busy with entries of unknown id until it goes idle
    bool active_ = false;       // we hold media (loading, playing or paused)
    bool pending_ = false;      // and it waits for the engine to be free
    bool started_ = false;      // the engine began loading our entry
    bool running_ = false;      // and began playing it
    bool redirected_ = false;   // our entry came out of a playlist URL
    bool retried_ = false;
    bool paused_ = false;
    quint64 generation_ = 0;  // counts play() and stop() calls
    QString firstProblem_;    // the engine's first complaint about the current media
    QTimer startWatchdog_;
    // Engine flags, as last reported.
    bool buffering_ = false;
    bool seeking_ = false;

    State state_ = State::Idle;
    qint64 positionMs_ = 0;
    qint64 durationMs_ = 0;
    int volume_ = 100;
    bool muted_ = false;
    bool audioDeviceMissing_ = false;
};

}  // namespace vinylo::platform
