#include "platform/mpv_player.h"

#include <mpv/client.h>

#include <QByteArray>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <utility>
#include <vector>

namespace vinylo::platform {
namespace {

Q_LOGGING_CATEGORY(lcPlayer, "vinylo.player", QtInfoMsg)

// reply_userdata of the observed engine properties.
// Media starts within milliseconds; after this long something is stuck.
constexpr std::chrono::seconds kStartDeadline{10};

enum Observed : uint64_t { kBuffering = 1, kSeeking, kTimePos, kDuration, kCurrentAo };

QString OptionError(const char* name, const QByteArray& value, int rc) {
    return QStringLiteral("libmpv: option %1=%2: %3")
        .arg(QString::fromUtf8(name), QString::fromUtf8(value),
             QString::fromUtf8(mpv_error_string(rc)));
}

bool FlagOf(const mpv_event_property& property, bool whenUnavailable) {
    if (property.format != MPV_FORMAT_FLAG)
        return whenUnavailable;
    return *static_cast<int*>(property.data) != 0;
}

qint64 MillisecondsOf(double seconds) {
    return std::isfinite(seconds) && seconds > 0 ? std::llround(seconds * 1000.0) : 0;
}

}  // namespace

std::unique_ptr<MpvPlayer> MpvPlayer::Create(const MpvPlayerOptions& options, QString* error) {
    // The application object takes the numeric locale from the environment;
    // libmpv will not start with anything but "C".
    std::setlocale(LC_NUMERIC, "C");
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return std::unique_ptr<MpvPlayer>();
    };

    mpv_handle* handle = mpv_create();
    if (!handle)
        return fail(QStringLiteral("libmpv could not be created"));

    std::vector<std::pair<const char*, QByteArray>> settings = {
        // audio only: no window, no cover art shown as video
        {"vo", "null"},
        {"video", "no"},
        {"audio-display", "no"},
        // nothing from the machine's mpv setup, no terminal, keys or scripts
        {"config", "no"},
        {"terminal", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        // stay alive without media; the end of a song comes when its sound has played
        {"idle", "yes"},
        {"gapless-audio", "no"},
        {"volume", "100"},
        {"mute", "no"},
        // no sound device: play on silently rather than fail every song
        {"audio-fallback-to-null", "yes"},
        {"network-timeout", QByteArray::number(std::max(1, options.networkTimeoutSeconds))},
    };
    if (!options.audioOutput.isEmpty())
        settings.emplace_back("ao", options.audioOutput.toUtf8());
    if (!options.audioDevice.isEmpty()) {
        settings.emplace_back("audio-device", options.audioDevice.toUtf8());
    }
    for (const auto& [name, value] : settings) {
        const int rc = mpv_set_option_string(handle, name, value.constData());
        if (rc < 0) {
            mpv_terminate_destroy(handle);
            return fail(OptionError(name, value, rc));
        }
    }
    if (const int rc = mpv_initialize(handle); rc < 0) {
        mpv_terminate_destroy(handle);
        return fail(QStringLiteral("libmpv could not start: %1")
                        .arg(QString::fromUtf8(mpv_error_string(rc))));
    }
    return std::unique_ptr<MpvPlayer>(new MpvPlayer(handle, options));
}

MpvPlayer::MpvPlayer(mpv_handle* handle, const MpvPlayerOptions& options)
    : handle_(handle), requestedOutput_(options.audioOutput.trimmed()) {
    mpv_observe_property(handle_, kBuffering, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(handle_, kSeeking, "seeking", MPV_FORMAT_FLAG);
    mpv_observe_property(handle_, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(handle_, kDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(handle_, kCurrentAo, "current-ao", MPV_FORMAT_STRING);
    mpv_request_log_messages(handle_, "warn");
    startWatchdog_.setSingleShot(true);
    startWatchdog_.setInterval(kStartDeadline);
    connect(&startWatchdog_, &QTimer::timeout, this, &MpvPlayer::onStartOverdue);
    mpv_set_wakeup_callback(handle_, &MpvPlayer::OnWakeup, this);
}

MpvPlayer::~MpvPlayer() {
    // Once this returns no callback runs any more; posted drains die with us.
    mpv_set_wakeup_callback(handle_, nullptr, nullptr);
    mpv_terminate_destroy(handle_);
}

// Called on one of libmpv's threads: only hand over to the event loop.
void MpvPlayer::OnWakeup(void* self) {
    auto* player = static_cast<MpvPlayer*>(self);
    if (!player->wakeupPosted_.exchange(true)) {
        QMetaObject::invokeMethod(player, &MpvPlayer::drainEvents, Qt::QueuedConnection);
    }
}

void MpvPlayer::drainEvents() {
    wakeupPosted_ = false;
    const QPointer<MpvPlayer> alive(this);
    while (alive) {
        const mpv_event* event = mpv_wait_event(handle_, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvPlayer::handleEvent(const mpv_event& event) {
    if (event.event_id != MPV_EVENT_PROPERTY_CHANGE && event.event_id != MPV_EVENT_LOG_MESSAGE) {
        qCDebug(lcPlayer) << "event" << mpv_event_name(event.event_id) << "ours" << entryId_
                          << "engine" << engineEntry_;
    }
    switch (event.event_id) {
        case MPV_EVENT_START_FILE:
            if (active_ && entryId_ != 0 &&
                static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id ==
                    entryId_) {
                started_ = true;
                startWatchdog_.stop();
                firstProblem_.clear();
            }
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            // Events come in order: once our entry started, every restart is ours.
            if (started_) {
                running_ = true;
                updateState();
            }
            break;
        case MPV_EVENT_END_FILE:
            handleEndFile(*static_cast<const mpv_event_end_file*>(event.data));
            break;
        case MPV_EVENT_IDLE:
            if (waitForIdle_) {
                waitForIdle_ = false;
                loadPending();
            }
            break;
        case MPV_EVENT_PROPERTY_CHANGE:
            handlePropertyChange(event);
            break;
        case MPV_EVENT_LOG_MESSAGE: {
            const auto* message = static_cast<const mpv_event_log_message*>(event.data);
            const QString text = QString::fromUtf8(message->prefix) + QStringLiteral(": ") +
                                 QString::fromUtf8(message->text).trimmed();
            qCDebug(lcPlayer).noquote() << text;
            if (firstProblem_.isEmpty())
                firstProblem_ = text;
            break;
        }
        default:
            break;
    }
}

void MpvPlayer::handlePropertyChange(const mpv_event& event) {
    const auto& property = *static_cast<const mpv_event_property*>(event.data);
    switch (event.reply_userdata) {
        case kBuffering:
            buffering_ = FlagOf(property, false);
            break;
        case kSeeking:
            seeking_ = FlagOf(property, false);
            break;
        case kTimePos:
            if (started_ && property.format == MPV_FORMAT_DOUBLE) {
                setPosition(MillisecondsOf(*static_cast<double*>(property.data)));
            }
            break;
        case kDuration:
            if (started_ && property.format == MPV_FORMAT_DOUBLE) {
                setDuration(MillisecondsOf(*static_cast<double*>(property.data)));
            }
            break;
        case kCurrentAo:
            // Unavailable between songs; a name says which output opened.
            if (property.format == MPV_FORMAT_STRING) {
                const QString name = QString::fromUtf8(*static_cast<char**>(property.data));
                const bool missing =
                    name == QLatin1String("null") && requestedOutput_ != QLatin1String("null");
                if (missing != audioDeviceMissing_) {
                    audioDeviceMissing_ = missing;
                    emit audioDeviceMissingChanged(missing);
                }
            }
            break;
        default:
            break;
    }
    updateState();
}

void MpvPlayer::handleEndFile(const mpv_event_end_file& end) {
    qCDebug(lcPlayer) << "end of entry" << end.playlist_entry_id << "reason" << end.reason
                      << "error" << end.error;
    const bool ours = active_ && entryId_ != 0 && end.playlist_entry_id == entryId_;
    if (engineEntry_ != 0 && end.playlist_entry_id == engineEntry_) {
        if (end.reason == MPV_END_FILE_REASON_REDIRECT) {
            // A playlist URL: its first entry plays in its place.
            engineEntry_ = end.playlist_insert_id;
            if (ours) {
                entryId_ = engineEntry_;
                started_ = running_ = false;
                redirected_ = true;
                startWatchdog_.start();
            }
            return;
        }
        engineEntry_ = 0;
        stopSent_ = false;
        if (redirected_) {
            // The rest of that playlist must not play; the engine is free
            // once it has gone idle.
            command({"stop"});
            waitForIdle_ = true;
        }
    }
    if (ours) {
        startWatchdog_.stop();
        if (end.reason == MPV_END_FILE_REASON_STOP && !retried_ && !redirected_) {
            // Nobody stopped it: the engine dropped it while changing media. Once more.
            retried_ = true;
            entryId_ = 0;
            started_ = running_ = false;
            pending_ = true;
            loadPending();
            return;
        }
        const auto reason =
            end.reason == MPV_END_FILE_REASON_EOF ? EndReason::Finished : EndReason::Failed;
        if (reason == EndReason::Failed) {
            qCWarning(lcPlayer).noquote()
                << "cannot play" << url_ << "-" << QString::fromUtf8(mpv_error_string(end.error))
                << (firstProblem_.isEmpty() ? QString()
                                            : QStringLiteral("(%1)").arg(firstProblem_));
        }
        forgetMedia();
        updateState();
        emit ended(reason, url_);
        return;
    }
    loadPending();
}

void MpvPlayer::play(const QString& url) {
    ++generation_;
    url_ = url;
    if (!url.isEmpty())
        setFlag("pause", false);  // the engine's pause outlives its media
    forgetMedia();
    releaseEngine();
    if (!url.isEmpty()) {
        active_ = true;
        pending_ = true;
        loadPending();
    }
    updateState();
}

void MpvPlayer::releaseEngine() {
    if (engineEntry_ != 0 && !stopSent_) {
        command({"stop"});
        stopSent_ = true;
    }
}

// The engine takes new media only once it is done with the old: libmpv can
// drop a file that it is handed while it is still ending another.
void MpvPlayer::loadPending() {
    if (!pending_)
        return;
    if (engineEntry_ != 0 || waitForIdle_) {
        if (!startWatchdog_.isActive())
            startWatchdog_.start();
        return;
    }
    pending_ = false;
    started_ = running_ = false;
    const QByteArray target = url_.toUtf8();
    const char* args[] = {"loadfile", target.constData(), "replace", nullptr};
    mpv_node result;
    const int rc = mpv_command_ret(handle_, args, &result);
    if (rc < 0) {
        qCWarning(lcPlayer).noquote()
            << "cannot play" << url_ << "-" << QString::fromUtf8(mpv_error_string(rc));
        failLater();
        return;
    }
    if (result.format == MPV_FORMAT_NODE_MAP) {
        const mpv_node_list& map = *result.u.list;
        for (int i = 0; i < map.num; ++i) {
            if (qstrcmp(map.keys[i], "playlist_entry_id") == 0 &&
                map.values[i].format == MPV_FORMAT_INT64) {
                entryId_ = engineEntry_ = map.values[i].u.int64;
            }
        }
    }
    mpv_free_node_contents(&result);
    stopSent_ = false;
    startWatchdog_.start();
    updateState();
}

// Our media failed without the engine saying so: Stopped now, `ended` from
// the event loop (unless something else was played first).
void MpvPlayer::failLater() {
    forgetMedia();
    updateState();
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_, url = url_] {
            if (generation == generation_)
                emit ended(EndReason::Failed, url);
        },
        Qt::QueuedConnection);
}

// Media that should have started long ago: the engine lost track of it.
void MpvPlayer::onStartOverdue() {
    if (pending_) {
        qCWarning(lcPlayer) << "the engine stays busy; loading anyway";
        engineEntry_ = 0;
        waitForIdle_ = stopSent_ = false;
        loadPending();
        return;
    }
    if (active_ && !started_) {
        qCWarning(lcPlayer).noquote() << "cannot play" << url_ << "- the engine never started it";
        command({"stop"});
        engineEntry_ = 0;
        waitForIdle_ = stopSent_ = false;
        forgetMedia();
        updateState();
        emit ended(EndReason::Failed, url_);
    }
}

void MpvPlayer::pause() {
    if (!active_ || paused_)
        return;
    setFlag("pause", true);
    paused_ = true;
    updateState();
}

void MpvPlayer::resume() {
    if (!active_) {
        if (!url_.isEmpty())
            play(url_);  // after a stop or an end: from the beginning
        return;
    }
    if (!paused_)
        return;
    setFlag("pause", false);
    paused_ = false;
    updateState();
}

void MpvPlayer::stop() {
    if (!active_)
        return;
    ++generation_;
    forgetMedia();
    releaseEngine();
    updateState();
}

void MpvPlayer::seek(qint64 positionMs) {
    if (!running_)
        return;  // nothing to seek in before playback began
    positionMs = std::max<qint64>(0, positionMs);
    if (durationMs_ > 0)
        positionMs = std::min(positionMs, durationMs_);
    const QByteArray seconds = QByteArray::number(static_cast<double>(positionMs) / 1000.0, 'f', 3);
    command({"seek", seconds.constData(), "absolute"});
    setPosition(positionMs);
}

void MpvPlayer::setVolume(int volume) {
    volume = std::clamp(volume, 0, 100);
    if (volume == volume_)
        return;
    volume_ = volume;
    double value = volume;
    mpv_set_property(handle_, "volume", MPV_FORMAT_DOUBLE, &value);
    emit volumeChanged(volume);
}

void MpvPlayer::setMuted(bool muted) {
    if (muted == muted_)
        return;
    muted_ = muted;
    setFlag("mute", muted);
    emit mutedChanged(muted);
}

QString MpvPlayer::engineProperty(const char* name) const {
    char* value = mpv_get_property_string(handle_, name);
    if (!value)
        return {};
    QString text = QString::fromUtf8(value);
    mpv_free(value);
    return text;
}

void MpvPlayer::command(std::initializer_list<const char*> args) {
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    if (const int rc = mpv_command(handle_, argv.data()); rc < 0) {
        qCDebug(lcPlayer) << "command" << argv.front() << "failed:" << mpv_error_string(rc);
    }
}

void MpvPlayer::setFlag(const char* name, bool value) {
    int flag = value ? 1 : 0;
    mpv_set_property(handle_, name, MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::forgetMedia() {
    active_ = started_ = running_ = redirected_ = paused_ = pending_ = retried_ = false;
    entryId_ = 0;
    startWatchdog_.stop();
    setPosition(0);
    setDuration(0);
}

void MpvPlayer::setPosition(qint64 positionMs) {
    if (positionMs == positionMs_)
        return;
    positionMs_ = positionMs;
    emit positionChanged(positionMs);
}

void MpvPlayer::setDuration(qint64 durationMs) {
    if (durationMs == durationMs_)
        return;
    durationMs_ = durationMs;
    emit durationChanged(durationMs);
}

void MpvPlayer::updateState() {
    State next = State::Playing;
    if (!active_) {
        next = url_.isEmpty() ? State::Idle : State::Stopped;
    } else if (paused_) {
        next = State::Paused;
    } else if (!running_ || buffering_ || seeking_) {
        // Not libmpv's core-idle: it is also set for the moment between the
        // last sound and the end, and for a moment after a resume.
        next = State::Loading;
    }
    if (next == state_)
        return;
    state_ = next;
    emit stateChanged(next);
}

}  // namespace vinylo::platform
