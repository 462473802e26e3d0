#pragma once

#include <QObject>
#include <memory>

#include "server/server_arguments.h"
#include "server/server_window.h"

namespace vinylo::server {

// Start-up: the window, listening, and what happens when the port cannot be
// bound (a line on stderr naming the port and the reason and, when there is
// a display, an error box; then the program ends with a non-zero code).
class ServerProgram : public QObject {
    Q_OBJECT

public:
    ServerProgram(ServerArguments arguments, bool hasDisplay,
                  ServerWindowOptions windowOptions = {});
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
    std::unique_ptr<ServerWindow> window_;
};

// Decides the window platform before the application object exists: an
// explicit QT_QPA_PLATFORM is respected; with neither DISPLAY nor
// WAYLAND_DISPLAY the offscreen platform is chosen (and said on stderr).
// Returns whether windows will be seen.
bool ChooseWindowPlatform();

}  // namespace vinylo::server
