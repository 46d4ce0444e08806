#pragma once

#include <QString>
#include <QTemporaryDir>

// Certificates and keys for TLS tests (EC P-256, PEM), made with the openssl
// command in a folder of their own:
//   ca.pem                            the authority of both ends
//   server.pem, server.key            the server at 127.0.0.1, signed by ca
//   client.pem, client.key            a client whose certificate carries the
//                                     Modbus role extension (role "Operator")
//   plain-client.pem, -.key           a client without a role
//   other-ca.pem                      another authority, with
//   other-server.pem, -.key           a server and
//   other-client.pem, -.key           a client of its own
//   expired-server.pem                the server's key, a certificate that
//                                     expired before it was valid
class TestCertificates
{
public:
    // Makes them all; false with errorString() when openssl fails.
    bool make();
    QString errorString() const { return failure; }
    QString path(const QString &name) const { return folder.filePath(name); }
    // The simulator's TLS options with the server's files:
    // "--tls server.pem server.key ca.pem".
    QStringList simulatorOptions() const;
    // A driver's TLS options with the client's files:
    // "--tls --cert client.pem --key client.key --ca ca.pem".
    QStringList driverOptions() const;

private:
    bool openssl(const QStringList &arguments);
    bool authority(const QString &name, const QString &subject);
    bool leaf(const QString &name, const QString &authority, const QString &subject,
        const QStringList &extensions, int days = 30, const QString &keyOf = QString());

    QTemporaryDir folder;
    QString failure;
    int serial = 1;
};
