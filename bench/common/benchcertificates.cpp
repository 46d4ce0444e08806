#include "benchcertificates.h"

#include <QProcess>
#include <QStringList>

namespace {

// Runs openssl in folder; false when it fails.
bool openssl(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral("openssl"), arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

} // namespace

bool makeBenchCertificates(const QString &folder)
{
    const QStringList key {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes"};
    if (!openssl(folder,
            QStringList {"req", "-x509"} + key
                + QStringList {
                    "-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=ca"}))
        return false;
    for (const QString name : {"server", "client"}) {
        if (!openssl(folder,
                QStringList {"req", "-new"} + key
                    + QStringList {"-keyout", name + ".key", "-out", name + ".csr", "-subj",
                        "/CN=" + name})
            || !openssl(folder,
                {"x509", "-req", "-in", name + ".csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                    "-set_serial", name == "server" ? "1" : "2", "-days", "2", "-out",
                    name + ".pem"}))
            return false;
    }
    return true;
}
