#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

// A serial bus made of pseudo-terminals: the line a master opens and the
// line a device opens, joined by a relay thread that copies every byte from
// one to the other as soon as it comes, and at the same moment onto a third
// line, the tap, where a listener hears both sides.
//
// The master's and the device's lines start in raw mode; the tap keeps the
// terminal's defaults (line editing and echo), so a listener that does not
// set its line up before bytes come echoes them back, and the relay records
// whatever comes back from the tap.
class PtyBus
{
public:
    PtyBus();
    ~PtyBus(); // stops the relay and closes every line
    PtyBus(const PtyBus &) = delete;
    PtyBus &operator=(const PtyBus &) = delete;

    // Makes the three lines and starts the relay; false with errorString().
    bool start();
    QString errorString() const { return failure; }

    QString masterLine() const { return masterPath; }
    QString deviceLine() const { return devicePath; }
    QString tapLine() const { return tapPath; }

    // Hands the tap's bytes over in batches: everything that came within ms
    // of the first byte of a batch goes out at once, as USB adapters do; 0
    // (the default) passes every byte on at once.
    void setTapBatching(int ms);
    // Bytes only the listener hears: noise on its part of the line.
    void sendToTap(const QByteArray &bytes);
    // Everything that came back out of the tap: what a listener wrote or
    // its line echoed.
    QByteArray fromTap() const;
    // Bytes copied between master and device so far.
    qint64 relayed() const { return relayedBytes; }
    // Closes the tap's pseudo-terminal: the listener's line goes away.
    void closeTap();
    // The tap's terminal settings as they are now (its termios bytes).
    QByteArray tapSettings() const;

private:
    struct Line
    {
        int master = -1;
        int slave = -1; // kept open, so the line lives while its user closes and reopens it
    };
    bool openLine(Line *line, QString *path, bool raw);
    void relay();
    void copy(int from, int to);
    void toTap(const char *bytes, int count);
    void flushTap();
    void closeLine(Line *line);

    Line master;
    Line device;
    Line tap;
    QString masterPath;
    QString devicePath;
    QString tapPath;
    QString failure;
    int control[2] = {-1, -1}; // wakes the relay: 's' stop, 'c' close the tap
    std::thread thread;
    mutable std::mutex lock; // guards what follows
    QByteArray tapPending;
    qint64 tapDueMs = -1;
    int batchingMs = 0;
    QByteArray cameBack;
    std::atomic<qint64> relayedBytes {0};
};
