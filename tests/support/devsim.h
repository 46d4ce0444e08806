#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The device simulator qelDevSim as a test fixture: started on loopback TCP
// with a port the system chooses, or on a new pseudo-terminal, with its
// request log, reply log, macro log and register dumps in a temporary folder
// of its own.
// Extra options (see devsim/README.md) choose devices, registers and faults.
class DevSim
{
public:
    explicit DevSim(const QStringList &options = {}); // extra qelDevSim options
    ~DevSim(); // stops the simulator
    bool startTcp(); // listens on 127.0.0.1, system-chosen port
    bool startRtu(); // on a new pseudo-terminal
    // RTU on an existing serial device (or pseudo-terminal slave) with extra
    // line options such as {"--baud", "9600", "--parity", "E"}.
    bool startSerial(const QString &device, const QStringList &lineOptions = {});
    quint16 tcpPort() const;
    QString ptyPath() const; // slave side, e.g. /dev/pts/7
    QStringList requestLog() const; // every frame received so far, in order,
                                    // as upper-case hex bytes "01 03 00 00 00 01 84 0A"
    // Line N: the bytes sent for line N of requestLog(), in the same form, or
    // "-" when no reply went out.
    QStringList replyLog() const;
    // Every connection a master opened so far, in order: "connection N from
    // 127.0.0.1:PORT" (the request and reply logs above leave them out).
    QStringList connectionLog() const;
    quint16 holding(int address) const; // current holding register content
    quint16 input(int address) const;
    void stop();

    // Every macro accepted so far: "write code=44 spec=1 params=1 2 3",
    // "read code=226 spec=1 params=".
    QStringList macroLog() const;
    // Every TLS handshake so far: "accepted HOST:PORT role=ROLE" or
    // "refused HOST:PORT: REASON".
    QStringList tlsLog() const;
    // What the simulator wrote on standard error (notes on ignored frames, errors).
    QByteArray errorOutput() const;
    // Why the last start failed; empty after a successful start.
    QString startError() const { return failure; }
    bool isRunning() const;
    // Exit status of the stopped simulator (-1 while running or never started).
    int exitCode() const { return lastExitCode; }

private:
    bool start(const QStringList &lineOptions);
    QString path(const char *name) const;
    static QStringList readLines(const QString &file);
    static quint16 readWord(const QString &file, int address);

    QStringList options;
    QTemporaryDir folder;
    std::unique_ptr<QProcess> process;
    quint16 port = 0;
    QString pty;
    QString failure;
    int lastExitCode = -1;
};
