#include "platform/server_socket.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include "platform/paced_connection.h"

namespace vinylo::platform {
namespace {

// The system's buffer for one peer. Paced messages are small; a fixed size
// also stops the system from growing it for a peer that never reads.
constexpr int kSendBufferBytes = 64 * 1024;
constexpr int kListenBacklog = 128;
// A peer closed politely gets this long to take what is already written.
constexpr int kLingerMs = 5000;

}  // namespace

QString PeerAddressText(const QTcpSocket& socket) {
    const QHostAddress peer = socket.peerAddress();
    bool isIpv4 = false;
    const quint32 ipv4 = peer.toIPv4Address(&isIpv4);
    const QString ip = isIpv4 ? QHostAddress(ipv4).toString() : peer.toString();
    return ip + QLatin1Char(':') + QString::number(socket.peerPort());
}

ServerSocket::ServerSocket(QObject* parent, qint64 maxPendingBytes)
    : QObject(parent), maxPendingBytes_(maxPendingBytes) {
    server_.setListenBacklogSize(kListenBacklog);
    connect(&server_, &QTcpServer::newConnection, this, &ServerSocket::AcceptPending);
}

ServerSocket::~ServerSocket() {
    for (const Peer& peer : std::as_const(peers_)) {
        peer.socket->disconnect(this);
    }
}

bool ServerSocket::Listen(quint16 port) {
    return server_.listen(QHostAddress::AnyIPv4, port);
}

QString ServerSocket::ErrorString() const {
    return server_.errorString();
}

quint16 ServerSocket::Port() const {
    return server_.serverPort();
}

bool ServerSocket::Send(const QString& address, const QByteArray& bytes) {
    const auto it = peers_.constFind(address);
    if (it == peers_.constEnd()) {
        return false;
    }
    if (it->paced->Enqueue(bytes)) {
        return true;
    }
    const qint64 pending = it->paced->PendingBytes();
    emit slowPeerDropped(address, pending);
    Drop(address, Close::AtOnce);
    return false;
}

void ServerSocket::Disconnect(const QString& address) {
    Drop(address, Close::Gracefully);
}

bool ServerSocket::IsConnected(const QString& address) const {
    return peers_.contains(address);
}

int ServerSocket::ConnectionCount() const {
    return static_cast<int>(peers_.size());
}

qint64 ServerSocket::PendingBytes(const QString& address) const {
    const auto it = peers_.constFind(address);
    return it == peers_.constEnd() ? 0 : it->paced->PendingBytes();
}

void ServerSocket::AcceptPending() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        Accept(socket);
    }
}

void ServerSocket::Accept(QTcpSocket* socket) {
    socket->setParent(this);
    const QString address = PeerAddressText(*socket);
    if (socket->state() != QAbstractSocket::ConnectedState || peers_.contains(address)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Without this a small message waits for the peer's acknowledgement of
    // the previous one and can then leave together with the next.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    auto* paced = new PacedConnection(socket, maxPendingBytes_, socket);
    peers_.insert(address, Peer{socket, paced});
    connect(socket, &QTcpSocket::readyRead, this, [this, address] { ReadBlock(address); });
    connect(socket, &QTcpSocket::disconnected, this,
            [this, address] { Drop(address, Close::AtOnce); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, address, socket] {
        if (socket->state() != QAbstractSocket::ConnectedState) {
            Drop(address, Close::AtOnce);
        }
    });
    emit clientEntered(address);
}

void ServerSocket::ReadBlock(const QString& address) {
    const auto it = peers_.constFind(address);
    if (it == peers_.constEnd()) {
        return;
    }
    const QByteArray block = it->socket->readAll();
    if (!block.isEmpty()) {
        emit dataArrived(address, block);
    }
}

void ServerSocket::Drop(const QString& address, Close how) {
    const auto it = peers_.find(address);
    if (it == peers_.end()) {
        return;
    }
    QTcpSocket* socket = it->socket;
    it->paced->Discard();
    peers_.erase(it);
    socket->disconnect(this);
    if (how == Close::Gracefully && socket->state() == QAbstractSocket::ConnectedState) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kLingerMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        socket->disconnectFromHost();
    } else {
        socket->abort();
        socket->deleteLater();
    }
    QMetaObject::invokeMethod(
        this, [this, address] { emit clientLeft(address); }, Qt::QueuedConnection);
}

}  // namespace vinylo::platform
