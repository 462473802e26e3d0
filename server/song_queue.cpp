#include "server/song_queue.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/gbk_text.h"
#include "platform/player.h"
#include "protocol/client_messages.h"
#include "protocol/server_messages.h"

namespace vinylo::server {
namespace {

// A start that finds this many rows (its own included) warns that the queue
// runs low.
constexpr int kQueueLowRows = 4;

}  // namespace

std::vector<ui::ReportList::Column> SongQueue::Columns() {
    return {{QStringLiteral("点歌用户"), 80},
            {QStringLiteral("歌曲名称"), 150},
            {QStringLiteral("歌手名称"), 150},
            {QStringLiteral("歌曲地址"), 529},
            {QStringLiteral("歌曲封面"), 150}};
}

SongQueue::SongQueue(Controls controls, platform::Player* player, Broadcast broadcast,
                     int tickIntervalMs, QObject* parent)
    : QObject(parent), controls_(controls), player_(player), broadcast_(std::move(broadcast)) {
    timer_.setObjectName(QStringLiteral("时钟1"));
    timer_.setInterval(tickIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &SongQueue::Tick);
    timer_.start();

    connect(controls_.cutSongButton, &QPushButton::clicked, this, &SongQueue::StartNextSong);
    connect(controls_.queue, &ui::ReportList::leftButtonDoubleClicked, this,
            &SongQueue::OnDoubleClick);
    connect(controls_.deleteSelected, &QPushButton::clicked, this, &SongQueue::OnDeleteSelected);
    connect(controls_.clearQueueButton, &QPushButton::clicked, controls_.queue,
            &ui::ReportList::DeleteAllRows);

    if (player_ != nullptr) {
        // From the event loop, never from inside play(): starting here cannot recurse.
        connect(player_, &platform::Player::ended, this, &SongQueue::OnSongEnded);
        connect(player_, &platform::Player::audioDeviceMissingChanged, this,
                &SongQueue::OnAudioDeviceMissing);
    }
}

void SongQueue::HandleMessage(protocol::ClientKind kind, const std::string& payload,
                              const QString& /*address*/) {
    switch (kind) {
        case protocol::ClientKind::SongRequest:
        case protocol::ClientKind::RepeatSongRequest: {
            // Without its separators there is no telling which text is the
            // URL: such a request is dropped rather than queued half read.
            const auto song = protocol::ParseSongRequest(payload, kind);
            if (!song)
                return;
            AddToQueue(platform::FromGbk(song->nickname), platform::FromGbk(song->title),
                       platform::FromGbk(song->singer), platform::FromGbk(song->playUrl),
                       platform::FromGbk(song->coverUrl));
            return;
        }
        case protocol::ClientKind::CutSongRequest:
            CutSongRequest(protocol::ParseCutSongRequest(payload));
            return;
        default:
            return;
    }
}

void SongQueue::AddToQueue(const QString& requester, const QString& song, const QString& singer,
                           const QString& url, const QString& cover) {
    ui::ReportList& queue = *controls_.queue;
    const int row = queue.AppendRow();
    queue.SetCellText(row, kRequesterColumn, requester);
    queue.SetCellText(row, kTitleColumn, song);
    queue.SetCellText(row, kSingerColumn, singer);
    queue.SetCellText(row, kUrlColumn, url);
    queue.SetCellText(row, kCoverColumn, cover);
}

void SongQueue::CutSongRequest(const std::string& nickname) {
    if (player_ == nullptr || controls_.queue->RowCount() == 0)
        return;
    StartNextSong();
    broadcast_(protocol::BuildSongCut(nickname));
}

void SongQueue::StartQueuedSong(int row) {
    if (player_ == nullptr)
        return;
    if (row < 0 || row >= controls_.queue->RowCount()) {
        StopMusic();
        return;
    }
    if (controls_.queue->CellText(row, kUrlColumn).isEmpty()) {
        controls_.queue->DeleteRow(row);
        StopMusic();
        return;
    }
    Play(row);
}

void SongQueue::StartNextSong() {
    if (player_ == nullptr)
        return;
    DropRowsWithoutUrl();
    if (controls_.queue->RowCount() == 0) {
        StopMusic();
        return;
    }
    Play(0);
}

void SongQueue::Tick() {
    if (player_ == nullptr || player_->isBusy())
        return;
    StartNextSong();
}

void SongQueue::ShowPlayerUnavailable(const QString& reason) {
    controls_.nowPlayingLabel->setText(QStringLiteral("播放器无法启动：点歌只排队，不播放"));
    controls_.nowPlayingLabel->setToolTip(reason);
}

SongQueue::QueuedSong SongQueue::ReadRow(int row) const {
    const ui::ReportList& queue = *controls_.queue;
    return {queue.CellText(row, kRequesterColumn), queue.CellText(row, kTitleColumn),
            queue.CellText(row, kUrlColumn), queue.CellText(row, kCoverColumn)};
}

void SongQueue::DropRowsWithoutUrl() {
    ui::ReportList& queue = *controls_.queue;
    while (queue.RowCount() > 0 && queue.CellText(0, kUrlColumn).isEmpty()) {
        queue.DeleteRow(0);
    }
}

void SongQueue::Play(int row) {
    // One read of the row: what plays, what is announced and what is removed
    // are the same song.
    const QueuedSong song = ReadRow(row);
    const bool queueLow = controls_.queue->RowCount() == kQueueLowRows;
    player_->play(song.url);

    const std::string requester = platform::ToGbk(song.requester);
    const std::string title = platform::ToGbk(song.title);
    const QString line = platform::FromGbk(protocol::NowPlayingLine(requester, title));
    QLabel& label = *controls_.nowPlayingLabel;
    label.setText(label.fontMetrics().elidedText(line, Qt::ElideRight, label.width()));
    label.setToolTip(line);
    // The notices go out on every start, also when the line or the cover is
    // the same as the last one; the edit boxes only keep them.
    controls_.nowPlayingEdit->setText(line);
    broadcast_(protocol::BuildNowPlaying(requester, title));
    if (queueLow)
        broadcast_(protocol::BuildQueueLow());
    controls_.coverEdit->setText(song.cover);
    broadcast_(protocol::BuildCoverPicture(platform::ToGbk(song.cover)));
    controls_.queue->DeleteRow(row);
}

void SongQueue::StopMusic() {
    // The empty URL leaves the player without media; nothing is announced.
    if (player_->state() != platform::Player::State::Idle)
        player_->play(QString());
}

void SongQueue::OnDoubleClick() {
    StartQueuedSong(controls_.queue->SelectedRow());
}

void SongQueue::OnDeleteSelected() {
    const int row = controls_.queue->SelectedRow();
    if (row >= 0)
        controls_.queue->DeleteRow(row);
}

void SongQueue::OnSongEnded() {
    // The next song at once; the timer only catches what this misses.
    if (!player_->isBusy())
        StartNextSong();
}

void SongQueue::OnAudioDeviceMissing(bool missing) {
    if (!missing || toldAudioDeviceMissing_)
        return;
    toldAudioDeviceMissing_ = true;
    // Said once; the control bar's speaker keeps showing it.
    controls_.nowPlayingLabel->setText(QStringLiteral("没有可用的音频设备：歌曲正在无声播放"));
}

}  // namespace vinylo::server
