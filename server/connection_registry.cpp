#include "server/connection_registry.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextEdit>
#include <QWidget>

#include "platform/gbk_text.h"
#include "platform/server_socket.h"
#include "protocol/message.h"
#include "protocol/relay.h"
#include "protocol/server_messages.h"
#include "protocol/split.h"
#include "protocol/wire_texts.h"
#include "server/chat_log.h"
#include "server/clock_text.h"

namespace vinylo::server {
namespace {

QString FromGbk(std::string_view text) {
    return platform::FromGbk(text);
}
std::string ToGbk(const QString& text) {
    return platform::ToGbk(text);
}

}  // namespace

std::vector<ui::ReportList::Column> ConnectionRegistry::Columns() {
    return {{QStringLiteral("用户"), 52},
            {QStringLiteral("IP地址"), 100},
            {QStringLiteral("端口"), 45},
            {QStringLiteral("登陆时间"), 120},
            {QStringLiteral("状态"), 50}};
}

QString ConnectionRegistry::NormalState() {
    return QStringLiteral("正常");
}

QString ConnectionRegistry::MutedState() {
    return QStringLiteral("禁言");
}

ConnectionRegistry::ConnectionRegistry(platform::ServerSocket& socket, ui::ReportList& onlineUsers,
                                       ChatLog& chatLog, QWidget* operatorInput, QObject* parent)
    : QObject(parent),
      socket_(socket),
      onlineUsers_(onlineUsers),
      chatLog_(chatLog),
      operatorInput_(operatorInput),
      clock_([] { return QDateTime::currentDateTime(); }) {
    connect(&socket_, &platform::ServerSocket::clientEntered, this,
            &ConnectionRegistry::OnClientEntered);
    connect(&socket_, &platform::ServerSocket::clientLeft, this, &ConnectionRegistry::OnClientLeft);
    connect(&socket_, &platform::ServerSocket::dataArrived, this,
            &ConnectionRegistry::OnDataArrived);
}

void ConnectionRegistry::SetSongQueueHandler(SongQueueHandler handler) {
    songQueue_ = std::move(handler);
}

void ConnectionRegistry::SetClock(Clock clock) {
    clock_ = std::move(clock);
}

void ConnectionRegistry::SendToClient(const QString& address, std::string_view text) {
    socket_.Send(address, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void ConnectionRegistry::BroadcastToAll(std::string_view text) {
    const int rows = onlineUsers_.RowCount();
    for (int row = 0; row < rows; ++row) {
        SendToClient(AddressOfRow(row), text);
    }
}

std::optional<int> ConnectionRegistry::FindUserRow(const QString& address) const {
    const int rows = onlineUsers_.RowCount();
    for (int row = 0; row < rows; ++row) {
        if (AddressOfRow(row) == address)
            return row;
    }
    return std::nullopt;
}

QString ConnectionRegistry::AddressOfRow(int row) const {
    return onlineUsers_.CellText(row, kIpColumn) + QLatin1Char(':') +
           onlineUsers_.CellText(row, kPortColumn);
}

bool ConnectionRegistry::IsMuted(const QString& address) const {
    const auto row = FindUserRow(address);
    return row && onlineUsers_.CellText(*row, kStateColumn) == MutedState();
}

void ConnectionRegistry::Disconnect(const QString& address) {
    if (socket_.IsConnected(address)) {
        socket_.Disconnect(address);
        return;
    }
    // Nothing will report this address leaving. Posted after any leave that
    // is already on its way, so the steps run once.
    QMetaObject::invokeMethod(
        this,
        [this, address] {
            if (FindUserRow(address))
                OnClientLeft(address);
        },
        Qt::QueuedConnection);
}

std::string ConnectionRegistry::EntryOfRow(int row) const {
    return protocol::MakeUserEntry(ToGbk(onlineUsers_.CellText(row, kUserColumn)),
                                   ToGbk(AddressOfRow(row)));
}

void ConnectionRegistry::OnClientEntered(const QString& address) {
    const std::string addressText = ToGbk(address);
    const auto parts = protocol::Split(addressText, protocol::wire::kAddressPortSeparator);
    const int row = onlineUsers_.AppendRow();
    onlineUsers_.SetCellText(row, kIpColumn, FromGbk(protocol::PieceAt(parts, 1)));
    onlineUsers_.SetCellText(row, kPortColumn, FromGbk(protocol::PieceAt(parts, 2)));
    onlineUsers_.SetCellText(row, kLoginTimeColumn, LoginTimeText(clock_()));
    onlineUsers_.SetCellText(row, kStateColumn, NormalState());
    const int number = onlineUsers_.RowCount();
    onlineUsers_.SetCellText(row, kUserColumn, FromGbk(protocol::AssignedUserName(number)));

    // The socket layer keeps these apart on the wire; nothing waits here.
    SendToClient(address, protocol::BuildNameAssigned(number));
    SendToClient(address, protocol::BuildYourAddress(addressText));
    const int rows = onlineUsers_.RowCount();
    for (int other = 0; other < rows; ++other) {
        SendToClient(address, protocol::BuildUserPresent(EntryOfRow(other)));
    }

    const auto own = FindUserRow(address);
    const std::string name = own ? ToGbk(onlineUsers_.CellText(*own, kUserColumn)) : std::string();
    const std::string entry =
        protocol::BuildUserPresent(protocol::MakeUserEntry(name, addressText));
    for (int other = 0; other < rows - 1; ++other) {
        SendToClient(AddressOfRow(other), entry);
    }
}

void ConnectionRegistry::OnClientLeft(const QString& address) {
    std::string name;
    if (const auto row = FindUserRow(address)) {
        name = ToGbk(onlineUsers_.CellText(*row, kUserColumn));
        onlineUsers_.DeleteRow(*row);
    }
    BroadcastToAll(protocol::BuildUserGone(protocol::MakeUserEntry(name, ToGbk(address))));
}

void ConnectionRegistry::OnDataArrived(const QString& address, const QByteArray& block) {
    // A block without a code, or with a code nobody knows (two messages read
    // as one block among them), is dropped without a word.
    const auto message = protocol::ParseMessage(
        std::string_view(block.constData(), static_cast<size_t>(block.size())));
    if (!message)
        return;
    const auto kind = protocol::ClientKindFromCode(message->code);
    if (!kind)
        return;
    switch (*kind) {
        case protocol::ClientKind::ChatText:
            // A muted user's chat and pictures stop here; requests still count.
            if (!IsMuted(address))
                RelayChatText(address, message->payload);
            return;
        case protocol::ClientKind::PictureShare:
            if (!IsMuted(address))
                RelayPictureShare(message->payload);
            return;
        case protocol::ClientKind::SongRequest:
        case protocol::ClientKind::RepeatSongRequest:
        case protocol::ClientKind::CutSongRequest:
            if (songQueue_)
                songQueue_(*kind, message->payload, address);
            return;
        case protocol::ClientKind::PictureFile:
            return;
    }
}

void ConnectionRegistry::RelayChatText(const QString& address, std::string_view payload) {
    // A payload that lacks one of its markers is not relayed: reading the
    // missing pieces as empty would rename the sender to nothing.
    const auto relay = protocol::RelayChatText(payload);
    if (!relay)
        return;
    BroadcastToAll(
        protocol::Frame(relay->chatLinePayload, protocol::CodeOf(protocol::ServerKind::ChatLine)));

    const std::string addressText = ToGbk(address);
    std::string oldName;
    if (const auto row = FindUserRow(address)) {
        oldName = ToGbk(onlineUsers_.CellText(*row, kUserColumn));
        onlineUsers_.SetCellText(*row, kUserColumn, FromGbk(relay->nickname));
    }
    BroadcastToAll(
        protocol::BuildNameChanged(protocol::MakeUserEntry(oldName, addressText),
                                   protocol::MakeUserEntry(relay->nickname, addressText)));

    chatLog_.AppendChatLog(FromGbk(relay->logHeader), ChatLog::kRelayHeaderColour,
                           FromGbk(relay->logBody));
    ReturnFocusToOperatorInput();
}

void ConnectionRegistry::RelayPictureShare(std::string_view payload) {
    const auto line = protocol::RelayPictureShare(payload);
    if (!line)
        return;
    BroadcastToAll(protocol::Frame(*line, protocol::CodeOf(protocol::ServerKind::PictureLine)));
}

void ConnectionRegistry::ReturnFocusToOperatorInput() {
    // The operator's reply box gets the focus after each relayed line, unless
    // the operator is typing somewhere else (the announcement, the name).
    QWidget* focused = QApplication::focusWidget();
    const auto* textEdit = qobject_cast<QTextEdit*>(focused);
    const auto* lineEdit = qobject_cast<QLineEdit*>(focused);
    const bool typingElsewhere =
        focused != operatorInput_ &&
        ((textEdit && !textEdit->isReadOnly()) || (lineEdit && !lineEdit->isReadOnly()));
    if (!typingElsewhere && operatorInput_ != nullptr) {
        operatorInput_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace vinylo::server
