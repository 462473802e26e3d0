#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/message_kind.h"
#include "ui/report_list.h"

class QWidget;

namespace vinylo::platform {
class ServerSocket;
}

namespace vinylo::server {

class ChatLog;

// The registry of connected clients, which is nothing but the online-users
// list (超级列表框1): one row per connection in order of arrival. It handles
// the server socket's three events: greets a newcomer and announces it,
// dispatches arriving messages (chat and pictures are relayed here, the
// song-queue codes go to the song-queue handler), and tells everyone of a
// departure.
//
// A client is known by its address text, IP + ":" + port; every send is
// addressed by one built from a row's cells.
class ConnectionRegistry : public QObject {
    Q_OBJECT

public:
    enum Column { kUserColumn = 0, kIpColumn, kPortColumn, kLoginTimeColumn, kStateColumn };

    // "10", "49" and "76" arrive here with their payload and the sender's address.
    using SongQueueHandler = std::function<void(
        protocol::ClientKind kind, const std::string& payload, const QString& address)>;
    using Clock = std::function<QDateTime()>;

    // The columns of the online-users list, in order, with their widths.
    static std::vector<ui::ReportList::Column> Columns();
    // The texts of the 状态 cell.
    static QString NormalState();  // "正常"
    static QString MutedState();   // "禁言"

    ConnectionRegistry(platform::ServerSocket& socket, ui::ReportList& onlineUsers,
                       ChatLog& chatLog, QWidget* operatorInput, QObject* parent = nullptr);

    void SetSongQueueHandler(SongQueueHandler handler);
    void SetClock(Clock clock);

    // One message (GBK bytes) to one client; nothing for an unknown address.
    void SendToClient(const QString& address, std::string_view text);
    // The message to every listed client, top to bottom, sender included.
    void BroadcastToAll(std::string_view text);
    // The first row whose address equals `address`.
    std::optional<int> FindUserRow(const QString& address) const;
    // IP + ":" + port of a row (":" when the row does not exist).
    QString AddressOfRow(int row) const;
    // Whether the row of `address` has the 状态 "禁言": its chat and
    // pictures are then not relayed.
    bool IsMuted(const QString& address) const;
    // Closes the connection. Its leave steps follow from the event loop, also
    // when no connection backs the address any more, so the row never stays.
    void Disconnect(const QString& address);

private:
    void OnClientEntered(const QString& address);
    void OnClientLeft(const QString& address);
    void OnDataArrived(const QString& address, const QByteArray& block);
    void RelayChatText(const QString& address, std::string_view payload);
    void RelayPictureShare(std::string_view payload);
    std::string EntryOfRow(int row) const;
    void ReturnFocusToOperatorInput();

    platform::ServerSocket& socket_;
    ui::ReportList& onlineUsers_;  // 超级列表框1
    ChatLog& chatLog_;             // 超级编辑框2
    QWidget* operatorInput_;       // 超级编辑框3
    SongQueueHandler songQueue_;
    Clock clock_;
};

}  // namespace vinylo::server
