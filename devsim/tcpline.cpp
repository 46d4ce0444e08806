#include "tcpline.h"

#include "tcpsession.h"

#include <QHostAddress>

TcpLine::TcpLine(DeviceSimulator &simulator, RequestLog &log, QObject *parent)
    : QObject(parent)
    , simulator(simulator)
    , log(log)
{
    connect(&server, &QTcpServer::newConnection, this, &TcpLine::acceptConnections);
}

bool TcpLine::listen(const QString &host, quint16 port, QString *error)
{
    QHostAddress address;
    if (!address.setAddress(host)) {
        *error = QStringLiteral("\"%1\" is not an IP address").arg(host);
        return false;
    }
    if (!server.listen(address, port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(host)
                     .arg(port)
                     .arg(server.errorString());
        return false;
    }
    return true;
}

QString TcpLine::name() const
{
    return QStringLiteral("%1:%2").arg(server.serverAddress().toString()).arg(server.serverPort());
}

void TcpLine::acceptConnections()
{
    while (QTcpSocket *socket = server.nextPendingConnection())
        new TcpSession(socket, simulator, log, this);
}
