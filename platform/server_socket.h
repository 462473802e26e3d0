#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace vinylo::platform {

class PacedConnection;

// The server's listening socket and its connections. Every peer is known by
// its address text, IPv4 dotted decimal + ":" + port, exactly as accepted.
//
// Data arrival is one block: whatever is readable at that moment, as the
// protocol reads it. Sends are paced per peer (see PacedConnection); a peer
// whose queue passes the bound is disconnected and reported as leaving,
// nobody else is affected.
//
// clientLeft is always raised from the event loop, never from inside a call
// into this object, so a handler that is sending to many peers is never
// re-entered by the departure of one of them.
class ServerSocket : public QObject {
    Q_OBJECT

public:
    // A peer that falls this far behind is given up. At one message per
    // 50 ms, a quarter of a megabyte is minutes of chat.
    static constexpr qint64 kDefaultMaxPendingBytes = 256 * 1024;

    explicit ServerSocket(QObject* parent = nullptr,
                          qint64 maxPendingBytes = kDefaultMaxPendingBytes);
    ~ServerSocket() override;

    // Listens on every local IPv4 address; port 0 picks a free one.
    bool Listen(quint16 port);
    QString ErrorString() const;
    quint16 Port() const;

    // Queues the bytes for the peer as one message. False when the address
    // has no connection (nothing happens) or the peer was just given up.
    bool Send(const QString& address, const QByteArray& bytes);

    // Closes the connection; clientLeft follows from the event loop.
    void Disconnect(const QString& address);

    bool IsConnected(const QString& address) const;
    int ConnectionCount() const;
    // Bytes waiting for the peer (0 for an unknown address).
    qint64 PendingBytes(const QString& address) const;

signals:
    void clientEntered(const QString& address);
    void dataArrived(const QString& address, const QByteArray& bytes);
    void clientLeft(const QString& address);
    // Raised before the clientLeft of a peer that was given up for being slow.
    void slowPeerDropped(const QString& address, qint64 pendingBytes);

private:
    struct Peer {
        QTcpSocket* socket = nullptr;
        PacedConnection* paced = nullptr;
    };

    void AcceptPending();
    void Accept(QTcpSocket* socket);
    void ReadBlock(const QString& address);
    enum class Close { Gracefully, AtOnce };
    void Drop(const QString& address, Close how);

    QTcpServer server_;
    qint64 maxPendingBytes_;
    QHash<QString, Peer> peers_;
};

// IPv4 dotted decimal + ":" + port (an IPv4-mapped IPv6 peer reads as IPv4).
QString PeerAddressText(const QTcpSocket& socket);

}  // namespace vinylo::platform
