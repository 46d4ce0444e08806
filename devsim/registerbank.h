#pragma once

#include <QFile>
#include <QMap>
#include <QString>
#include <QVector>
#include <memory>

// The 65536 holding and 65536 input registers of the simulated devices.
//
// Register images on disk are the words one after another, low-order byte
// first, the format the register driver saves. When a dump file is set, the
// whole holding (or input) image is saved there at once (a regular file is
// replaced whole, a FIFO or device written into) and every later change of
// the holding registers is written through to a regular file before the
// reply goes out, so a reader finds what a master wrote as soon as it has
// its answer.
class RegisterBank
{
public:
    static constexpr int Count = 65536;

    RegisterBank();
    ~RegisterBank();

    quint16 holding(int address) const { return holdingWords.at(address); }
    quint16 input(int address) const { return inputWords.at(address); }

    // Initial content; words beyond register 65535 are refused.
    bool setHolding(int start, const QVector<quint16> &words);
    bool setInput(int start, const QVector<quint16> &words);
    // Loads an image file at a start register; false with *error on failure,
    // and for anything but a regular file.
    bool loadHoldingFile(int start, const QString &path, QString *error);
    bool loadInputFile(int start, const QString &path, QString *error);

    bool setHoldingDump(const QString &path, QString *error);
    bool writeInputDump(const QString &path, QString *error) const;

    // A master's write: stores and writes through to the dump file.
    void writeHolding(int start, const QVector<quint16> &words);

    // Makes a register a counter: each read reply that carries it is followed
    // by a step of its content (modulo 65536), so the Nth read serves the
    // initial content plus N - 1 steps. A counting holding register's steps
    // are written through to the dump file; the input dump keeps the start.
    void addCounter(bool input, int address, int step);
    // After a read of count registers from start: steps the counters among them.
    void stepCounters(bool input, int start, int count);

    static QByteArray imageBytes(const QVector<quint16> &words);

private:
    static bool store(QVector<quint16> &target, int start, const QVector<quint16> &words);
    static bool loadFile(QVector<quint16> &target, int start, const QString &path, QString *error);

    QVector<quint16> holdingWords;
    QVector<quint16> inputWords;
    std::unique_ptr<QFile> holdingDump;
    QMap<int, int> holdingCounters; // register -> step
    QMap<int, int> inputCounters;
};
