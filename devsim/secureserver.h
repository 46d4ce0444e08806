#pragma once

#include <QSslConfiguration>
#include <QTcpServer>

class LogFile;
class QSslSocket;

// A TCP server whose connections speak TLS 1.2 or 1.3: it presents its
// certificate, requires the client's and verifies it against its
// authorities. Each handshake is written to the TLS log, when open: the
// role the client's certificate carries in the Modbus role extension, or
// why the handshake failed (also noted on standard error).
class SecureServer : public QTcpServer
{
    Q_OBJECT
public:
    // The Modbus/TCP Security role extension of a client certificate.
    static constexpr const char *RoleOid = "1.3.6.1.4.1.50316.802.1";

    // The configuration of the PEM files; false with *error when a file
    // cannot be read or holds no certificate or key.
    static bool configure(const QString &certificate, const QString &privateKey,
        const QString &authorities, QSslConfiguration *configuration, QString *error);

    SecureServer(const QSslConfiguration &configuration, LogFile &log, QObject *parent = nullptr);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void accepted(QSslSocket *socket);
    void refused(QSslSocket *socket, const QString &reason);

    QSslConfiguration configuration;
    LogFile &log;
};
