#pragma once

#include <QObject>
#include <QTcpServer>

class DeviceSimulator;
class RequestLog;

// The simulator as a Modbus TCP server; every connection gets a TcpSession.
class TcpLine : public QObject
{
    Q_OBJECT
public:
    TcpLine(DeviceSimulator &simulator, RequestLog &log, QObject *parent = nullptr);

    // Port 0 lets the system choose one.
    bool listen(const QString &host, quint16 port, QString *error);
    // "host:port" as listening, the port being the actual one.
    QString name() const;

private:
    void acceptConnections();

    DeviceSimulator &simulator;
    RequestLog &log;
    QTcpServer server;
};
