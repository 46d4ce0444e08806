#pragma once

#include "busframer.h"
#include "busstatistics.h"
#include "transactiontracker.h"

#include <QString>

#include <memory>

class ListeningLine;
class TransactionOutput;

// One listening: reads the line as bytes arrive, cuts them into frames,
// pairs the frames into transactions and hands each one to the output as
// soon as it is complete, until the duration ends, a stop is requested or
// the line or the output fails.
class BusMonitor
{
public:
    struct Settings
    {
        bool ascii = false;
        int baudRate = 115200;
        char parity = 'N';
        int dataBits = 8;
        int stopBits = 1;
        int replyWindowMs = 1000;
        int durationSeconds = 0; // 0: until stopped
    };

    BusMonitor(const Settings &settings, ListeningLine &line, TransactionOutput &output);
    ~BusMonitor();

    // Listens; stopDescriptor (-1: none) is readable once a stop is
    // requested. True when the listening ended by the duration or a stop;
    // false with the message (markup) in *error when the line or the
    // output failed. Either way every frame held is decided and every
    // transaction handed over.
    bool run(int stopDescriptor, QString *error);

    const BusStatistics &statistics() const { return counts; }
    qint64 noiseBytes() const { return framer->noiseBytes(); }

private:
    // Hands over the transactions complete; false once the output failed.
    bool deliver(qint64 nowUs, QString *error);
    // Ends the listening: decides what is held and hands it over.
    bool conclude(QString *error);

    ListeningLine &line;
    TransactionOutput &output;
    TransactionTracker tracker;
    std::unique_ptr<BusFramer> framer; // hands its frames to the tracker
    BusStatistics counts;
    const qint64 durationUs;
};
