#include "platform/paced_connection.h"

#include <QTcpSocket>

namespace vinylo::platform {

PacedConnection::PacedConnection(QTcpSocket* socket, qint64 maxPendingBytes, QObject* parent)
    : QObject(parent), socket_(socket), maxPendingBytes_(maxPendingBytes) {
    gapTimer_.setSingleShot(true);
    gapTimer_.setTimerType(Qt::PreciseTimer);
    connect(&gapTimer_, &QTimer::timeout, this, &PacedConnection::WriteNext);
    // A write that the system could not take at once is finished later; the
    // next message waits for it so the two never reach the peer together.
    connect(socket_, &QTcpSocket::bytesWritten, this, &PacedConnection::OnBytesWritten);
}

bool PacedConnection::Enqueue(const QByteArray& message) {
    const qint64 pending = PendingBytes();
    if (pending > 0 && pending + message.size() > maxPendingBytes_) {
        return false;
    }
    queue_.push_back(message);
    queuedBytes_ += message.size();
    if (!gapTimer_.isActive()) {
        WriteNext();
    }
    return true;
}

qint64 PacedConnection::PendingBytes() const {
    return queuedBytes_ + socket_->bytesToWrite();
}

void PacedConnection::Discard() {
    queue_.clear();
    queuedBytes_ = 0;
    gapTimer_.stop();
}

void PacedConnection::OnBytesWritten() {
    // When the system took the rest of a large message only now, the gap to
    // the next one counts from here: the peer may be reading that tail now.
    if (!writing_ && socket_->bytesToWrite() == 0 && sinceLastWrite_.isValid()) {
        sinceLastWrite_.start();
    }
    WriteNext();
}

void PacedConnection::WriteNext() {
    if (writing_ || queue_.empty() || gapTimer_.isActive() || socket_->bytesToWrite() > 0) {
        return;
    }
    if (sinceLastWrite_.isValid()) {
        const qint64 remainingNs = kMinimumGapNs - sinceLastWrite_.nsecsElapsed();
        if (remainingNs > 0) {
            gapTimer_.start(static_cast<int>((remainingNs + 999'999) / 1'000'000));
            return;
        }
    }
    const QByteArray message = std::move(queue_.front());
    queue_.pop_front();
    queuedBytes_ -= message.size();
    // Hand the bytes to the system now, so the gap is measured between the
    // moments the peer can see them, not between two calls into our buffer.
    // The socket may report progress from inside flush(); that must not
    // start the next message.
    writing_ = true;
    socket_->write(message);
    socket_->flush();
    writing_ = false;
    sinceLastWrite_.start();
    if (!queue_.empty()) {
        gapTimer_.start(static_cast<int>(kMinimumGapNs / 1'000'000));
    }
}

}  // namespace vinylo::platform
