// vinylo_server: the song-request server.
#include <QApplication>
#include <clocale>
#include <cstdio>

#include "server/server_arguments.h"
#include "server/server_program.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const vinylo::server::ParsedArguments parsed = vinylo::server::ParseServerArguments(arguments);
    if (!parsed.arguments) {
        std::fprintf(stderr, "vinylo_server: %s\n\n%s", qPrintable(parsed.error),
                     qPrintable(vinylo::server::ServerUsage()));
        return 2;
    }
    if (parsed.arguments->help) {
        std::fputs(qPrintable(vinylo::server::ServerUsage()), stdout);
        return 0;
    }

    const bool hasDisplay = vinylo::server::ChooseWindowPlatform();
    QApplication app(argc, argv);
    // QApplication takes the locale from the environment; the media engine
    // needs the C numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    // The window hides to the tray and message boxes come and go: the
    // program ends only when asked to.
    QApplication::setQuitOnLastWindowClosed(false);

    vinylo::server::ServerProgram program(*parsed.arguments, hasDisplay);
    QObject::connect(&program, &vinylo::server::ServerProgram::finished, &app,
                     [](int code) { QApplication::exit(code); });
    if (!program.Start() && !hasDisplay) {
        return 1;
    }
    return app.exec();
}
