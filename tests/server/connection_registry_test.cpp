#include "server/connection_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextEdit>
#include <chrono>

#include "tests/server/server_fixture.h"

namespace vinylo::server {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::WireClient;
using namespace std::chrono_literals;
using Column = ConnectionRegistry::Column;

void ExpectApart(const std::vector<WireClient::Block>& blocks, size_t from, size_t to) {
    for (size_t i = from + 1; i < to && i < blocks.size(); ++i) {
        EXPECT_GE(blocks[i].arrival - blocks[i - 1].arrival, 50ms) << "block " << i;
    }
}

// The log as (text, colour) per line, the empty first line left out.
std::vector<std::pair<std::string, QColor>> LogLines(QTextEdit& log) {
    std::vector<std::pair<std::string, QColor>> lines;
    for (QTextBlock b = log.document()->begin(); b.isValid(); b = b.next()) {
        if (b.text().isEmpty())
            continue;
        const QTextCharFormat format = b.begin().fragment().charFormat();
        lines.emplace_back(b.text().toStdString(), format.foreground().color());
    }
    return lines;
}

class RegistryTest : public ServerFixture {};

TEST_F(RegistryTest, GreetsTheFirstClientWithItsNameAddressAndEntryAlone) {
    window_->registry().SetClock([] { return QDateTime(QDate(2018, 5, 7), QTime(9, 3, 15)); });
    WireClient& first = Join();
    const std::string address = first.Address();
    Settle();
    const auto blocks = first.Blocks();
    EXPECT_THAT(first.BlockTexts(), ElementsAre(Gbk("用户1") + "|||1", address + "|||7",
                                                "<" + Gbk("用户1") + ">" + address + "|||2"));
    ExpectApart(blocks, 0, blocks.size());

    ASSERT_EQ(Users().RowCount(), 1);
    const std::string port = address.substr(address.find(':') + 1);
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("用户1"));
    EXPECT_EQ(Cell(0, Column::kIpColumn), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(Cell(0, Column::kPortColumn).toStdString(), port);
    EXPECT_EQ(Cell(0, Column::kLoginTimeColumn), QStringLiteral("2018-5-7 9:3:15"));
    EXPECT_EQ(Cell(0, Column::kStateColumn), QStringLiteral("正常"));
}

TEST_F(RegistryTest, GreetsASecondClientWithEveryEntryAndAnnouncesItToTheFirst) {
    WireClient& first = Join();
    WireClient& second = Join();
    Settle();
    const std::string a = first.Address();
    const std::string b = second.Address();
    EXPECT_THAT(second.BlockTexts(), ElementsAre(Gbk("用户2") + "|||1", b + "|||7",
                                                 "<" + Gbk("用户1") + ">" + a + "|||2",
                                                 "<" + Gbk("用户2") + ">" + b + "|||2"));
    ExpectApart(second.Blocks(), 0, 4);
    EXPECT_THAT(first.BlockTexts(), ElementsAre(Gbk("用户1") + "|||1", a + "|||7",
                                                "<" + Gbk("用户1") + ">" + a + "|||2",
                                                "<" + Gbk("用户2") + ">" + b + "|||2"));
    EXPECT_EQ(Cell(1, Column::kUserColumn), QStringLiteral("用户2"));
}

TEST_F(RegistryTest, RelaysChatToEveryoneThenRenamesTheSenderAndLogsTheLine) {
    WireClient& sender = Join();
    WireClient& listener = Join();
    const size_t senderBefore = sender.BlockCount();
    const size_t listenerBefore = listener.BlockCount();
    const std::string address = sender.Address();
    ASSERT_TRUE(sender.Send(ChatText(Gbk("小明"), Gbk("大家好"))));

    const std::string chatLine =
        "http://127.0.0.1/a.png"
        "ouu" +
        Gbk("小明") + "<127.0.0.1>" + Gbk("大家好") + "|||3";
    const std::string nameChanged =
        "<" + Gbk("用户1") + ">" + address + "||<" + Gbk("小明") + ">" + address + "|||6";
    for (WireClient* client : {&sender, &listener}) {
        const size_t before = client == &sender ? senderBefore : listenerBefore;
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return client->BlockCount() >= before + 2; }, kDeadlineMs));
        const auto texts = client->BlockTexts();
        EXPECT_THAT(std::vector(texts.begin() + static_cast<long>(before), texts.end()),
                    ElementsAre(chatLine, nameChanged));
        ExpectApart(client->Blocks(), before, before + 2);
    }
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("小明"));
    EXPECT_EQ(Cell(1, Column::kUserColumn), QStringLiteral("用户2"));
    EXPECT_THAT(LogLines(*window_->chatLogEdit()),
                ElementsAre(std::pair{std::string("小明<127.0.0.1>"), ChatLog::kRelayHeaderColour},
                            std::pair{std::string("大家好"), ChatLog::kBodyColour}));

    // The next line carries the name the sender has now.
    ASSERT_TRUE(sender.Send(ChatText(Gbk("明明"), Gbk("改名了"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(listener, "6") >= 2; }, kDeadlineMs));
    EXPECT_EQ(listener.BlockTexts().back(),
              "<" + Gbk("小明") + ">" + address + "||<" + Gbk("明明") + ">" + address + "|||6");
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("明明"));
}

TEST_F(RegistryTest, LogsInSongTiNinePointWithTheBodyInBlack) {
    WireClient& sender = Join();
    ASSERT_TRUE(sender.Send(ChatText(Gbk("小明"), Gbk("第一行"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(sender, "6") >= 1; }, kDeadlineMs));
    const QTextBlock header = window_->chatLogEdit()->document()->begin().next();
    const QTextCharFormat format = header.begin().fragment().charFormat();
    EXPECT_EQ(format.fontFamilies().toStringList().value(0), QStringLiteral("宋体"));
    EXPECT_EQ(format.fontPointSize(), 9.0);
    EXPECT_FALSE(format.fontWeight() > QFont::Normal);
    EXPECT_FALSE(format.fontItalic());
    EXPECT_EQ(header.next().begin().fragment().charFormat().foreground().color(), QColor(0, 0, 0));
}

TEST_F(RegistryTest, RelaysAPictureShareToEveryoneWithoutLoggingOrRenaming) {
    WireClient& sender = Join();
    WireClient& listener = Join();
    const size_t before = listener.BlockCount();
    ASSERT_TRUE(
        sender.Send("http://127.0.0.1/p.gif"
                    "ooobiaoqing"
                    "http://127.0.0.1/a.png"
                    "ouutx%tx" +
                    Gbk("小明") + "|||77"));
    const std::string line =
        "http://127.0.0.1/p.gif"
        "ooo"
        "http://127.0.0.1/a.png"
        "ouu" +
        Gbk("小明") + "|||77";
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(sender, "77") == 1; }, kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener.BlockCount() == before + 1; }, kDeadlineMs));
    Settle();
    EXPECT_EQ(listener.BlockTexts().back(), line);
    EXPECT_EQ(listener.BlockCount(), before + 1);
    EXPECT_EQ(CountCode(sender, "6"), 0u);
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("用户1"));
    EXPECT_TRUE(window_->chatLogEdit()->toPlainText().isEmpty());
}

// Blocks the server drops without a word: nothing sent, nothing logged, no
// row touched, and the server goes on serving.
TEST_F(RegistryTest, DropsWhatItCannotReadAndKeepsServing) {
    WireClient& sender = Join();
    WireClient& listener = Join();
    std::vector<std::string> dropped;
    bool queueCalled = false;
    window_->registry().SetSongQueueHandler(
        [&](protocol::ClientKind, const std::string&, const QString&) { queueCalled = true; });
    const struct {
        const char* why;
        std::string block;
    } cases[] = {
        {"picture file", Gbk("小明") + "jjshe" + std::string("\x89PNG", 4) + "|||47"},
        {"unknown code", "hello|||2"},
        {"code with a leading zero", "hello|||01"},
        {"code with a blank", "hello|||1 "},
        {"empty code", "hello|||"},
        {"no separator", "just words"},
        {"only the separator", "|||"},
        {"chat without text marker", "http://x/a.pngouutx%tx" + Gbk("坏") + "bq<127.0.0.1>hi|||1"},
        {"chat without address marker", "http://x/a.pngouutx%tx" + Gbk("坏") + "cjbjkhi|||1"},
        {"chat without avatar marker", Gbk("坏") + "bq<127.0.0.1>cjbjkhi|||1"},
        {"picture without avatar marker", "http://x/p.gifooobiaoqinghttp://x/a.png|||77"},
        {"picture without picture marker", "http://x/p.gifhttp://x/a.pngouutx%txnick|||77"},
        {"two messages in one block", ChatText(Gbk("小明"), "a") + ChatText(Gbk("小明"), "b")},
        {"zero byte before the code", std::string("hi\0|||1", 7)},
    };
    const size_t senderBefore = sender.BlockCount();
    const size_t listenerBefore = listener.BlockCount();
    for (const auto& c : cases) {
        ASSERT_TRUE(sender.Send(c.block)) << c.why;
        // Each block on its own: the server reads them apart.
        QTest::qWait(120);
    }
    Settle();
    EXPECT_EQ(sender.BlockCount(), senderBefore);
    EXPECT_EQ(listener.BlockCount(), listenerBefore);
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("用户1"));
    EXPECT_EQ(Users().RowCount(), 2);
    EXPECT_TRUE(window_->chatLogEdit()->toPlainText().isEmpty());
    EXPECT_FALSE(queueCalled);

    ASSERT_TRUE(sender.Send(ChatText(Gbk("小明"), Gbk("还在"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(listener, "6") == 1; }, kDeadlineMs));
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("小明"));
}

TEST_F(RegistryTest, HandlesTheFirstOfTwoMessagesWhenTheSecondPayloadIsEmpty) {
    WireClient& sender = Join();
    // The code piece reads "1" and the third piece is ignored.
    ASSERT_TRUE(sender.Send(ChatText(Gbk("小明"), "a") + "|||4"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(sender, "6") == 1; }, kDeadlineMs));
    EXPECT_EQ(CountCode(sender, "3"), 1u);
}

TEST_F(RegistryTest, RelaysAChatWithAnEmptyNicknameAndText) {
    WireClient& sender = Join();
    ASSERT_TRUE(sender.Send(ChatText("", "")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(sender, "6") == 1; }, kDeadlineMs));
    const auto texts = sender.BlockTexts();
    EXPECT_EQ(texts[texts.size() - 2], "http://127.0.0.1/a.pngouu<127.0.0.1>|||3");
    EXPECT_EQ(Cell(0, Column::kUserColumn), QString());
}

TEST_F(RegistryTest, TellsTheOthersOfALeaveWithTheCurrentName) {
    WireClient& leaver = Join();
    WireClient& stayer = Join();
    const std::string address = leaver.Address();
    ASSERT_TRUE(leaver.Send(ChatText(Gbk("小明"), "bye")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(stayer, "6") == 1; }, kDeadlineMs));
    leaver.Close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(stayer, "5") == 1; }, kDeadlineMs));
    EXPECT_EQ(stayer.BlockTexts().back(), "<" + Gbk("小明") + ">" + address + "|||5");
    ASSERT_EQ(Users().RowCount(), 1);
    EXPECT_EQ(Cell(0, Column::kUserColumn), QStringLiteral("用户2"));

    // A newcomer is numbered by the rows there are now.
    WireClient& third = Join();
    EXPECT_EQ(third.BlockTexts()[0], Gbk("用户2") + "|||1");
}

TEST_F(RegistryTest, HandsTheSongQueueCodesToTheQueueAndSendsNothing) {
    WireClient& sender = Join();
    std::vector<std::tuple<protocol::ClientKind, std::string, QString>> handed;
    window_->registry().SetSongQueueHandler(
        [&](protocol::ClientKind kind, const std::string& payload, const QString& address) {
            handed.emplace_back(kind, payload, address);
        });
    const size_t before = sender.BlockCount();
    ASSERT_TRUE(sender.Send("cgqfmnxmubfdztgqmcs|||10"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return handed.size() == 1; }, kDeadlineMs));
    ASSERT_TRUE(sender.Send("cgq:mfnxmubfdztgqmcs|||49"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return handed.size() == 2; }, kDeadlineMs));
    ASSERT_TRUE(sender.Send(Gbk("小明") + "|||76"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return handed.size() == 3; }, kDeadlineMs));
    const QString address = QString::fromStdString(sender.Address());
    EXPECT_THAT(handed, ElementsAre(std::tuple{protocol::ClientKind::SongRequest,
                                               std::string("cgqfmnxmubfdztgqmcs"), address},
                                    std::tuple{protocol::ClientKind::RepeatSongRequest,
                                               std::string("cgq:mfnxmubfdztgqmcs"), address},
                                    std::tuple{protocol::ClientKind::CutSongRequest, Gbk("小明"),
                                               address}));
    Settle();
    EXPECT_EQ(sender.BlockCount(), before);
}

TEST_F(RegistryTest, OffersFindUserRowAndSendsToAnUnknownAddressNothing) {
    WireClient& first = Join();
    WireClient& second = Join();
    const QString b = QString::fromStdString(second.Address());
    EXPECT_EQ(window_->registry().FindUserRow(b), 1);
    EXPECT_EQ(window_->registry().FindUserRow(QStringLiteral("127.0.0.1:1")), std::nullopt);
    EXPECT_EQ(window_->registry().AddressOfRow(5), QStringLiteral(":"));
    const size_t before = first.BlockCount();
    window_->registry().SendToClient(QStringLiteral(":"), "x|||4");
    window_->registry().BroadcastToAll("all|||4");
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.BlockCount() == before + 1; }, kDeadlineMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountCode(second, "4") == 1; }, kDeadlineMs));
    EXPECT_EQ(first.BlockTexts().back(), "all|||4");
}

}  // namespace
}  // namespace vinylo::server
