#include "secureserver.h"

#include "logfile.h"

#include <QFile>
#include <QSslCertificateExtension>
#include <QSslKey>
#include <QSslSocket>
#include <QTextStream>

namespace {

// The role of the extension's value, a DER UTF8String; empty when it holds
// none.
QString roleOf(const QSslCertificate &certificate)
{
    const QList<QSslCertificateExtension> extensions = certificate.extensions();
    for (const QSslCertificateExtension &extension : extensions) {
        if (extension.oid() != QLatin1String(SecureServer::RoleOid))
            continue;
        const QByteArray der = extension.value().toByteArray();
        if (der.size() >= 2 && der.at(0) == 0x0C && static_cast<quint8>(der.at(1)) < 0x80
            && der.size() == 2 + der.at(1))
            return QString::fromUtf8(der.mid(2));
        return QString::fromUtf8(der);
    }
    return QString();
}

QString peerName(const QSslSocket *socket)
{
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

bool readFile(const QString &path, QByteArray *content, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    *content = file.read(1 << 20);
    return true;
}

} // namespace

bool SecureServer::configure(const QString &certificate, const QString &privateKey,
    const QString &authorities, QSslConfiguration *configuration, QString *error)
{
    QByteArray content;
    if (!readFile(certificate, &content, error))
        return false;
    const QList<QSslCertificate> chain = QSslCertificate::fromData(content, QSsl::Pem);
    if (chain.isEmpty()) {
        *error = QStringLiteral("%1 holds no certificate").arg(certificate);
        return false;
    }
    if (!readFile(privateKey, &content, error))
        return false;
    QSslKey key;
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Ec, QSsl::Rsa, QSsl::Dsa}) {
        key = QSslKey(content, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key.isNull())
            break;
    }
    if (key.isNull()) {
        *error = QStringLiteral("%1 holds no private key").arg(privateKey);
        return false;
    }
    if (!readFile(authorities, &content, error))
        return false;
    const QList<QSslCertificate> trusted = QSslCertificate::fromData(content, QSsl::Pem);
    if (trusted.isEmpty()) {
        *error = QStringLiteral("%1 holds no certificate").arg(authorities);
        return false;
    }
    *configuration = QSslConfiguration::defaultConfiguration();
    configuration->setLocalCertificateChain(chain);
    configuration->setPrivateKey(key);
    configuration->setCaCertificates(trusted);
    configuration->setPeerVerifyMode(QSslSocket::VerifyPeer);
    configuration->setProtocol(QSsl::TlsV1_2OrLater);
    return true;
}

SecureServer::SecureServer(const QSslConfiguration &configuration, LogFile &log, QObject *parent)
    : QTcpServer(parent)
    , configuration(configuration)
    , log(log)
{ }

void SecureServer::incomingConnection(qintptr descriptor)
{
    auto *socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    // Without Nagle's algorithm from the first byte: a reply must not wait for
    // the acknowledgement of the session tickets sent after the handshake.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSslConfiguration(configuration);
    connect(socket, &QSslSocket::encrypted, this, [this, socket] { accepted(socket); });
    connect(socket, QOverload<const QList<QSslError> &>::of(&QSslSocket::sslErrors), this,
        [this, socket](const QList<QSslError> &errors) {
            QStringList reasons;
            for (const QSslError &error : errors)
                reasons.append(error.errorString());
            refused(socket, reasons.join(QStringLiteral("; ")));
        });
    connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] {
        if (!socket->isEncrypted())
            refused(socket, socket->errorString());
    });
    socket->startServerEncryption();
    addPendingConnection(socket);
}

void SecureServer::accepted(QSslSocket *socket)
{
    const QString role = roleOf(socket->peerCertificate());
    log.writeLine(QStringLiteral("accepted %1 role=%2")
                      .arg(peerName(socket), role.isEmpty() ? QStringLiteral("-") : role)
                      .toUtf8());
}

void SecureServer::refused(QSslSocket *socket, const QString &reason)
{
    // A refusal is told once, however many signals bring it.
    if (socket->property("refused").toBool())
        return;
    socket->setProperty("refused", true);
    const QString line = QStringLiteral("refused %1: %2").arg(peerName(socket), reason);
    log.writeLine(line.toUtf8());
    QTextStream(stderr) << "qelDevSim: TLS handshake " << line << Qt::endl;
}
