// The song queue over real loopback clients and the fake player: what a
// request queues, what each start plays and announces, and when the next
// song starts.
#include "server/song_queue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "protocol/client_messages.h"
#include "tests/server/server_fixture.h"
#include "tests/support/player_printing.h"

namespace vinylo::server {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::WireClient;
using State = platform::Player::State;
using Column = SongQueue::Column;

std::string NowPlaying(const char* requester, const char* title) {
    return Gbk("当前歌曲来自 ") + Gbk(requester) + Gbk(" 点播的《") + Gbk(title) + Gbk("》") +
           "|||89";
}
const std::string kQueueLow = Gbk("当前点歌目录只剩3首，请点歌") + "|||88";
std::string Cover(const std::string& url) {
    return url + "|||87";
}
std::string SongCut(const char* nickname) {
    return Gbk("当前歌曲已被 ") + Gbk(nickname) + Gbk(" 切掉") + "|||91";
}
std::string SongUrl(int n) {
    return "http://127.0.0.1:9/song" + std::to_string(n) + ".mp3";
}
std::string CoverUrl(int n) {
    return "http://127.0.0.1:9/cover" + std::to_string(n) + ".jpg";
}

class SongQueueTest : public ServerFixture {
protected:
    // Ticks come when the test says, by Tick(); one test runs the real timer.
    void SetUp() override {
        ServerWindowOptions options;
        options.playbackTickMs = 3600 * 1000;
        StartServer(options);
    }

    ui::ReportList& Queue() const { return *window_->songQueue(); }
    SongQueue& Songs() const { return window_->queue(); }
    QString QueueCell(int row, Column column) const { return Queue().CellText(row, column); }

    // As the window system delivers one: a click, then the double-click.
    void DoubleClick(QPoint at) const {
        QTest::mouseClick(Queue().viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(Queue().viewport(), Qt::LeftButton, {}, at);
    }

    // A row as AddToQueue makes it: song n, requested by `requester`.
    void Queued(int n, const char* requester = "阿杰", const char* title = "晴天") {
        Songs().AddToQueue(QString::fromUtf8(requester), QString::fromUtf8(title),
                           QStringLiteral("周杰伦"), QString::fromStdString(SongUrl(n)),
                           QString::fromStdString(CoverUrl(n)));
    }

    // Sends one message and waits until the queue has `rows` rows.
    void SendAndAwaitRows(WireClient& client, const std::string& message, int rows) {
        ASSERT_TRUE(client.Send(message));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Queue().RowCount() == rows; }, kDeadlineMs));
    }

    // The next `count` blocks a client receives after the first `seen`.
    static std::vector<std::string> Next(const WireClient& client, size_t& seen, size_t count) {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return client.BlockCount() >= seen + count; }, kDeadlineMs));
        const auto texts = client.BlockTexts();
        std::vector<std::string> next(
            texts.begin() + static_cast<std::ptrdiff_t>(seen),
            texts.begin() + static_cast<std::ptrdiff_t>(std::min(texts.size(), seen + count)));
        seen += count;
        return next;
    }

    // Every client got nothing after its first `seen` blocks.
    void ExpectNothingMore(const std::vector<size_t>& seen) {
        Settle();
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(clients_[i]->BlockCount(), seen[i]) << "client " << i;
        }
    }

    std::vector<size_t> Seen() const {
        std::vector<size_t> seen;
        for (const auto& client : clients_)
            seen.push_back(client->BlockCount());
        return seen;
    }
};

TEST_F(SongQueueTest, RequestsAreTakenApartFromTheEndAndQueuedWithoutAnyTraffic) {
    // Each malformed request from its own connection, so none can run into
    // another in one read.
    std::vector<WireClient*> badSenders;
    for (int i = 0; i < 3; ++i)
        badSenders.push_back(&Join());
    WireClient& client = Join();
    const std::vector<size_t> seen = Seen();
    protocol::SongRequestFields song{.coverUrl = CoverUrl(1),
                                     .nickname = Gbk("小明"),
                                     .playUrl = SongUrl(1),
                                     .title = Gbk("小幸运"),
                                     .singer = Gbk("田馥甄")};
    SendAndAwaitRows(client, protocol::BuildSongRequest(song), 1);
    // A repeated request carries "gq:mf" after the cover; duplicates are kept.
    SendAndAwaitRows(client, protocol::BuildRepeatSongRequest(song), 2);
    // An empty singer is the empty last field: still a request.
    song.singer.clear();
    SendAndAwaitRows(client, protocol::BuildSongRequest(song), 3);

    // Malformed: a separator is missing, or the cover separator is the other
    // kind's. Ignored, and the queue goes on taking requests.
    const std::string bad[] = {
        "no separators at all|||10",
        CoverUrl(2) + "gqfm" + Gbk("小明") + "xm" + SongUrl(2) + Gbk("晴天") + "gqmc|||10",
        CoverUrl(2) + "gqfm" + Gbk("小明") + "xm" + SongUrl(2) + "bfdz" + Gbk("晴天") + "gqmc|||49",
    };
    for (size_t i = 0; i < 3; ++i)
        ASSERT_TRUE(badSenders[i]->Send(bad[i]));
    song.title = Gbk("稻香");
    SendAndAwaitRows(client, protocol::BuildSongRequest(song), 4);

    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(QueueCell(row, Column::kRequesterColumn), QStringLiteral("小明"));
        EXPECT_EQ(QueueCell(row, Column::kTitleColumn), QStringLiteral("小幸运"));
        EXPECT_EQ(QueueCell(row, Column::kSingerColumn), QStringLiteral("田馥甄"));
        EXPECT_EQ(QueueCell(row, Column::kUrlColumn).toStdString(), SongUrl(1));
        EXPECT_EQ(QueueCell(row, Column::kCoverColumn).toStdString(), CoverUrl(1));
    }
    EXPECT_EQ(QueueCell(2, Column::kSingerColumn), QString());
    EXPECT_EQ(QueueCell(3, Column::kTitleColumn), QStringLiteral("稻香"));
    // Nothing starts and nothing is said until the timer ticks.
    ExpectNothingMore(seen);
    EXPECT_EQ(Queue().RowCount(), 4);
    EXPECT_THAT(player_.played(), IsEmpty());
}

TEST_F(SongQueueTest, ARequestWhileIdleStartsOnTheNextTickAnnouncedToEveryone) {
    WireClient& requester = Join();
    WireClient& listener = Join();
    size_t seenRequester = requester.BlockCount();
    size_t seenListener = listener.BlockCount();
    SendAndAwaitRows(requester,
                     protocol::BuildSongRequest({.coverUrl = CoverUrl(1),
                                                 .nickname = Gbk("阿杰"),
                                                 .playUrl = SongUrl(1),
                                                 .title = Gbk("晴天"),
                                                 .singer = Gbk("周杰伦")}),
                     1);

    Songs().Tick();
    EXPECT_THAT(player_.played(), ElementsAre(QString::fromStdString(SongUrl(1))));
    EXPECT_EQ(Queue().RowCount(), 0) << "the song that plays is not in the queue";
    const QString line = QStringLiteral("当前歌曲来自 阿杰 点播的《晴天》");
    EXPECT_EQ(window_->nowPlayingLabel()->text(), line);
    EXPECT_EQ(window_->nowPlayingEdit()->text(), line);
    EXPECT_EQ(window_->coverEdit()->text().toStdString(), CoverUrl(1));
    for (auto [client, seen] :
         {std::pair{&requester, &seenRequester}, {&listener, &seenListener}}) {
        EXPECT_THAT(Next(*client, *seen, 2),
                    ElementsAre(NowPlaying("阿杰", "晴天"), Cover(CoverUrl(1))));
    }

    // While it loads or plays, later ticks leave it alone.
    Queued(2);
    for (State busy : {State::Loading, State::Playing}) {
        player_.setState(busy);
        Songs().Tick();
    }
    EXPECT_EQ(player_.played().size(), 1u);
    EXPECT_EQ(Queue().RowCount(), 1);
    ExpectNothingMore({seenRequester, seenListener});
}

TEST_F(SongQueueTest, TheRealTimerStartsARequestWithinItsPeriod) {
    StartServer();  // the designed 3000 ms
    EXPECT_EQ(Songs().timer().objectName(), QStringLiteral("时钟1"));
    EXPECT_EQ(Songs().timer().interval(), 3000);
    EXPECT_TRUE(Songs().timer().isActive()) << "running from the window's creation";
    WireClient& client = Join();
    size_t seen = client.BlockCount();
    Queued(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player_.played().isEmpty(); }, kDeadlineMs));
    EXPECT_THAT(Next(client, seen, 2), ElementsAre(NowPlaying("阿杰", "晴天"), Cover(CoverUrl(1))));
}

TEST_F(SongQueueTest, QueueLowGoesOutExactlyWhenAStartFindsFourRows) {
    WireClient& client = Join();
    size_t seen = client.BlockCount();
    for (int rows : {3, 4, 5}) {
        SCOPED_TRACE(rows);
        Queue().DeleteAllRows();
        for (int n = 1; n <= rows; ++n)
            Queued(n);
        player_.setState(State::Stopped);
        Songs().Tick();
        EXPECT_EQ(Queue().RowCount(), rows - 1);
        if (rows == 4) {
            EXPECT_THAT(Next(client, seen, 3),
                        ElementsAre(NowPlaying("阿杰", "晴天"), kQueueLow, Cover(CoverUrl(1))));
        } else {
            EXPECT_THAT(Next(client, seen, 2),
                        ElementsAre(NowPlaying("阿杰", "晴天"), Cover(CoverUrl(1))));
        }
    }
    ExpectNothingMore({seen});
}

TEST_F(SongQueueTest, ACutRequestStartsTheNextSongAndSaysWhoCutTheLast) {
    WireClient& cutter = Join();
    WireClient& listener = Join();
    size_t seenCutter = cutter.BlockCount();
    size_t seenListener = listener.BlockCount();

    // Nothing queued: no traffic at all, and the music goes on.
    player_.play(QString::fromStdString(SongUrl(9)));
    player_.setState(State::Playing);
    player_.clearRecords();
    ASSERT_TRUE(cutter.Send(Gbk("小明") + "|||76"));
    ExpectNothingMore({seenCutter, seenListener});
    EXPECT_THAT(player_.calls(), IsEmpty());

    Queued(1, "Lily", "小幸运");
    ASSERT_TRUE(cutter.Send(Gbk("小明") + "|||76"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Queue().RowCount() == 0; }, kDeadlineMs));
    EXPECT_THAT(player_.played(), ElementsAre(QString::fromStdString(SongUrl(1))));
    for (auto [client, seen] : {std::pair{&cutter, &seenCutter}, {&listener, &seenListener}}) {
        EXPECT_THAT(Next(*client, *seen, 3),
                    ElementsAre(NowPlaying("Lily", "小幸运"), Cover(CoverUrl(1)), SongCut("小明")));
    }
    ExpectNothingMore({seenCutter, seenListener});
}

TEST_F(SongQueueTest, RowsWithoutAPlayUrlAreDroppedWithoutANotice) {
    WireClient& client = Join();
    size_t seen = client.BlockCount();
    const QString welcome = window_->nowPlayingLabel()->text();
    Songs().AddToQueue(QStringLiteral("阿杰"), QStringLiteral("坏的"), {}, {}, {});
    Songs().Tick();
    EXPECT_EQ(Queue().RowCount(), 0);
    EXPECT_THAT(player_.played(), IsEmpty()) << "an idle player has nothing to stop";
    EXPECT_EQ(window_->nowPlayingLabel()->text(), welcome);
    ExpectNothingMore({seen});

    // Before a playable row, the tick drops it and starts the next one at once.
    Songs().AddToQueue(QStringLiteral("阿杰"), QStringLiteral("坏的"), {}, {}, {});
    Queued(2, "Lily", "小幸运");
    Songs().Tick();
    EXPECT_THAT(player_.played(), ElementsAre(QString::fromStdString(SongUrl(2))));
    EXPECT_EQ(Queue().RowCount(), 0);
    EXPECT_THAT(Next(client, seen, 2),
                ElementsAre(NowPlaying("Lily", "小幸运"), Cover(CoverUrl(2))));
    ExpectNothingMore({seen});
}

TEST_F(SongQueueTest, PausingOrStoppingHandsOverToTheNextSongAtTheNextTick) {
    WireClient& client = Join();
    size_t seen = client.BlockCount();
    Queued(1, "阿杰", "晴天");
    Songs().Tick();
    player_.setState(State::Playing);
    EXPECT_EQ(Next(client, seen, 2).size(), 2u);

    const struct {
        const char* how;
        void (platform::FakePlayer::*command)();
    } cases[] = {{"paused", &platform::FakePlayer::pause},
                 {"stopped", &platform::FakePlayer::stop}};
    int n = 2;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Queued(n, "Lily", "小幸运");
        (player_.*c.command)();
        Songs().Tick();
        EXPECT_EQ(player_.played().back().toStdString(), SongUrl(n));
        EXPECT_THAT(Next(client, seen, 2),
                    ElementsAre(NowPlaying("Lily", "小幸运"), Cover(CoverUrl(n))));
        player_.setState(State::Playing);
        ++n;
    }

    // With nothing queued a paused song is let go: the player is left without
    // media, and nobody is told anything.
    player_.pause();
    Songs().Tick();
    EXPECT_EQ(player_.state(), State::Idle);
    EXPECT_EQ(player_.played().back(), QString());
    ExpectNothingMore({seen});
}

TEST_F(SongQueueTest, WhenASongEndsOrFailsTheNextStartsAtOnce) {
    WireClient& client = Join();
    size_t seen = client.BlockCount();
    // The same song twice: both starts are announced.
    Queued(1);
    Queued(1);
    Queued(2, "Lily", "小幸运");
    Songs().Tick();
    EXPECT_EQ(Next(client, seen, 2).size(), 2u);

    player_.setState(State::Playing);
    player_.end(platform::Player::EndReason::Finished);
    EXPECT_EQ(player_.played().size(), 2u) << "started from the end, not by a tick";
    EXPECT_THAT(Next(client, seen, 2), ElementsAre(NowPlaying("阿杰", "晴天"), Cover(CoverUrl(1))));

    player_.end(platform::Player::EndReason::Failed);
    EXPECT_EQ(player_.played().back().toStdString(), SongUrl(2));
    EXPECT_THAT(Next(client, seen, 2),
                ElementsAre(NowPlaying("Lily", "小幸运"), Cover(CoverUrl(2))));

    // The last one ends: the player is left without media, silently.
    player_.end(platform::Player::EndReason::Finished);
    EXPECT_EQ(player_.state(), State::Idle);
    EXPECT_EQ(Queue().RowCount(), 0);
    ExpectNothingMore({seen});
}

TEST_F(SongQueueTest, CutSongAndDoubleClickStartTheirRowAndWithNoneStopTheMusic) {
    WireClient& client = Join();
    size_t seen = client.BlockCount();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    Queued(1, "阿杰", "晴天");
    Queued(2, "Lily", "小幸运");
    Queued(3, "小明", "稻香");

    // A double-click on a row starts that row, announced, and removes only it.
    const QRect second = Queue().visualItemRect(Queue().topLevelItem(1));
    DoubleClick(QPoint(20, second.center().y()));  // the row is wider than the view
    ASSERT_EQ(player_.played().size(), 1u);
    EXPECT_EQ(player_.played().back().toStdString(), SongUrl(2));
    EXPECT_THAT(Next(client, seen, 2),
                ElementsAre(NowPlaying("Lily", "小幸运"), Cover(CoverUrl(2))));
    ASSERT_EQ(Queue().RowCount(), 2);
    EXPECT_EQ(QueueCell(0, Column::kTitleColumn), QStringLiteral("晴天"));
    EXPECT_EQ(QueueCell(1, Column::kTitleColumn), QStringLiteral("稻香"));

    // 切歌 starts row 0.
    player_.setState(State::Playing);
    QTest::mouseClick(window_->cutSongButton(), Qt::LeftButton);
    EXPECT_EQ(player_.played().back().toStdString(), SongUrl(1));
    EXPECT_THAT(Next(client, seen, 2), ElementsAre(NowPlaying("阿杰", "晴天"), Cover(CoverUrl(1))));

    // Nothing to start: the music stops and nothing is announced.
    Queue().clearSelection();
    player_.setState(State::Playing);
    DoubleClick(QPoint(5, Queue().viewport()->height() - 5));
    EXPECT_EQ(player_.state(), State::Idle);
    EXPECT_EQ(player_.played().back(), QString());
    EXPECT_EQ(Queue().RowCount(), 1) << "no row was selected, none is removed";
    Queue().DeleteAllRows();
    player_.play(QString::fromStdString(SongUrl(9)));
    player_.setState(State::Playing);
    QTest::mouseClick(window_->cutSongButton(), Qt::LeftButton);
    EXPECT_EQ(player_.state(), State::Idle);
    const QString line = QStringLiteral("当前歌曲来自 阿杰 点播的《晴天》");
    EXPECT_EQ(window_->nowPlayingLabel()->text(), line) << "keeps the last start's line";
    ExpectNothingMore({seen});
}

TEST_F(SongQueueTest, DeleteSelectedAndClearChangeOnlyTheQueue) {
    WireClient& client = Join();
    const size_t seen = client.BlockCount();
    for (int n = 1; n <= 3; ++n)
        Queued(n, "阿杰", n == 2 ? "小幸运" : "晴天");
    QTest::mouseClick(window_->deleteSelectedButton(), Qt::LeftButton);
    EXPECT_EQ(Queue().RowCount(), 3) << "nothing selected, nothing deleted";
    Queue().topLevelItem(1)->setSelected(true);
    QTest::mouseClick(window_->deleteSelectedButton(), Qt::LeftButton);
    ASSERT_EQ(Queue().RowCount(), 2);
    EXPECT_EQ(QueueCell(0, Column::kUrlColumn).toStdString(), SongUrl(1));
    EXPECT_EQ(QueueCell(1, Column::kUrlColumn).toStdString(), SongUrl(3));
    QTest::mouseClick(window_->clearQueueButton(), Qt::LeftButton);
    EXPECT_EQ(Queue().RowCount(), 0);
    EXPECT_THAT(player_.calls(), IsEmpty());
    ExpectNothingMore({seen});
}

TEST_F(SongQueueTest, ShowsOnceThatThereIsNoAudioDevice) {
    Queued(1);
    Songs().Tick();
    player_.setState(State::Playing);
    player_.setAudioDeviceMissing(true);
    const QString notice = window_->nowPlayingLabel()->text();
    EXPECT_THAT(notice.toStdString(), ::testing::HasSubstr("音频设备"));
    // The next start shows its line again; the notice does not come back.
    Queued(2, "Lily", "小幸运");
    player_.end();
    player_.setAudioDeviceMissing(false);
    player_.setAudioDeviceMissing(true);
    EXPECT_EQ(window_->nowPlayingLabel()->text(),
              QStringLiteral("当前歌曲来自 Lily 点播的《小幸运》"));
}

TEST(SongQueueWithoutPlayerTest, KeepsTheRequestsAndStartsNothing) {
    ServerWindowOptions options;
    options.trayAvailable = false;
    ServerWindow window(options);
    ASSERT_EQ(window.player(), nullptr);
    window.queue().AddToQueue(QStringLiteral("阿杰"), QStringLiteral("晴天"), {},
                              QStringLiteral("http://127.0.0.1:9/a.mp3"), {});
    window.queue().Tick();
    window.queue().CutSongRequest(Gbk("小明"));
    QTest::mouseClick(window.cutSongButton(), Qt::LeftButton);
    EXPECT_EQ(window.songQueue()->RowCount(), 1);
    window.queue().ShowPlayerUnavailable(QStringLiteral("libmpv could not start"));
    EXPECT_THAT(window.nowPlayingLabel()->text().toStdString(), ::testing::HasSubstr("播放器"));
    EXPECT_EQ(window.nowPlayingLabel()->toolTip(), QStringLiteral("libmpv could not start"));
}

}  // namespace
}  // namespace vinylo::server
