#include "server/server_program.h"

#include <QApplication>
#include <cstdio>

#include "platform/message_box.h"
#include "platform/server_socket.h"

namespace vinylo::server {

ServerProgram::ServerProgram(ServerArguments arguments, bool hasDisplay,
                             ServerWindowOptions windowOptions)
    : arguments_(arguments),
      hasDisplay_(hasDisplay),
      window_(std::make_unique<ServerWindow>(windowOptions)) {
    connect(window_.get(), &ServerWindow::quitRequested, this, [this] { emit finished(0); });
    connect(&window_->serverSocket(), &platform::ServerSocket::slowPeerDropped, this,
            [](const QString& address, qint64 pending) {
                std::fprintf(stderr,
                             "vinylo_server: %s stopped reading (%lld bytes waiting); "
                             "disconnected\n",
                             qPrintable(address), static_cast<long long>(pending));
            });
}

ServerProgram::~ServerProgram() = default;

bool ServerProgram::Start() {
    if (!window_->serverSocket().Listen(arguments_.port)) {
        ReportListenFailure();
        return false;
    }
    std::fprintf(stderr, "vinylo_server: listening on port %u\n",
                 static_cast<unsigned>(window_->serverSocket().Port()));
    window_->ShowNormalCentred();
    return true;
}

void ServerProgram::ReportListenFailure() {
    const QString reason = window_->serverSocket().ErrorString();
    std::fprintf(stderr, "vinylo_server: cannot listen on port %u: %s\n",
                 static_cast<unsigned>(arguments_.port), qPrintable(reason));
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
