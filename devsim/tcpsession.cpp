#include "tcpsession.h"

#include "devicesimulator.h"
#include "requestlog.h"

#include <QTextStream>

TcpSession::TcpSession(
    QTcpSocket *socket, DeviceSimulator &simulator, RequestLog &log, QObject *parent)
    : QObject(parent)
    , socket(socket)
    , simulator(simulator)
    , log(log)
    , scheduler(
          [this](const QByteArray &bytes) {
              this->socket->write(bytes);
              this->socket->flush(); // out now, not on the next turn of the event loop
          },
          [this] { dropConnection(); })
{
    // Modbus frames are short and one master has one request out at a time:
    // small buffers cost it nothing and bound what a connection can hold.
    constexpr int StreamBufferBytes = 16 * 1024;
    socket->setParent(this);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, StreamBufferBytes);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, StreamBufferBytes);
    socket->setReadBufferSize(StreamBufferBytes);
    connect(socket, &QTcpSocket::readyRead, this, &TcpSession::readSocket);
    // Replies that went out make room for the requests left waiting.
    connect(socket, &QTcpSocket::bytesWritten, this, &TcpSession::readSocket);
    connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    readSocket();
}

qint64 TcpSession::waitingBytes() const
{
    return socket->bytesToWrite() + scheduler.pendingBytes();
}

void TcpSession::readSocket()
{
    constexpr int HeaderBytes = 7; // MBAP header with the unit
    while (waitingBytes() < MaxWaitingBytes && socket->state() == QAbstractSocket::ConnectedState) {
        if (buffer.size() < HeaderBytes)
            buffer.append(socket->read(HeaderBytes - buffer.size()));
        if (buffer.size() < HeaderBytes)
            return;
        const int length
            = (static_cast<quint8>(buffer.at(4)) << 8) | static_cast<quint8>(buffer.at(5));
        if (length < 2 || length > 254) {
            // Without a sound length field the stream cannot be cut any more.
            buffer.append(socket->readAll());
            log.writeFrame(buffer);
            log.writeReply(QByteArray());
            QTextStream(stderr) << "qelDevSim: bad MBAP length " << length << ", connection closed"
                                << Qt::endl;
            buffer.clear();
            dropConnection();
            return;
        }
        buffer.append(socket->read(6 + length - buffer.size()));
        if (buffer.size() < 6 + length)
            return;
        const QByteArray frame = buffer;
        buffer.clear();
        handleFrame(frame);
    }
}

void TcpSession::handleFrame(const QByteArray &frame)
{
    log.writeFrame(frame);
    const int unit = static_cast<quint8>(frame.at(6));
    const DeviceSimulator::Outcome outcome = simulator.handleTcp(unit, frame.mid(7));
    const bool answer = outcome.answer && !outcome.drop;
    const QByteArray reply = answer ? replyFrame(frame, outcome) : QByteArray();
    // Logged before anything goes out: a master that has its reply finds the line.
    log.writeReply(ReplyScheduler::sentPart(reply, outcome.faults));
    if (outcome.drop)
        scheduler.scheduleClose(outcome.faults.delayMs);
    else if (answer)
        scheduler.schedule(reply, outcome.faults);
}

QByteArray TcpSession::replyFrame(
    const QByteArray &request, const DeviceSimulator::Outcome &outcome)
{
    int transaction
        = (static_cast<quint8>(request.at(0)) << 8) | static_cast<quint8>(request.at(1));
    if (outcome.faults.transaction == -1)
        transaction = (transaction - 1) & 0xFFFF;
    else if (outcome.faults.transaction >= 0)
        transaction = outcome.faults.transaction;
    const int protocol = outcome.faults.protocol >= 0 ? outcome.faults.protocol : 0;
    const int length = outcome.reply.size() + 1;
    QByteArray reply;
    reply.append(static_cast<char>(transaction >> 8));
    reply.append(static_cast<char>(transaction & 0xFF));
    reply.append(static_cast<char>(protocol >> 8));
    reply.append(static_cast<char>(protocol & 0xFF));
    reply.append(static_cast<char>(length >> 8));
    reply.append(static_cast<char>(length & 0xFF));
    reply.append(static_cast<char>(outcome.address));
    reply.append(outcome.reply);
    return reply;
}

void TcpSession::dropConnection()
{
    scheduler.clear();
    socket->abort();
    deleteLater();
}
