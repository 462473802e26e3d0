// The operator's commands over real loopback clients: the operator's chat
// line and the announcement, the log, and kicking, muting and unmuting.
#include "server/operator_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "protocol/client_messages.h"
#include "tests/server/server_fixture.h"

namespace vinylo::server {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::WireClient;
using Column = ConnectionRegistry::Column;

// The log as (text, colour) per line, the empty first line left out.
std::vector<std::pair<std::string, QColor>> LogLines(QTextEdit& log) {
    std::vector<std::pair<std::string, QColor>> lines;
    for (QTextBlock b = log.document()->begin(); b.isValid(); b = b.next()) {
        if (b.text().isEmpty())
            continue;
        lines.emplace_back(b.text().toStdString(),
                           b.begin().fragment().charFormat().foreground().color());
    }
    return lines;
}

const std::string kAvatar(OperatorCommands::kOperatorAvatarUrl);

class OperatorCommandsTest : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        window_->operatorCommands().SetClock([] { return QTime(9, 5, 7); });
        window_->show();
        window_->activateWindow();  // focus is only given inside the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    QTextEdit& Input() const { return *window_->operatorInput(); }
    QTextEdit& Log() const { return *window_->chatLogEdit(); }

    // Every client receives exactly `message` next, and then nothing more.
    void ExpectEveryoneGets(std::vector<size_t>& seen, const std::string& message) {
        for (size_t i = 0; i < clients_.size(); ++i) {
            WireClient& client = *clients_[i];
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return client.BlockCount() > seen[i]; }, kDeadlineMs));
            EXPECT_EQ(client.BlockTexts()[seen[i]], message) << "client " << i;
            ++seen[i];
        }
    }
    void ExpectNothingMore(const std::vector<size_t>& seen) {
        Settle();
        for (size_t i = 0; i < clients_.size(); ++i)
            EXPECT_EQ(clients_[i]->BlockCount(), seen[i]) << "client " << i;
    }
    std::vector<size_t> Seen() const {
        std::vector<size_t> seen;
        for (const auto& client : clients_)
            seen.push_back(client->BlockCount());
        return seen;
    }

    // Right-click on the user's row, as the operator opens 踢人 on it.
    void SelectUser(int row) {
        ui::ReportList& users = Users();
        const QRect rect = users.visualItemRect(users.topLevelItem(row));
        QTest::mousePress(users.viewport(), Qt::RightButton, {}, QPoint(20, rect.center().y()));
        ASSERT_EQ(users.SelectedRow(), row);
        window_->kickMenu()->hide();
    }

    // A ChatText from the client, as its own client lays it out.
    static void Say(WireClient& client, const char* nickname, const char* text) {
        ASSERT_TRUE(client.Send(ChatText(Gbk(nickname), Gbk(text))));
    }
};

TEST_F(OperatorCommandsTest, TheOperatorsLineReachesEveryoneExactlyAndIsLoggedUnderARedHeader) {
    Join();
    Join();
    std::vector<size_t> seen = Seen();
    // Sent exactly as typed, the protocol's markers included.
    const QString text = QStringLiteral("今晚八点开唱 cjbjk bq");
    Input().insertPlainText(text);  // typed through an input method
    QTest::mouseClick(window_->sendMessageButton(), Qt::LeftButton);

    ExpectEveryoneGets(seen, kAvatar + "ouu" + Gbk("管理员") + "<127.0.0.1:800>" +
                                 Gbk("今晚八点开唱 cjbjk bq") + "|||3");
    ExpectNothingMore(seen);  // no NameChanged for the operator
    EXPECT_THAT(LogLines(Log()), ElementsAre(std::pair{std::string("管理员<127.0.0.1:800>9:5:7:"),
                                                       QColor(255, 0, 0)},
                                             std::pair{text.toStdString(), QColor(0, 0, 0)}));
    EXPECT_EQ(Input().toPlainText(), QString());
    EXPECT_TRUE(Input().hasFocus());

    // Under another name, by the Enter key: no line break is left behind.
    window_->operatorNameEdit()->setPlainText(QStringLiteral("DJ"));
    QTest::keyClicks(&Input(), QStringLiteral("hi"));
    QTest::keyClick(&Input(), Qt::Key_Return);
    ExpectEveryoneGets(seen, kAvatar + "ouuDJ<127.0.0.1:800>hi|||3");
    EXPECT_EQ(Input().toPlainText(), QString());
    EXPECT_EQ(Input().textCursor().position(), 0);
    EXPECT_EQ(LogLines(Log()).at(2).first, "DJ<127.0.0.1:800>9:5:7:");
}

TEST_F(OperatorCommandsTest, AnEmptyInputSendsNothingAndOnlyTakesTheFocus) {
    Join();
    const std::vector<size_t> seen = Seen();
    window_->announcementEdit()->setFocus();
    QTest::mouseClick(window_->sendMessageButton(), Qt::LeftButton);
    EXPECT_TRUE(Input().hasFocus());
    QTest::keyClick(&Input(), Qt::Key_Enter);
    EXPECT_EQ(Input().toPlainText(), QString());
    ExpectNothingMore(seen);
    EXPECT_THAT(LogLines(Log()), IsEmpty());
}

TEST_F(OperatorCommandsTest, TheAnnouncementGoesToEveryoneAndTheLogCanBeCleared) {
    // With nobody connected a line only reaches the log.
    Input().insertPlainText(QStringLiteral("有人吗"));
    QTest::mouseClick(window_->sendMessageButton(), Qt::LeftButton);
    QTest::mouseClick(window_->updateAnnouncementButton(), Qt::LeftButton);
    EXPECT_EQ(LogLines(Log()).size(), 2u);

    Join();
    Join();
    std::vector<size_t> seen = Seen();
    QTest::mouseClick(window_->updateAnnouncementButton(), Qt::LeftButton);
    ExpectEveryoneGets(seen, Gbk("软件使用请看说明书！") + "|||4");
    window_->announcementEdit()->setPlainText(QStringLiteral("周五点歌夜"));
    QTest::mouseClick(window_->updateAnnouncementButton(), Qt::LeftButton);
    ExpectEveryoneGets(seen, Gbk("周五点歌夜") + "|||4");

    QTest::mouseClick(window_->clearChatButton(), Qt::LeftButton);
    EXPECT_EQ(Log().toPlainText(), QString());
    ExpectNothingMore(seen);
}

TEST_F(OperatorCommandsTest, AMutedUsersChatAndPicturesAreNotRelayedUntilUnmuted) {
    WireClient& muted = Join();
    WireClient& other = Join();
    std::vector<size_t> seen = Seen();

    SelectUser(0);
    window_->muteAction()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return muted.BlockCount() > seen[0]; }, kDeadlineMs));
    EXPECT_EQ(muted.BlockTexts()[seen[0]], Gbk("禁言") + "|||8");
    ++seen[0];
    EXPECT_EQ(Cell(0, Column::kStateColumn), QStringLiteral("禁言"));
    EXPECT_EQ(Cell(1, Column::kStateColumn), QStringLiteral("正常"));

    Say(muted, "小明", "我还能说话吗");
    QTest::qWait(150);
    ASSERT_TRUE(muted.Send(protocol::BuildPictureShare(
        {"http://127.0.0.1:9/p.png", "http://127.0.0.1:9/a.png", Gbk("小明")})));
    QTest::qWait(150);
    // Requests still count.
    ASSERT_TRUE(muted.Send(protocol::BuildSongRequest(
        {"http://127.0.0.1:9/c.jpg", Gbk("小明"), "http://127.0.0.1:9/s.mp3", Gbk("晴天"), ""})));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window_->songQueue()->RowCount() == 1; }, kDeadlineMs));
    ExpectNothingMore(seen);
    EXPECT_THAT(LogLines(Log()), IsEmpty());
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("用户1")) << "not renamed either";

    // Another user is not affected.
    Say(other, "阿杰", "我可以");
    ExpectEveryoneGets(
        seen, "http://127.0.0.1/a.pngouu" + Gbk("阿杰") + "<127.0.0.1>" + Gbk("我可以") + "|||3");

    SelectUser(0);
    window_->unmuteAction()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return muted.BlockCount() > seen[0] + 1; }, kDeadlineMs));
    Settle();
    // The NameChanged of 阿杰's line, then the lifted mute.
    EXPECT_EQ(muted.BlockTexts().back(), Gbk("解禁") + "|||9");
    EXPECT_EQ(Cell(0, Column::kStateColumn), QStringLiteral("正常"));
    seen = Seen();
    Say(muted, "小明", "谢谢");
    ExpectEveryoneGets(
        seen, "http://127.0.0.1/a.pngouu" + Gbk("小明") + "<127.0.0.1>" + Gbk("谢谢") + "|||3");
}

TEST_F(OperatorCommandsTest, AMutedUserWhoReconnectsGetsAFreshRow) {
    WireClient& first = Join();
    Join();
    SelectUser(0);
    window_->muteAction()->trigger();
    ASSERT_EQ(Cell(0, Column::kStateColumn), QStringLiteral("禁言"));
    first.Close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Users().RowCount() == 1; }, kDeadlineMs));

    WireClient& again = Join();
    ASSERT_EQ(Users().RowCount(), 2);
    EXPECT_EQ(Cell(1, Column::kStateColumn), QStringLiteral("正常"));
    std::vector<size_t> seen = Seen();
    Say(again, "小明", "我回来了");
    ASSERT_TRUE(QTest::qWaitFor([&] { return again.BlockCount() > seen[2]; }, kDeadlineMs));
    EXPECT_EQ(again.BlockTexts()[seen[2]],
              "http://127.0.0.1/a.pngouu" + Gbk("小明") + "<127.0.0.1>" + Gbk("我回来了") + "|||3");
}

TEST_F(OperatorCommandsTest, KickingClosesTheConnectionAndTheRowGoesAway) {
    WireClient& stays = Join();
    WireClient& kicked = Join();
    const std::string kickedAddress = kicked.Address();
    size_t seen = stays.BlockCount();

    SelectUser(1);
    window_->kickAction()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return kicked.PeerClosed(); }, kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Users().RowCount() == 1; }, kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return stays.BlockCount() > seen; }, kDeadlineMs));
    EXPECT_EQ(stays.BlockTexts()[seen], "<" + Gbk("用户2") + ">" + kickedAddress + "|||5");
    ++seen;

    // A row that no connection backs any more goes too, with its UserGone.
    const int stale = Users().AppendRow();
    Users().SetCellText(stale, Column::kUserColumn, QStringLiteral("幽灵"));
    Users().SetCellText(stale, Column::kIpColumn, QStringLiteral("127.0.0.1"));
    Users().SetCellText(stale, Column::kPortColumn, QStringLiteral("1"));
    SelectUser(stale);
    window_->kickAction()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Users().RowCount() == 1; }, kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return stays.BlockCount() > seen; }, kDeadlineMs));
    EXPECT_EQ(stays.BlockTexts()[seen], "<" + Gbk("幽灵") + ">127.0.0.1:1|||5");
    ++seen;
    Settle();
    EXPECT_EQ(stays.BlockCount(), seen) << "one UserGone per departure";
    EXPECT_FALSE(stays.PeerClosed());
}

TEST_F(OperatorCommandsTest, WithNoRowSelectedTheUserCommandsDoNothing) {
    WireClient& client = Join();
    const std::vector<size_t> seen = Seen();
    ASSERT_EQ(Users().SelectedRow(), -1);
    for (QAction* action :
         {window_->muteAction(), window_->unmuteAction(), window_->kickAction()}) {
        action->trigger();
    }
    ExpectNothingMore(seen);
    EXPECT_FALSE(client.PeerClosed());
    EXPECT_EQ(Users().RowCount(), 1);
    EXPECT_EQ(Cell(0, Column::kStateColumn), QStringLiteral("正常"));
}

}  // namespace
}  // namespace vinylo::server
