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
    socket->setParent(this);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &TcpSession::readSocket);
    connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    readSocket();
}

void TcpSession::readSocket()
{
    buffer.append(socket->readAll());
    while (buffer.size() >= 7) {
        const int length
            = (static_cast<quint8>(buffer.at(4)) << 8) | static_cast<quint8>(buffer.at(5));
        if (length < 2 || length > 254) {
            // Without a sound length field the stream cannot be cut any more.
            log.writeFrame(buffer);
            log.writeReply(QByteArray());
            QTextStream(stderr) << "qelDevSim: bad MBAP length " << length << ", connection closed"
                                << Qt::endl;
            buffer.clear();
            dropConnection();
            return;
        }
        if (buffer.size() < 6 + length)
            return;
        const QByteArray frame = buffer.left(6 + length);
        buffer.remove(0, 6 + length);
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
