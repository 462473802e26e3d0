// Renders the server window to a PNG, with a few loopback clients chatting
// and requesting songs and one song playing, so its look can be checked
// without a display:
//   QT_QPA_PLATFORM=offscreen vinylo_server_screenshot window.png
#include <QApplication>
#include <QTcpSocket>
#include <QTextEdit>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/fake_player.h"
#include "platform/server_socket.h"
#include "protocol/client_messages.h"
#include "protocol/gbk.h"
#include "server/connection_registry.h"
#include "server/operator_commands.h"
#include "server/server_window.h"
#include "server/song_queue.h"
#include "ui/report_list.h"

namespace {

using vinylo::protocol::Utf8ToGbk;

struct Song {
    const char* requester;
    const char* title;
    const char* singer;
};

void Send(QTcpSocket& client, const std::string& message) {
    client.write(message.data(), static_cast<qint64>(message.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vinylo_server_screenshot FILE.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString file = QString::fromLocal8Bit(argv[1]);

    // A stand-in for the media engine: it "plays" what it is given.
    vinylo::platform::FakePlayer player;
    vinylo::server::ServerWindowOptions options;
    options.trayAvailable = false;
    options.player = &player;
    options.playbackTickMs = 3600 * 1000;  // started below, at a set moment
    vinylo::server::ServerWindow window(options);
    if (!window.serverSocket().Listen(0))
        return 1;
    window.show();

    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 3; ++i) {
        clients.push_back(std::make_unique<QTcpSocket>());
        clients.back()->connectToHost(QStringLiteral("127.0.0.1"), window.serverSocket().Port());
    }
    const char* names[] = {"小明", "阿杰", "Lily"};
    const char* lines[] = {"大家好，今晚听什么？", "来一首《晴天》吧", "同意！顺便点一首周杰伦的"};
    for (int i = 0; i < 3; ++i) {
        QTimer::singleShot(600 + 300 * i, &app, [&clients, &names, &lines, i] {
            const vinylo::protocol::ChatTextFields chat{"http://127.0.0.1/avatar.png",
                                                        Utf8ToGbk(names[i]), "127.0.0.1",
                                                        Utf8ToGbk(lines[i])};
            Send(*clients[static_cast<size_t>(i)], vinylo::protocol::BuildChatText(chat));
        });
    }
    const Song songs[] = {{"阿杰", "晴天", "周杰伦"},
                          {"Lily", "小幸运", "田馥甄"},
                          {"小明", "稻香", "周杰伦"},
                          {"阿杰", "平凡之路", "朴树"},
                          {"Lily", "后来", "刘若英"}};
    for (size_t i = 0; i < std::size(songs); ++i) {
        QTimer::singleShot(1600 + 120 * static_cast<int>(i), &app, [&, i] {
            const Song& song = songs[i];
            const std::string n = std::to_string(i + 1);
            const vinylo::protocol::SongRequestFields request{
                .coverUrl = "http://127.0.0.1/cover" + n + ".jpg",
                .nickname = Utf8ToGbk(song.requester),
                .playUrl = "http://127.0.0.1/song" + n + ".mp3",
                .title = Utf8ToGbk(song.title),
                .singer = Utf8ToGbk(song.singer)};
            Send(*clients[i % clients.size()], vinylo::protocol::BuildSongRequest(request));
        });
    }
    QTimer::singleShot(2600, &app, [&] {
        // The first request starts and has been playing for a while.
        window.queue().Tick();
        player.setDuration(269000);
        player.setPosition(83000);
        player.setState(vinylo::platform::Player::State::Playing);
        window.operatorInput()->setPlainText(QStringLiteral("欢迎来到今晚的点歌会"));
        window.operatorCommands().SendOperatorLine();
        window.onlineUsers()->SetCellText(2, vinylo::server::ConnectionRegistry::kStateColumn,
                                          vinylo::server::ConnectionRegistry::MutedState());
    });
    QTimer::singleShot(3200, &app, [&] {
        window.songQueue()->topLevelItem(1)->setSelected(true);
        const bool saved = window.grab().save(file, "PNG");
        std::fprintf(stderr, "%s %s (%d songs queued)\n", saved ? "wrote" : "could not write",
                     qPrintable(file), window.songQueue()->RowCount());
        QApplication::exit(saved ? 0 : 1);
    });
    return app.exec();
}
