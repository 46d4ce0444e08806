#pragma once

#include "deviceprofile.h"
#include "faultplan.h"
#include "macroanswers.h"
#include "posixline.h"

#include <QString>
#include <QVector>

// Everything the command line of qelDevSim chooses.
struct SimConfig
{
    enum class Line { Tcp, Pty, Serial };
    // How requests and replies are framed: MBAP over TCP and RTU on a serial
    // line unless chosen; RTU or ASCII over TCP as a gateway passes them on.
    enum class Framing { LineDefault, Rtu, Ascii };

    // TLS on TCP: the simulator's certificate and key and the authorities of
    // the clients' certificates (PEM files).
    struct Tls
    {
        QString certificate;
        QString privateKey;
        QString authorities;

        bool isOn() const { return !certificate.isEmpty(); }
    };

    // Initial register content: words, or an image file when file is set.
    struct RegisterInit
    {
        bool input = false;
        int start = 0;
        QVector<quint16> words;
        QString file;
    };

    // Initial coils or discrete inputs.
    struct BitInit
    {
        bool discrete = false;
        int start = 0;
        QVector<bool> bits;
    };

    // A register that steps on each read (see RegisterBank::addCounter).
    struct Counter
    {
        bool input = false;
        int address = 0;
        int step = 1;
    };

    Line line = Line::Tcp;
    QString host = QStringLiteral("127.0.0.1");
    quint16 port = 1502;
    PosixLine::SerialSettings serial;
    int frameGapMs = 50;
    Framing framing = Framing::LineDefault;
    Tls tls;

    QVector<DeviceProfile> devices;
    bool answerBroadcast = false;
    bool macros = true;
    MacroAnswers answers;
    FaultPlan faults;

    bool exitWithParent = false;
    bool demo = false;
    QVector<RegisterInit> registers; // applied in order, after the demo image
    QVector<Counter> counters;
    QVector<BitInit> bits; // applied in order
    QString requestLog;
    QString replyLog;
    QString macroLog;
    QString tlsLog;
    QString dumpHolding;
    QString dumpInput;
};
