#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// Stand-in drivers in a temporary working directory: qelDrvModbus and
// qelDrvMacro there record their arguments instead of talking to a device.
// The directory becomes the current one, where the client looks first.
class standInDrivers
{
public:
    standInDrivers()
        : previous(QDir::currentPath())
    {
        const QString script = QStringLiteral(QEL_STANDIN_DIR "/recorder.sh");
        ready = dir.isValid() && QFile::copy(script, dir.filePath("qelDrvModbus"))
            && QFile::copy(script, dir.filePath("qelDrvMacro")) && QDir::setCurrent(dir.path());
    }
    ~standInDrivers() { QDir::setCurrent(previous); }

    bool ready = false;

    // Every run so far: the driver's name and then its arguments.
    QList<QStringList> calls() const
    {
        QList<QStringList> list;
        QFile file(dir.filePath("calls.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return list;
        QStringList call;
        for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
            if (line == ".") {
                list << call;
                call.clear();
            } else {
                call << line;
            }
        }
        return list;
    }

    // What the drivers print and their exit status from now on.
    void answer(const QByteArray &output, int status = 0)
    {
        write("reply.txt", output);
        write("status.txt", QByteArray::number(status));
    }

    // The drivers end by this signal from now on.
    void dieBy(const char *signal) { write("status.txt", QByteArray("signal ") + signal); }

    QString path(const QString &name) const { return dir.filePath(name); }

private:
    void write(const char *name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(QLatin1String(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QTemporaryDir dir;
    QString previous;
};
