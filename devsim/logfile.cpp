#include "logfile.h"

#include <QTextStream>

bool LogFile::open(const QString &path, QString *error)
{
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

void LogFile::writeLine(const QByteArray &line)
{
    if (!file.isOpen())
        return;
    const QByteArray bytes = line + '\n';
    if ((file.write(bytes) != bytes.size() || !file.flush()) && !failed) {
        failed = true;
        QTextStream(stderr) << "qelDevSim: cannot write " << file.fileName() << ": "
                            << file.errorString() << Qt::endl;
    }
}
