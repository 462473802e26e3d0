#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>

class QTcpSocket;

namespace vinylo::platform {

// One peer's outgoing side. The protocol has no framing, so a receiver reads
// whatever is pending as one message; messages are kept apart by time alone:
// each one is written only when at least kMinimumGap has passed since the
// previous write and the previous one has left our buffers. Messages wait in
// a queue meanwhile, in the order they were sent. The queue is bounded in
// bytes (our queue plus what the socket still holds): a peer that stops
// reading must not make the program grow without limit.
class PacedConnection : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 kMinimumGapNs = 50'000'000;

    // `socket` must be connected; this object does not own it.
    PacedConnection(QTcpSocket* socket, qint64 maxPendingBytes, QObject* parent = nullptr);

    // Queues one message. False when it does not fit under the bound: the
    // caller gives up on this peer. A message always fits when nothing is
    // pending, so one large message still reaches a peer that keeps up.
    bool Enqueue(const QByteArray& message);

    // Bytes queued here plus bytes the socket has not handed to the system.
    qint64 PendingBytes() const;

    // Forgets everything not yet written.
    void Discard();

private:
    void WriteNext();
    void OnBytesWritten();

    QTcpSocket* socket_;
    qint64 maxPendingBytes_;
    std::deque<QByteArray> queue_;
    qint64 queuedBytes_ = 0;
    bool writing_ = false;
    QElapsedTimer sinceLastWrite_;
    QTimer gapTimer_;
};

}  // namespace vinylo::platform
