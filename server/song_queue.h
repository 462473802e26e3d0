#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

#include "protocol/message_kind.h"
#include "ui/report_list.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vinylo::platform {
class Player;
}

namespace vinylo::server {

// The song queue (超级列表框2) and the playback through the player: requests
// are appended as rows, one song plays at a time, and every start is shown in
// the now-playing label and announced to every client.
//
// The queue list is the queue: the next song is row 0 and the song that plays
// is not in the list. A start reads its row once, plays it, announces it and
// removes that same row, all in one step; nothing waits, so starts never
// interleave.
//
// Songs follow each other: when the player reports that a song ended or
// failed, the next one starts at once. The timer (时钟1) is the watchdog: at
// each tick a player that is neither playing nor loading gets the next song
// (a paused or stopped one too, so pausing hands over to the next request).
class SongQueue : public QObject {
    Q_OBJECT

public:
    enum Column {
        kRequesterColumn = 0,  // 点歌用户
        kTitleColumn,          // 歌曲名称
        kSingerColumn,         // 歌手名称
        kUrlColumn,            // 歌曲地址
        kCoverColumn,          // 歌曲封面
    };

    static constexpr int kTickIntervalMs = 3000;

    // The controls the queue works on, all owned by the window.
    struct Controls {
        ui::ReportList* queue = nullptr;          // 超级列表框2
        QLabel* nowPlayingLabel = nullptr;        // 透明标签2
        QLineEdit* nowPlayingEdit = nullptr;      // 编辑框1: the latest now-playing line
        QLineEdit* coverEdit = nullptr;           // 歌曲封面: the latest cover URL
        QPushButton* cutSongButton = nullptr;     // 切歌
        QPushButton* deleteSelected = nullptr;    // 删除选中项
        QPushButton* clearQueueButton = nullptr;  // 清空
    };

    using Broadcast = std::function<void(std::string_view message)>;

    // The columns of the queue list, in order, with their widths.
    static std::vector<ui::ReportList::Column> Columns();

    // `player` may be null when no media engine could be started: requests
    // are then queued and kept, and nothing starts. The timer starts at once
    // with `tickIntervalMs`.
    SongQueue(Controls controls, platform::Player* player, Broadcast broadcast,
              int tickIntervalMs = kTickIntervalMs, QObject* parent = nullptr);

    // A song-queue code from a client: "10" and "49" are requests, "76" a cut.
    // A request whose separators are missing is ignored.
    void HandleMessage(protocol::ClientKind kind, const std::string& payload,
                       const QString& address);

    // A row at the end of the queue, nothing else: the next tick starts it
    // when nothing plays.
    void AddToQueue(const QString& requester, const QString& song, const QString& singer,
                    const QString& url, const QString& cover);
    // A client's cut: with an empty queue nothing happens; otherwise the next
    // song starts and everyone hears who cut the last one.
    void CutSongRequest(const std::string& nickname);
    // Starts `row` now (-1: no row). A row without a play URL, or no row,
    // has nothing to start: the music stops, nothing is announced, and the
    // row (if any) is removed.
    void StartQueuedSong(int row);
    // Starts the first queued song with a play URL now, dropping the rows
    // before it that have none; with nothing to start the music stops.
    void StartNextSong();
    // One tick of 时钟1: the next song when the player is not busy.
    void Tick();

    // What the label shows when the engine could not be started.
    void ShowPlayerUnavailable(const QString& reason);

    QTimer& timer() { return timer_; }

private:
    struct QueuedSong {
        QString requester;
        QString title;
        QString url;
        QString cover;
    };

    QueuedSong ReadRow(int row) const;
    void DropRowsWithoutUrl();
    void Play(int row);
    void StopMusic();
    void OnDoubleClick();
    void OnDeleteSelected();
    void OnSongEnded();
    void OnAudioDeviceMissing(bool missing);

    Controls controls_;
    platform::Player* player_;
    Broadcast broadcast_;
    QTimer timer_;  // 时钟1
    bool toldAudioDeviceMissing_ = false;
};

}  // namespace vinylo::server
