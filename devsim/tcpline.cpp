#include "tcpline.h"

#include "requestlog.h"
#include "secureserver.h"
#include "tcpsession.h"

#include <QHostAddress>

TcpLine::TcpLine(FormatMaker makeFormat, RequestLog &log, int frameGapMs, QObject *parent)
    : QObject(parent)
    , makeFormat(std::move(makeFormat))
    , log(log)
    , frameGapMs(frameGapMs)
    , server(std::make_unique<QTcpServer>())
{ }

bool TcpLine::useTls(const QString &certificate, const QString &privateKey,
    const QString &authorities, LogFile &tlsLog, QString *error)
{
    QSslConfiguration configuration;
    if (!SecureServer::configure(certificate, privateKey, authorities, &configuration, error))
        return false;
    server = std::make_unique<SecureServer>(configuration, tlsLog);
    return true;
}

bool TcpLine::listen(const QString &host, quint16 port, QString *error)
{
    QHostAddress address;
    if (!address.setAddress(host)) {
        *error = QStringLiteral("\"%1\" is not an IP address").arg(host);
        return false;
    }
    connect(server.get(), &QTcpServer::newConnection, this, &TcpLine::acceptConnections);
    if (!server->listen(address, port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(host)
                     .arg(port)
                     .arg(server->errorString());
        return false;
    }
    return true;
}

QString TcpLine::name() const
{
    return QStringLiteral("%1:%2")
        .arg(server->serverAddress().toString())
        .arg(server->serverPort());
}

void TcpLine::acceptConnections()
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        log.writeConnection(++connections,
            QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()));
        new TcpSession(socket, makeFormat(), log, frameGapMs, this);
    }
}
