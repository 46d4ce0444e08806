#pragma once

#include "logfile.h"

#include <QString>
#include <QVector>

// Every macro a device accepted, one line each, flushed at once:
//   "write code=44 spec=1 params=1 25185 25699"  (function 16 at register 0)
//   "read code=226 spec=1 params="               (function 0x41)
// Numbers are decimal.
class MacroLog
{
public:
    bool open(const QString &path, QString *error);
    void writeMacro(
        const char *kind, int code, int specification, const QVector<quint16> &parameters);

    static QString line(
        const char *kind, int code, int specification, const QVector<quint16> &parameters);

private:
    LogFile file;
};
