#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vinylo::server {

struct ServerArguments {
    // Ports below 1024 need privileges on Linux; 800 is what clients expect.
    quint16 port = 800;
    bool help = false;
    // The media engine's audio output ("null" plays silently); empty: its own choice.
    QString audioOutput;
};

struct ParsedArguments {
    std::optional<ServerArguments> arguments;  // unset: `error` says why
    QString error;
};

// `arguments` as the program got them, the program's name first.
ParsedArguments ParseServerArguments(const QStringList& arguments);

// What --help prints.
QString ServerUsage();

}  // namespace vinylo::server
