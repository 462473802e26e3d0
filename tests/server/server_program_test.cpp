#include "server/server_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <QLabel>

#include "platform/fake_player.h"
#include "platform/server_socket.h"
#include "server/clock_text.h"
#include "tests/server/server_fixture.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/wire_client.h"

namespace vinylo::server {
namespace {

using ::testing::HasSubstr;

TEST(ServerArgumentsTest, ReadsThePortAndHelpAndRejectsTheRest) {
    const struct {
        QStringList arguments;
        std::optional<quint16> port;  // unset: rejected
        bool help;
    } cases[] = {
        {{}, 800, false},
        {{QStringLiteral("--port"), QStringLiteral("8000")}, 8000, false},
        {{QStringLiteral("--port=0")}, 0, false},
        {{QStringLiteral("--port"), QStringLiteral("65535")}, 65535, false},
        {{QStringLiteral("--help")}, 800, true},
        {{QStringLiteral("-h")}, 800, true},
        {{QStringLiteral("--port")}, std::nullopt, false},
        {{QStringLiteral("--port"), QStringLiteral("65536")}, std::nullopt, false},
        {{QStringLiteral("--port"), QStringLiteral("-1")}, std::nullopt, false},
        {{QStringLiteral("--port"), QStringLiteral("80x")}, std::nullopt, false},
        {{QStringLiteral("--verbose")}, std::nullopt, false},
        {{QStringLiteral("--audio-output"), QStringLiteral("null"), QStringLiteral("--port=9")},
         9,
         false},
        {{QStringLiteral("--audio-output")}, std::nullopt, false},
        {{QStringLiteral("--audio-output=")}, std::nullopt, false},
        {{QStringLiteral("--audio-outputs=null")}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ParsedArguments parsed =
            ParseServerArguments(QStringList{QStringLiteral("vinylo_server")} + c.arguments);
        ASSERT_EQ(parsed.arguments.has_value(), c.port.has_value()) << parsed.error.toStdString();
        if (!c.port) {
            EXPECT_FALSE(parsed.error.isEmpty());
            continue;
        }
        EXPECT_EQ(parsed.arguments->port, *c.port);
        EXPECT_EQ(parsed.arguments->help, c.help);
    }
    const ParsedArguments output = ParseServerArguments(
        {QStringLiteral("vinylo_server"), QStringLiteral("--audio-output=pulse")});
    ASSERT_TRUE(output.arguments);
    EXPECT_EQ(output.arguments->audioOutput, QStringLiteral("pulse"));
    EXPECT_EQ(ParseServerArguments({QStringLiteral("vinylo_server")}).arguments->audioOutput,
              QString());
}

// A program over a fake player, or over no player at all, with its
// diagnostic lines collected.
struct ProgramWithPlayer {
    explicit ProgramWithPlayer(bool playerStarts) {
        ServerWindowOptions options;
        options.trayAvailable = false;
        ServerProgram::Services services;
        services.makePlayer = [this, playerStarts](const ServerArguments& arguments,
                                                   QString* error) {
            audioOutput = arguments.audioOutput;
            std::unique_ptr<platform::Player> player;
            if (playerStarts) {
                player = std::make_unique<platform::FakePlayer>();
            } else {
                *error = QStringLiteral("libmpv could not start: unsupported");
            }
            return player;
        };
        services.report = [this](const QString& line) { lines << line; };
        ServerArguments arguments;
        arguments.port = 0;
        arguments.audioOutput = QStringLiteral("null");
        program = std::make_unique<ServerProgram>(arguments, false, options, services);
    }

    QString audioOutput;
    QStringList lines;
    std::unique_ptr<ServerProgram> program;
};

TEST(ServerProgramTest, SaysOnceThatThereIsNoAudioDeviceAndGoesOnPlaying) {
    ProgramWithPlayer p(true);
    EXPECT_EQ(p.audioOutput, QStringLiteral("null")) << "the player gets --audio-output";
    auto* player = qobject_cast<platform::FakePlayer*>(p.program->window().player());
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(p.program->Start());
    p.lines.clear();
    player->setAudioDeviceMissing(true);
    player->setAudioDeviceMissing(false);
    player->setAudioDeviceMissing(true);
    ASSERT_EQ(p.lines.size(), 1);
    EXPECT_THAT(p.lines[0].toStdString(), HasSubstr("no audio device"));
    EXPECT_THAT(p.program->window().nowPlayingLabel()->text().toStdString(), HasSubstr("音频设备"));
}

TEST(ServerProgramTest, ServesTheChatRoomWhenThePlayerCannotStart) {
    ProgramWithPlayer p(false);
    ASSERT_EQ(p.program->window().player(), nullptr);
    ASSERT_EQ(p.lines.size(), 1);
    EXPECT_THAT(p.lines[0].toStdString(), HasSubstr("cannot start the media player"));
    EXPECT_THAT(p.lines[0].toStdString(), HasSubstr("unsupported"));
    EXPECT_THAT(p.program->window().nowPlayingLabel()->text().toStdString(),
                HasSubstr("播放器无法启动"));
    ASSERT_TRUE(p.program->Start());
    testing::WireClient client(p.program->window().serverSocket().Port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.BlockCount() >= 3; }, kDeadlineMs));
    // A request is kept in the queue for when a player is back.
    ASSERT_TRUE(client.Send("http://127.0.0.1:9/c.jpggqfm" + Gbk("小明") +
                            "xmhttp://127.0.0.1:9/s.mp3bfdz" + Gbk("晴天") + "gqmc|||10"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.program->window().songQueue()->RowCount() == 1; },
                                kDeadlineMs));
}

TEST(ClockTextTest, WritesNumbersWithoutLeadingZeros) {
    EXPECT_EQ(LoginTimeText(QDateTime(QDate(2018, 5, 7), QTime(9, 3, 15))),
              QStringLiteral("2018-5-7 9:3:15"));
    EXPECT_EQ(LoginTimeText(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 0))),
              QStringLiteral("2024-12-31 23:59:0"));
    EXPECT_EQ(ClockTimeText(QTime(0, 0, 0)), QStringLiteral("0:0:0"));
}

// Holds a port on every IPv4 address so the server cannot bind it.
class TakenPort {
public:
    TakenPort() { EXPECT_TRUE(holder_.listen(QHostAddress::AnyIPv4, 0)); }
    quint16 port() const { return holder_.serverPort(); }

private:
    QTcpServer holder_;
};

TEST(ServerProgramTest, ReportsAPortItCannotBindInABoxWhenThereIsADisplay) {
    TakenPort taken;
    testing::MessageBoxRecorder::Clear();
    ServerWindowOptions options;
    options.trayAvailable = false;
    ServerArguments arguments;
    arguments.port = taken.port();
    ServerProgram program(arguments, /*hasDisplay=*/true, options);
    QSignalSpy finished(&program, &ServerProgram::finished);
    EXPECT_FALSE(program.Start());
    ASSERT_EQ(testing::MessageBoxRecorder::Shown().size(), 1u);
    const auto& box = testing::MessageBoxRecorder::Shown()[0];
    EXPECT_THAT(box.text.toStdString(), HasSubstr(std::to_string(taken.port())));
    EXPECT_EQ(box.caption, QStringLiteral("错误！"));
    EXPECT_EQ(box.icon, platform::MessageIcon::Error);
    // The box was closed (the recorder closes at once): the program ends, failing.
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0][0].toInt(), 1);
    EXPECT_FALSE(program.window().isVisible());
}

QProcessEnvironment HeadlessEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}

TEST(ServerBinaryTest, ExitsWithAnErrorNamingThePortWhenItIsTaken) {
    TakenPort taken;
    QProcess server;
    server.setProcessEnvironment(HeadlessEnvironment());
    server.start(QStringLiteral(VINYLO_SERVER_BINARY),
                 {QStringLiteral("--port"), QString::number(taken.port())});
    ASSERT_TRUE(server.waitForFinished(60000));
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(server.exitCode(), 0);
    const std::string errors = server.readAllStandardError().toStdString();
    EXPECT_THAT(errors, HasSubstr("offscreen"));
    EXPECT_THAT(errors, HasSubstr("cannot listen on port " + std::to_string(taken.port())));
    EXPECT_THAT(errors, HasSubstr("already in use"));
}

TEST(ServerBinaryTest, ServesClientsWithoutADisplay) {
    QProcess server;
    server.setProcessEnvironment(HeadlessEnvironment());
    server.start(QStringLiteral(VINYLO_SERVER_BINARY),
                 {QStringLiteral("--port"), QStringLiteral("0")});
    ASSERT_TRUE(server.waitForStarted(60000));
    std::string errors;
    quint16 port = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            errors += server.readAllStandardError().toStdString();
            const auto at = errors.find("listening on port ");
            if (at == std::string::npos || errors.find('\n', at) == std::string::npos)
                return false;
            port = static_cast<quint16>(std::stoi(errors.substr(at + 18)));
            return true;
        },
        60000))
        << errors;
    testing::WireClient client(port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.BlockCount() >= 3; }, kDeadlineMs));
    EXPECT_EQ(client.BlockTexts()[0], Gbk("用户1") + "|||1");
    server.terminate();
    ASSERT_TRUE(server.waitForFinished(60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.PeerClosed(); }, kDeadlineMs));
}

TEST(ServerBinaryTest, PrintsHelp) {
    QProcess server;
    server.setProcessEnvironment(HeadlessEnvironment());
    server.start(QStringLiteral(VINYLO_SERVER_BINARY), {QStringLiteral("--help")});
    ASSERT_TRUE(server.waitForFinished(60000));
    EXPECT_EQ(server.exitCode(), 0);
    const std::string help = server.readAllStandardOutput().toStdString();
    EXPECT_THAT(help, HasSubstr("--port N"));
    EXPECT_THAT(help, HasSubstr("--audio-output NAME"));
}

}  // namespace
}  // namespace vinylo::server
