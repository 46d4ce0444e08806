#pragma once

#include "frameformat.h"

#include <QObject>
#include <QTcpServer>

#include <functional>
#include <memory>

class LogFile;
class RequestLog;

// The simulator as a TCP server; every connection gets a TcpSession with a
// frame format of its own (MBAP, or RTU or ASCII frames as a gateway passes
// them), in the clear or inside TLS.
class TcpLine : public QObject
{
    Q_OBJECT
public:
    using FormatMaker = std::function<std::unique_ptr<FrameFormat>()>;

    TcpLine(FormatMaker makeFormat, RequestLog &log, int frameGapMs, QObject *parent = nullptr);

    // Every connection speaks TLS: the simulator's certificate and key, and
    // the authorities whose certificates a client must present (PEM files).
    // Each handshake goes to tlsLog (borrowed) when it is open. Before
    // listen(); false with *error when a file does not serve.
    bool useTls(const QString &certificate, const QString &privateKey, const QString &authorities,
        LogFile &tlsLog, QString *error);
    // Port 0 lets the system choose one.
    bool listen(const QString &host, quint16 port, QString *error);
    // "host:port" as listening, the port being the actual one.
    QString name() const;

private:
    void acceptConnections();

    FormatMaker makeFormat;
    RequestLog &log;
    int frameGapMs;
    int connections = 0; // accepted so far
    std::unique_ptr<QTcpServer> server;
};
