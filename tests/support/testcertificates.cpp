#include "testcertificates.h"

#include <QFile>
#include <QProcess>

bool TestCertificates::openssl(const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        failure = "openssl " + arguments.join(' ') + ": " + process.readAllStandardError();
        return false;
    }
    return true;
}

bool TestCertificates::authority(const QString &name, const QString &subject)
{
    return openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
        "-nodes", "-keyout", name + ".key", "-out", name + ".pem", "-days", "30", "-subj",
        "/CN=" + subject});
}

bool TestCertificates::leaf(const QString &name, const QString &authority, const QString &subject,
    const QStringList &extensions, int days, const QString &keyOf)
{
    const QString key = (keyOf.isEmpty() ? name : keyOf) + ".key";
    QStringList request {"req", "-new", "-nodes", "-out", name + ".csr", "-subj", "/CN=" + subject};
    if (keyOf.isEmpty())
        request << "-newkey"
                << "ec"
                << "-pkeyopt"
                << "ec_paramgen_curve:P-256"
                << "-keyout" << key;
    else
        request << "-key" << key;
    QFile extensionFile(path(name + ".ext"));
    if (!extensionFile.open(QIODevice::WriteOnly)
        || extensionFile.write((extensions.join('\n') + '\n').toUtf8()) < 0)
        return false;
    extensionFile.close();
    return openssl(request)
        && openssl({"x509", "-req", "-in", name + ".csr", "-CA", authority + ".pem", "-CAkey",
            authority + ".key", "-set_serial", QString::number(serial++), "-days",
            QString::number(days), "-extfile", name + ".ext", "-out", name + ".pem"});
}

bool TestCertificates::make()
{
    if (!folder.isValid()) {
        failure = QStringLiteral("no temporary folder");
        return false;
    }
    const QStringList server {"subjectAltName=IP:127.0.0.1"};
    return authority("ca", "qel test authority") && authority("other-ca", "another authority")
        && leaf("server", "ca", "127.0.0.1", server)
        && leaf("client", "ca", "engineer", {"1.3.6.1.4.1.50316.802.1=ASN1:UTF8String:Operator"})
        && leaf("plain-client", "ca", "visitor", {"keyUsage=digitalSignature"})
        && leaf("other-server", "other-ca", "127.0.0.1", server)
        && leaf("other-client", "other-ca", "stranger", {"keyUsage=digitalSignature"})
        && leaf("expired-server", "ca", "127.0.0.1", server, -1, "server");
}

QStringList TestCertificates::simulatorOptions() const
{
    return {"--tls", path("server.pem"), path("server.key"), path("ca.pem")};
}

QStringList TestCertificates::driverOptions() const
{
    return {
        "--tls", "--cert", path("client.pem"), "--key", path("client.key"), "--ca", path("ca.pem")};
}
