#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "server/server_arguments.h"
#include "server/server_window.h"

namespace vinylo::platform {
class Player;
}

namespace vinylo::server {

// Start-up: the media player, the window, listening, and what happens when
// the port cannot be bound (a line on stderr naming the port and the reason
// and, when there is a display, an error box; then the program ends with a
// non-zero code).
//
// The player is libmpv with the arguments' audio output, unless the window
// options bring one. When libmpv cannot start the server says so (stderr and
// the now-playing label) and serves the chat room without playing; when no
// audio device can be opened it says so once and the songs play silently.
class ServerProgram : public QObject {
    Q_OBJECT

public:
    // What the program stands on, replaceable for tests.
    struct Services {
        // Makes the player; null, with the reason in `error`, when none can
        // be started. Unset: libmpv with the arguments' audio output.
        std::function<std::unique_ptr<platform::Player>(const ServerArguments&, QString* error)>
            makePlayer;
        // Takes each diagnostic line. Unset: stderr.
        std::function<void(const QString& line)> report;
    };

    // A player in the window options is used as it is; otherwise the
    // program makes its own.
    ServerProgram(ServerArguments arguments, bool hasDisplay,
                  ServerWindowOptions windowOptions = {}, Services services = {});
    ~ServerProgram() override;

    // True when the server listens and its window is up. On false the
    // failure has been reported; with a display `finished` follows once the
    // box is closed.
    bool Start();

    ServerWindow& window() const { return *window_; }

signals:
    void finished(int exitCode);

private:
    void ReportListenFailure();

    ServerArguments arguments_;
    bool hasDisplay_;
    std::function<void(const QString& line)> report_;
    std::unique_ptr<platform::Player> ownPlayer_;  // outlives the window
    std::unique_ptr<ServerWindow> window_;
};

// Decides the window platform before the application object exists: an
// explicit QT_QPA_PLATFORM is respected; with neither DISPLAY nor
// WAYLAND_DISPLAY the offscreen platform is chosen (and said on stderr).
// Returns whether windows will be seen.
bool ChooseWindowPlatform();

}  // namespace vinylo::server
