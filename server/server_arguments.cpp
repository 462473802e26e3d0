#include "server/server_arguments.h"

namespace vinylo::server {
namespace {

std::optional<quint16> ParsePort(const QString& text) {
    bool ok = false;
    const uint value = text.toUInt(&ok, 10);
    if (!ok || value > 65535)
        return std::nullopt;
    return static_cast<quint16>(value);
}

}  // namespace

ParsedArguments ParseServerArguments(const QStringList& arguments) {
    ServerArguments parsed;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.help = true;
            continue;
        }
        QString portText;
        if (argument == QLatin1String("--port")) {
            if (i + 1 >= arguments.size())
                return {std::nullopt, QStringLiteral("--port needs a number")};
            portText = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--port="))) {
            portText = argument.mid(7);
        } else {
            return {std::nullopt, QStringLiteral("unknown argument: ") + argument};
        }
        const auto port = ParsePort(portText);
        if (!port) {
            return {std::nullopt, QStringLiteral("not a port number (0 to 65535): ") + portText};
        }
        parsed.port = *port;
    }
    return {parsed, {}};
}

QString ServerUsage() {
    return QStringLiteral(
        "Usage: vinylo_server [--port N]\n"
        "\n"
        "Vinylo's song-request server: keeps the chat room, queues the requested\n"
        "songs and plays them.\n"
        "\n"
        "  --port N    TCP port to listen on, on every IPv4 address (default 800;\n"
        "              0 picks a free port)\n"
        "  -h, --help  show this text\n"
        "\n"
        "Without a display (no DISPLAY or WAYLAND_DISPLAY, and no QT_QPA_PLATFORM)\n"
        "the server runs on Qt's offscreen platform: it serves and plays, unseen.\n");
}

}  // namespace vinylo::server
