#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;

// One request result as it is recorded.
struct requestRecord
{
    QDateTime time;
    QString kind; // "READ", "WRITE" or "MACRO"
    QString desc;
    QString addr; // empty for a macro
    QString type; // the data type, or the macro's name
    QString raw; // the value read or written, or the macro's parameter text
    QString shown; // the value as the row shows it, with its unit
    QString plotted; // a read's shown value without its unit, for the trend
    bool ok = false;
    QString cause; // why it failed, empty when it did not
};

// Records request results to a CSV file (RFC 4180: fields quoted where
// needed, lines ended by CR LF; UTF-8 with a header row). Each result is
// written straight through to the system as one line, so a crash of the
// program loses nothing recorded before it. Only regular files are taken:
// a FIFO or a device could block the window or swallow the records. A write
// that fails (a full disk) ends the recording with the system's reason and
// leaves the file ending with its last whole line.
class csvRecorder : public QObject
{
    Q_OBJECT

public:
    explicit csvRecorder(QObject *parent = nullptr);
    ~csvRecorder() override;

    // Starts recording to path, replacing its content, after ending any
    // recording going on. On failure returns false and errorString() says
    // why; nothing is recorded then.
    bool start(const QString &path);
    void stop();

    bool isRecording() const { return device != nullptr; }
    QString fileName() const { return name; }
    QString errorString() const { return error; }

    // Writes one result; false (and the recording ended) when it failed.
    // Nothing happens while not recording.
    bool record(const requestRecord &result);

    static QStringList header();
    // One CSV line of the fields, with CR LF.
    static QString line(const QStringList &fields);
    // The time with milliseconds and the offset from UTC,
    // e.g. 2026-12-07T15:20:01.042+01:00.
    static QString isoTime(const QDateTime &time);

signals:
    void started(const QString &fileName);
    void stopped(const QString &fileName);
    // Writing failed; the recording has ended.
    void failed(const QString &fileName, const QString &reason);

private:
    bool writeLine(const QStringList &fields);

    std::unique_ptr<QIODevice> device;
    QString name;
    QString error;
};
