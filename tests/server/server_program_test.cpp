#include "server/server_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

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
    ServerProgram program(ServerArguments{taken.port(), false}, /*hasDisplay=*/true, options);
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
    EXPECT_THAT(server.readAllStandardOutput().toStdString(), HasSubstr("--port N"));
}

}  // namespace
}  // namespace vinylo::server
