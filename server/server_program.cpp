#include "server/server_program.h"

#include <QApplication>
#include <cstdio>

#include "platform/message_box.h"
#include "platform/mpv_player.h"
#include "platform/server_socket.h"
#include "server/song_queue.h"

namespace vinylo::server {
namespace {

std::unique_ptr<platform::Player> MakeMpvPlayer(const ServerArguments& arguments, QString* error) {
    platform::MpvPlayerOptions options;
    options.audioOutput = arguments.audioOutput;
    return platform::MpvPlayer::Create(options, error);
}

}  // namespace

ServerProgram::ServerProgram(ServerArguments arguments, bool hasDisplay,
                             ServerWindowOptions windowOptions, Services services)
    : arguments_(arguments), hasDisplay_(hasDisplay), report_(std::move(services.report)) {
    if (!report_) {
        report_ = [](const QString& line) {
            std::fprintf(stderr, "vinylo_server: %s\n", qPrintable(line));
        };
    }
    QString playerError;
    if (windowOptions.player == nullptr) {
        if (!services.makePlayer)
            services.makePlayer = MakeMpvPlayer;
        ownPlayer_ = services.makePlayer(arguments_, &playerError);
        windowOptions.player = ownPlayer_.get();
    }
    window_ = std::make_unique<ServerWindow>(windowOptions);

    if (platform::Player* player = window_->player()) {
        connect(player, &platform::Player::audioDeviceMissingChanged, this,
                [this, told = false](bool missing) mutable {
                    if (!missing || told)
                        return;
                    told = true;
                    report_(
                        QStringLiteral("no audio device could be opened; songs play "
                                       "silently (see --audio-output)"));
                });
    } else {
        report_(QStringLiteral("cannot start the media player: %1; requests are queued but "
                               "nothing plays")
                    .arg(playerError));
        window_->queue().ShowPlayerUnavailable(playerError);
    }
    connect(window_.get(), &ServerWindow::quitRequested, this, [this] { emit finished(0); });
    connect(&window_->serverSocket(), &platform::ServerSocket::slowPeerDropped, this,
            [this](const QString& address, qint64 pending) {
                report_(QStringLiteral("%1 stopped reading (%2 bytes waiting); disconnected")
                            .arg(address)
                            .arg(pending));
            });
}

ServerProgram::~ServerProgram() = default;

bool ServerProgram::Start() {
    if (!window_->serverSocket().Listen(arguments_.port)) {
        ReportListenFailure();
        return false;
    }
    report_(QStringLiteral("listening on port %1").arg(window_->serverSocket().Port()));
    window_->ShowNormalCentred();
    return true;
}

void ServerProgram::ReportListenFailure() {
    const QString reason = window_->serverSocket().ErrorString();
    report_(QStringLiteral("cannot listen on port %1: %2").arg(arguments_.port).arg(reason));
    if (!hasDisplay_)
        return;
    const QString text =
        QStringLiteral("无法在端口 %1 上监听：%2\n没有客户端能连接到服务端，程序将退出。")
            .arg(arguments_.port)
            .arg(reason);
    platform::ShowMessageBox(nullptr, text, QStringLiteral("错误！"), platform::MessageIcon::Error,
                             [this] { emit finished(1); });
}

bool ChooseWindowPlatform() {
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty()) {
        return !chosen.startsWith("offscreen") && !chosen.startsWith("minimal");
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return true;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::fprintf(stderr,
                 "vinylo_server: no display (DISPLAY and WAYLAND_DISPLAY are unset); "
                 "running on the offscreen platform, without a window\n");
    return false;
}

}  // namespace vinylo::server
