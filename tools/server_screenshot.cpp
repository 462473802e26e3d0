// Renders the server window to a PNG, with a few loopback clients chatting,
// so its look can be checked without a display:
//   QT_QPA_PLATFORM=offscreen vinylo_server_screenshot window.png
#include <QApplication>
#include <QTcpSocket>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/server_socket.h"
#include "protocol/client_messages.h"
#include "protocol/gbk.h"
#include "server/server_window.h"
#include "ui/report_list.h"

namespace {

std::string Gbk(const char* utf8) {
    return vinylo::protocol::Utf8ToGbk(utf8);
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

    vinylo::server::ServerWindow window;
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
        QTimer::singleShot(600 + 400 * i, &app, [&clients, &names, &lines, i] {
            vinylo::protocol::ChatTextFields chat{"http://127.0.0.1/avatar.png", Gbk(names[i]),
                                                  "127.0.0.1", Gbk(lines[i])};
            const std::string message = vinylo::protocol::BuildChatText(chat);
            clients[static_cast<size_t>(i)]->write(message.data(),
                                                   static_cast<qint64>(message.size()));
        });
    }
    QTimer::singleShot(2200, &app, [&] {
        // Rows as the song queue will show them.
        vinylo::ui::ReportList* queue = window.songQueue();
        const char* songs[][3] = {{"阿杰", "晴天", "周杰伦"}, {"Lily", "小幸运", "田馥甄"}};
        for (const auto& song : songs) {
            const int row = queue->AppendRow();
            for (int c = 0; c < 3; ++c)
                queue->SetCellText(row, c, QString::fromUtf8(song[c]));
            queue->SetCellText(row, 3, QStringLiteral("http://127.0.0.1/song.mp3"));
        }
        const bool saved = window.grab().save(file, "PNG");
        std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
        QApplication::exit(saved ? 0 : 1);
    });
    return app.exec();
}
