#include "tcpsession.h"

TcpSession::TcpSession(QTcpSocket *socket, std::unique_ptr<FrameFormat> format, RequestLog &log,
    int frameGapMs, QObject *parent)
    : QObject(parent)
    , socket(socket)
    , scheduler(
          [this](const QByteArray &bytes) {
              this->socket->write(bytes);
              this->socket->flush(); // out now, not on the next turn of the event loop
          },
          [this](bool finish) {
              if (finish)
                  finishConnection();
              else
                  dropConnection();
          })
    , requests(std::move(format), log, scheduler, frameGapMs, [this] { dropConnection(); })
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
    // At most one frame is completed before the replies waiting are counted
    // again.
    while (waitingBytes() < MaxWaitingBytes && socket->state() == QAbstractSocket::ConnectedState) {
        const int size = requests.nextPiece();
        const QByteArray piece = size > 0 ? socket->read(size) : socket->readAll();
        if (piece.isEmpty() && size > 0)
            return;
        requests.receive(piece);
    }
}

void TcpSession::finishConnection()
{
    // The replies written go out first, then the end of the stream.
    scheduler.clear();
    socket->disconnectFromHost();
}

void TcpSession::dropConnection()
{
    scheduler.clear();
    socket->abort();
    deleteLater();
}
