#pragma once

#include <QFile>
#include <QString>

// One log of the simulator: lines written and flushed one by one. The first
// line the file does not take is reported on standard error with the system's
// reason; the run goes on.
class LogFile
{
public:
    bool open(const QString &path, QString *error);
    bool isOpen() const { return file.isOpen(); }
    void writeLine(const QByteArray &line);

private:
    QFile file;
    bool failed = false;
};
