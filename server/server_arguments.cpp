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

// The value of "--name VALUE" or "--name=VALUE" at arguments[i] (i moves past
// it); unset when arguments[i] is another argument. A missing value reads as
// an empty one.
std::optional<QString> OptionValue(const QStringList& arguments, qsizetype& i, QLatin1String name) {
    const QString& argument = arguments[i];
    if (argument == name)
        return i + 1 < arguments.size() ? arguments[++i] : QString();
    if (argument.startsWith(name) && argument.mid(name.size()).startsWith(QLatin1Char('=')))
        return argument.mid(name.size() + 1);
    return std::nullopt;
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
        if (const auto output = OptionValue(arguments, i, QLatin1String("--audio-output"))) {
            if (output->trimmed().isEmpty())
                return {std::nullopt, QStringLiteral("--audio-output needs a name, e.g. null")};
            parsed.audioOutput = output->trimmed();
            continue;
        }
        const auto portText = OptionValue(arguments, i, QLatin1String("--port"));
        if (!portText) {
            return {std::nullopt, QStringLiteral("unknown argument: ") + argument};
        }
        if (portText->isEmpty()) {
            return {std::nullopt, QStringLiteral("--port needs a number")};
        }
        const auto port = ParsePort(*portText);
        if (!port) {
            return {std::nullopt, QStringLiteral("not a port number (0 to 65535): ") + *portText};
        }
        parsed.port = *port;
    }
    return {parsed, {}};
}

QString ServerUsage() {
    return QStringLiteral(
        "Usage: vinylo_server [--port N] [--audio-output NAME]\n"
        "\n"
        "Vinylo's song-request server: keeps the chat room, queues the requested\n"
        "songs and plays them.\n"
        "\n"
        "  --port N    TCP port to listen on, on every IPv4 address (default 800;\n"
        "              0 picks a free port)\n"
        "  --audio-output NAME\n"
        "              the media engine's audio output (libmpv's \"ao\"), e.g.\n"
        "              pulse, pipewire, alsa; null plays silently with real timing.\n"
        "              Default: the engine's own choice; without a sound device the\n"
        "              songs play silently and the server says so\n"
        "  -h, --help  show this text\n"
        "\n"
        "Without a display (no DISPLAY or WAYLAND_DISPLAY, and no QT_QPA_PLATFORM)\n"
        "the server runs on Qt's offscreen platform: it serves and plays, unseen.\n");
}

}  // namespace vinylo::server
