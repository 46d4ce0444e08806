#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// The HTML fragments the client appends to its log for every driver run and
// file command. Each line starts with the time as "yyyy-MM-dd HH:mm:ss.zzz";
// the status fragment ends the line.
class logLines
{
    Q_DECLARE_TR_FUNCTIONS(logLines)

public:
    static QString timeText(const QDateTime &time = QDateTime::currentDateTime());

    // "<b>" + green "OK" + "</b><br>", or the same with a red "ERROR".
    static QString status(bool ok);
    // The status of a failed request followed by its cause: "<b>" + red
    // "ERROR" + "</b> " + cause + "<br>"; without a cause as status(false).
    static QString failed(const QString &cause);

    // The line of a write before its status; value is written as it goes to
    // the driver.
    static QString write(
        const QString &time, const QString &type, const QString &addr, const QString &value);
    // The line of a macro before its status.
    static QString macro(const QString &time, const QString &name);
    // The line of a read before its status; value is the raw text read, or "?".
    static QString read(
        const QString &time, const QString &type, const QString &addr, const QString &value);
    // The line of "Open file" or "Save file" before its status.
    static QString openFile(const QString &time, const QString &path);
    static QString saveFile(const QString &time, const QString &path);
    // The line of "Record file" (a CSV recording starts) before its status.
    static QString recordFile(const QString &time, const QString &path);
    // The lines of "Import map" and "Export map" before their status.
    static QString importMap(const QString &time, const QString &path);
    static QString exportMap(const QString &time, const QString &path);

    // The trace lines of a verbose run: the driver's command line, the sent
    // and the received frame, and a line the driver wrote on standard error.
    static QString commandLine(const QString &text);
    static QString tx(const QString &frame);
    static QString rx(const QString &frame);
    static QString driverText(const QString &line);

    // A line that says why a request was not started, in red.
    static QString refused(const QString &time, const QString &reason);
};
