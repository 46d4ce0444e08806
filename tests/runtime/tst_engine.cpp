// The Modbus engine against scripted peers: exact request bytes, every reply
// check with its error code and trace, time-outs, limits, line settings.

#include "driverconnection.h"
#include "engine/modbus.h"
#include "engine/modbuscontext.h"
#include "engine/rtusettings.h"
#include "enginecalls.h"
#include "enginepeer.h"
#include "ptyspeed.h"
#include "wireframe.h"

#include <QtTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The request that follows every row: one holding register at 0.
QByteArray followUpRequest(bool tcp, int address, int transactionId)
{
    if (tcp)
        return frameBytes(QString::asprintf("%02X %02X 00 00 00 06 %02X 03 00 00 00 01",
            transactionId >> 8, transactionId & 0xFF, address));
    return frameBytes(QString::asprintf("%02X 03 00 00 00 01 CRC", address));
}

QByteArray followUpReply(bool tcp, int address, int transactionId)
{
    if (tcp)
        return frameBytes(QString::asprintf("%02X %02X 00 00 00 05 %02X 03 02 00 2A",
            transactionId >> 8, transactionId & 0xFF, address));
    return frameBytes(QString::asprintf("%02X 03 02 00 2A CRC", address));
}

QString crcMessage(const QString &frameWithoutCrc, const QString &receivedCrc)
{
    const quint16 crc = WireFrame::crc16(frameBytes(frameWithoutCrc));
    const QByteArray received = frameBytes(receivedCrc);
    return QString::asprintf("ERROR CRC received 0x%0X != CRC calculated 0x%0X\n",
        unsigned(quint8(received[0]) << 8 | quint8(received[1])),
        unsigned((crc & 0xFF) << 8 | crc >> 8));
}

speed_t speedCode(int rate)
{
    switch (rate) {
    case 1200:
        return B1200;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 115200:
        return B115200;
    case 1000000:
        return B1000000;
    default:
        return B0;
    }
}

// A context connected to a scripted peer on either line.
class Line : public PeerLine
{
public:
    bool open(bool tcp, int address, int baudRate = 115200)
    {
        return PeerLine::open(tcp, address, [baudRate](const QString &device, int port) {
            return port != 0
                ? Modbus::newTcpContext("127.0.0.1", port)
                : Modbus::newRtuContext(device.toLocal8Bit().constData(), baudRate, 'N', 8, 1);
        });
    }
};

QStringList hexList(const QList<QByteArray> &frames)
{
    QStringList list;
    for (const QByteArray &frame : frames)
        list << QString::fromLatin1(frame.toHex(' ').toUpper());
    return list;
}

// What one engine call did: its result and errno, what it read, what it printed.
struct CallOutcome
{
    int result = 0;
    int error = 0;
    QString data;
    QString out;
    QString err;
};

// A peer that plays its steps on the line while the test makes engine calls.
class PeerSession
{
public:
    PeerSession(const Line &line, const QList<PeerStep> &steps)
    {
        if (!steps.isEmpty())
            peer.start(line.peer(), steps);
    }

    // Makes one call, with errno cleared before it and what it prints captured.
    CallOutcome run(const Line &line, const EngineCall &call)
    {
        CallOutcome outcome;
        OutputCapture capture;
        errno = 0;
        outcome.result = call(line.get(), &outcome.data);
        outcome.error = errno;
        capture.finish();
        outcome.out = capture.out();
        outcome.err = capture.err();
        return outcome;
    }

    // Waits for the end of the script; the requests the peer read.
    QList<QByteArray> finish() { return peer.finish(); }

private:
    ScriptedPeer peer;
};

// One call against a peer that plays its steps; *requests (when given) gets
// what the peer read.
CallOutcome callWithPeer(const Line &line, const QList<PeerStep> &steps, const EngineCall &call,
    QList<QByteArray> *requests = nullptr)
{
    PeerSession session(line, steps);
    const CallOutcome outcome = session.run(line, call);
    const QList<QByteArray> read = session.finish();
    if (requests)
        *requests = read;
    return outcome;
}

// A peer that reads the follow-up request, does what the test asks while the
// engine waits for the reply, then sends the follow-up reply.
class LateReply
{
public:
    LateReply(const Line &line, bool tcp, std::function<void()> meanwhile)
        : expected(followUpRequest(tcp, 1, 1))
        , thread([this, fd = line.peer(), tcp, meanwhile] {
            received = readBytes(fd, expected.size(), 5000);
            meanwhile();
            writeBytes(fd, followUpReply(tcp, 1, 1));
        })
    { }
    ~LateReply()
    {
        if (thread.joinable())
            thread.join();
    }

    // Waits for the peer; the request it read, and the one it expected.
    QByteArray finish()
    {
        thread.join();
        return received;
    }
    const QByteArray expected;

private:
    QByteArray received;
    std::thread thread;
};

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void rtuExchange_data();
    void rtuExchange() { checkExchange(false); }
    void tcpExchange_data();
    void tcpExchange() { checkExchange(true); }
    void bitAndObjectExchange_data();
    void bitAndObjectExchange();
    void quietWithoutDebug_data();
    void quietWithoutDebug();
    void timeouts_data();
    void timeouts();
    void cancelAndResponseTimeout_data();
    void cancelAndResponseTimeout();
    void replyBeyondFrameLength();
    void wholeReplyDeadline_data();
    void wholeReplyDeadline();
    void signalsDuringWait_data();
    void signalsDuringWait();
    void lineTakingNothing();
    void flushWithoutLine();
    void peerClosedConnection();
    void lineAfterAnExchange_data();
    void lineAfterAnExchange();
    void lineGoneAtItsFarEnd_data();
    void lineGoneAtItsFarEnd();
    void identificationVersionWithoutLength();
    void transactionIdentifierWraps();
    void nothingSentWithoutAddress();
    void sendFailureIsNoSuccess();
    void flushCounts_data();
    void flushCounts();
    void contextCreation_data();
    void contextCreation();
    void addressRanges_data();
    void addressRanges();
    void serialSettings_data();
    void serialSettings();
    void lineSettings_data() { serialSettings_data(); }
    void lineSettings();
    void serialSettingsRestoredAtClose();
    void deviceNames_data();
    void deviceNames();
    void connectionRefused();
    void connectTimeout();
    void errorTexts_data();
    void errorTexts();

private:
    void addExchangeColumns();
    void checkExchange(bool tcp);
};

void TestEngine::addExchangeColumns()
{
    QTest::addColumn<EngineCall>("call");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("request"); // empty: nothing may be sent
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("diagnostics"); // standard error in debug mode
    QTest::addColumn<QString>("extraOut"); // standard output after the byte trace
}

void TestEngine::rtuExchange_data()
{
    addExchangeColumns();
    using namespace Modbus;
    const QVector<uint16_t> twoWords {0x1234, 0xABCD};
    const QVector<uint16_t> macroParameters {0x0001, 0x0203};
    const QString readMacroRequest = "01 41 00 00 00 06 01 02 FE FD 03 02 00 01 02 03 FC FD CRC";

    QTest::newRow("read holding") << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
                                  << "01 03 04 12 34 AB CD CRC" << 2 << 0 << "1234 ABCD"
                                  << ""
                                  << "";
    QTest::newRow("read 125 holding")
        << readHolding(0, 125) << 1 << "01 03 00 00 00 7D CRC"
        << "01 03 FA " + wireWords(125, 0x0100) + " CRC" << 125 << 0 << wordsOut(125, 0x0100) << ""
        << "";
    QTest::newRow("read 126 holding: nothing sent")
        << readHolding(0, 126) << 1 << ""
        << "" << -1 << int(TooManyData) << ""
        << "ERROR Too many registers requested (126 > 125)\n"
        << "";
    QTest::newRow("read input") << readInput(0xFFFF, 1) << 17 << "11 04 FF FF 00 01 CRC"
                                << "11 04 02 80 01 CRC" << 1 << 0 << "8001"
                                << ""
                                << "";
    QTest::newRow("read 125 input")
        << readInput(10, 125) << 1 << "01 04 00 0A 00 7D CRC"
        << "01 04 FA " + wireWords(125, 0xFF80) + " CRC" << 125 << 0 << wordsOut(125, 0xFF80) << ""
        << "";
    QTest::newRow("read 126 input: nothing sent")
        << readInput(0, 126) << 1 << ""
        << "" << -1 << int(TooManyData) << ""
        << "ERROR Too many input registers requested (126 > 125)\n"
        << "";
    QTest::newRow("write") << writeRegisters(100, twoWords) << 1
                           << "01 10 00 64 00 02 04 12 34 AB CD CRC"
                           << "01 10 00 64 00 02 CRC" << 2 << 0 << ""
                           << ""
                           << "";
    QTest::newRow("write 123") << writeRegisters(0, wordVector(123, 0x0200)) << 247
                               << "F7 10 00 00 00 7B F6 " + wireWords(123, 0x0200) + " CRC"
                               << "F7 10 00 00 00 7B CRC" << 123 << 0 << ""
                               << ""
                               << "";
    QTest::newRow("write 124: nothing sent")
        << writeRegisters(0, wordVector(124, 0)) << 1 << ""
        << "" << -1 << int(TooManyData) << ""
        << "ERROR Trying to write to too many registers (124 > 123)\n"
        << "";
    QTest::newRow("exception 2") << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
                                 << "01 83 02 CRC" << -1 << int(IllegalDataAddress) << ""
                                 << "ERROR Illegal data address\n"
                                 << "";
    QTest::newRow("exception 11") << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
                                  << "01 83 0B CRC" << -1 << int(TargetFailedToRespond) << ""
                                  << "ERROR Target device failed to respond\n"
                                  << "";
    QTest::newRow("exception 12") << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
                                  << "01 83 0C CRC" << -1 << int(InvalidExceptionCode) << ""
                                  << "ERROR Invalid exception code\n"
                                  << "";
    QTest::newRow("exception of another function")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "01 84 02 CRC" << -1 << int(InvalidExceptionCode) << ""
        << "ERROR Invalid exception code\n"
        << "";
    QTest::newRow("exception to a write")
        << writeRegisters(100, twoWords) << 1 << "01 10 00 64 00 02 04 12 34 AB CD CRC"
        << "01 90 03 CRC" << -1 << int(IllegalDataValue) << ""
        << "ERROR Illegal data value\n"
        << "";
    QTest::newRow("wrong CRC") << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
                               << "01 03 04 12 34 AB CD 12 34" << -1 << int(InvalidCrc) << ""
                               << crcMessage("01 03 04 12 34 AB CD", "12 34") << "";
    QTest::newRow("reply from address 5")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "05 03 04 12 34 AB CD CRC" << -1 << int(ResponseNotFromRequestedSlave) << ""
        << "The responding slave 5 isn't the requested slave 1\n"
        << "Request for slave 5 ignored (not 1)\n";
    QTest::newRow("reply from address 0 to address 1")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "00 03 04 12 34 AB CD CRC" << -1 << int(ResponseNotFromRequestedSlave) << ""
        << "The responding slave 0 isn't the requested slave 1\n"
        << "";
    QTest::newRow("address 0 takes a reply from 7")
        << readHolding(100, 2) << 0 << "00 03 00 64 00 02 CRC"
        << "07 03 04 12 34 AB CD CRC" << 2 << 0 << "1234 ABCD"
        << ""
        << "";
    QTest::newRow("short reply")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "01 03 02 12 34 CRC" << -1 << int(InvalidData) << ""
        << "Message length not corresponding to the computed length (7 != 9)\n"
        << "";
    QTest::newRow("wrong function")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "01 04 04 12 34 AB CD CRC" << -1 << int(InvalidData) << ""
        << "Received function not corresponding to the request (0x4 != 0x3)\n"
        << "";
    QTest::newRow("write echoes another quantity")
        << writeRegisters(100, twoWords) << 1 << "01 10 00 64 00 02 04 12 34 AB CD CRC"
        << "01 10 00 64 00 01 CRC" << -1 << int(InvalidData) << ""
        << "Quantity not corresponding to the request (1 != 2)\n"
        << "";

    QTest::newRow("exception from another address: address checked first")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "05 83 02 CRC" << -1 << int(ResponseNotFromRequestedSlave) << ""
        << "The responding slave 5 isn't the requested slave 1\n"
        << "Request for slave 5 ignored (not 1)\n";
    QTest::newRow("exception with a wrong CRC: CRC checked first")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "01 83 02 00 00" << -1 << int(InvalidCrc) << "" << crcMessage("01 83 02", "00 00") << "";
    QTest::newRow("short reply of another function: length checked first")
        << readHolding(100, 2) << 1 << "01 03 00 64 00 02 CRC"
        << "01 04 02 12 34 CRC" << -1 << int(InvalidData) << ""
        << "Message length not corresponding to the computed length (7 != 9)\n"
        << "";
    QTest::newRow("negative start: nothing sent") << readHolding(-1, 1) << 1 << ""
                                                  << "" << -1 << EINVAL << ""
                                                  << ""
                                                  << "";
    QTest::newRow("start beyond 65535: nothing sent") << writeRegisters(0x10000, {1}) << 1 << ""
                                                      << "" << -1 << EINVAL << ""
                                                      << ""
                                                      << "";
    QTest::newRow("negative count: nothing sent") << readInput(0, -1) << 1 << ""
                                                  << "" << -1 << EINVAL << ""
                                                  << ""
                                                  << "";
    QTest::newRow("negative macro count: nothing sent")
        << EngineCall([](ModbusContext *context, QString *) {
               const uint16_t parameter = 0;
               return Modbus::writeMacro(context, 1, 1, -1, &parameter);
           })
        << 1 << ""
        << "" << -1 << EINVAL << ""
        << ""
        << "";
    QTest::newRow("read 0 registers") << readHolding(5, 0) << 1 << "01 03 00 05 00 00 CRC"
                                      << "01 03 00 CRC" << 0 << 0 << ""
                                      << ""
                                      << "";

    QTest::newRow("write macro") << writeMacro(0x0102, 3, macroParameters) << 1
                                 << "01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD CRC"
                                 << "01 10 00 00 00 06 CRC" << 6 << 0 << ""
                                 << ""
                                 << "";
    QTest::newRow("write macro sends the low byte of the specification")
        << writeMacro(0xFFFF, 0x1280, {}) << 1 << "01 10 00 00 00 04 08 FF FF 00 00 80 00 7F FF CRC"
        << "01 10 00 00 00 04 CRC" << 4 << 0 << ""
        << ""
        << "";
    QTest::newRow("write macro of 117 parameters")
        << writeMacro(0x0102, 3, wordVector(117, 0x0300)) << 1
        << "01 10 00 00 00 79 F2 01 02 FE FD 03 75 " + wireWords(117, 0x0300) + " FC 8A CRC"
        << "01 10 00 00 00 79 CRC" << 121 << 0 << ""
        << ""
        << "";
    QTest::newRow("write macro of 118 parameters: nothing sent")
        << writeMacro(0x0102, 3, wordVector(118, 0)) << 1 << ""
        << "" << -1 << int(TooManyData) << ""
        << "ERROR Trying to write to too many registers (122 > 121)\n"
        << "";
    QTest::newRow("read macro") << readMacro(0x0102, 3, macroParameters) << 1 << readMacroRequest
                                << "01 41 0C 01 02 FE FD 03 02 12 34 AB CD FC FD CRC" << 2 << 0
                                << "1234 ABCD"
                                << ""
                                << "";
    QTest::newRow("read macro answering no words")
        << readMacro(0x0102, 3, macroParameters) << 1 << readMacroRequest
        << "01 41 08 01 02 FE FD 03 00 FC FF CRC" << 0 << 0 << ""
        << ""
        << "";
    QTest::newRow("read macro: code complement differs")
        << readMacro(0x0102, 3, macroParameters) << 1 << readMacroRequest
        << "01 41 0C 01 02 FE FC 03 02 12 34 AB CD FC FD CRC" << -1 << int(InvalidData) << ""
        << "Macro negation not corresponding request (258 != 259)\n"
        << "";
    QTest::newRow("read macro: specification complement differs")
        << readMacro(0x0102, 3, macroParameters) << 1 << readMacroRequest
        << "01 41 0C 01 02 FE FD 03 02 12 34 AB CD FD FD CRC" << -1 << int(InvalidData) << ""
        << "Macro specification not corresponding request (3 != 2)\n"
        << "";
    QTest::newRow("read macro: count complement differs")
        << readMacro(0x0102, 3, macroParameters) << 1 << readMacroRequest
        << "01 41 0C 01 02 FE FD 03 02 12 34 AB CD FC FE CRC" << -1 << int(InvalidData) << ""
        << "Macro parameters not corresponding request (2 != 1)\n"
        << "";
    QTest::newRow("read macro: count beyond the byte count")
        << readMacro(0x0102, 3, macroParameters) << 1 << readMacroRequest
        << "01 41 0C 01 02 FE FD 03 03 12 34 AB CD FC FC CRC" << -1 << int(InvalidData) << ""
        << "Message length not corresponding to the computed length (17 != 19)\n"
        << "";
    QTest::newRow("read macro: exception")
        << readMacro(0x0102, 3, macroParameters) << 1 << readMacroRequest << "01 C1 01 CRC" << -1
        << int(IllegalFunction) << ""
        << "ERROR Illegal function\n"
        << "";
    QTest::newRow("read macro of 117 parameters")
        << readMacro(0x0102, 3, wordVector(117, 0x0300)) << 1
        << "01 41 00 00 00 79 01 02 FE FD 03 75 " + wireWords(117, 0x0300) + " FC 8A CRC"
        << "01 41 08 01 02 FE FD 03 00 FC FF CRC" << 0 << 0 << ""
        << ""
        << "";
    QTest::newRow("read macro of 118 parameters: nothing sent")
        << readMacro(0x0102, 3, wordVector(118, 0)) << 1 << ""
        << "" << -1 << int(TooManyData) << ""
        << "ERROR Trying to write to too many registers (122 > 121)\n"
        << "";

    const QString identification = "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50";
    const QString swapped = "42 41 44 43 46 45 48 47 4A 49 4C 4B 4E 4D 50 4F";
    for (int version = 1; version <= 4; ++version) {
        const int length = 8 + 2 * version;
        QTest::newRow(qPrintable(QString("identification version %1").arg(version)))
            << readIdentification(length + 1, version) << 1 << "01 11 CRC"
            << "01 11 " + identification.left(3 * length - 1) + " CRC" << length << 0
            << swapped.left(3 * length - 1) + " 00"
            << ""
            << "";
    }
    QTest::newRow("identification into a larger buffer")
        << readIdentification(17, 3) << 1 << "01 11 CRC"
        << "01 11 " + identification.left(3 * 14 - 1) + " CRC" << 14 << 0
        << swapped.left(3 * 14 - 1) + " 00 EE EE"
        << ""
        << "";
    QTest::newRow("identification buffer too small: nothing sent")
        << readIdentification(16, 4) << 1 << ""
        << "" << -1 << EINVAL << ""
        << ""
        << "";
    QTest::newRow("identification buffer of 0: nothing sent") << readIdentification(0, 1) << 1 << ""
                                                              << "" << -1 << EINVAL << ""
                                                              << ""
                                                              << "";
    QTest::newRow("identification: exception") << readIdentification(256, 1) << 1 << "01 11 CRC"
                                               << "01 91 01 CRC" << -1 << int(IllegalFunction) << ""
                                               << "ERROR Illegal function\n"
                                               << "";
}

void TestEngine::tcpExchange_data()
{
    addExchangeColumns();
    using namespace Modbus;
    const QVector<uint16_t> twoWords {0x1234, 0xABCD};
    const QString readRequest = "00 01 00 00 00 06 01 03 00 64 00 02";

    QTest::newRow("read holding") << readHolding(100, 2) << 1 << readRequest
                                  << "00 01 00 00 00 07 01 03 04 12 34 AB CD" << 2 << 0
                                  << "1234 ABCD"
                                  << ""
                                  << "";
    QTest::newRow("read 125 holding")
        << readHolding(0, 125) << 255 << "00 01 00 00 00 06 FF 03 00 00 00 7D"
        << "00 01 00 00 00 FD FF 03 FA " + wireWords(125, 0x7FF0) << 125 << 0
        << wordsOut(125, 0x7FF0) << ""
        << "";
    QTest::newRow("read 126 holding: nothing sent")
        << readHolding(0, 126) << 1 << ""
        << "" << -1 << int(TooManyData) << ""
        << "ERROR Too many registers requested (126 > 125)\n"
        << "";
    QTest::newRow("read input") << readInput(7, 1) << 1 << "00 01 00 00 00 06 01 04 00 07 00 01"
                                << "00 01 00 00 00 05 01 04 02 FF FE" << 1 << 0 << "FFFE"
                                << ""
                                << "";
    QTest::newRow("unit 7 answering unit 1")
        << readHolding(100, 2) << 1 << readRequest << "00 01 00 00 00 07 07 03 04 12 34 AB CD" << 2
        << 0 << "1234 ABCD"
        << ""
        << "";
    QTest::newRow("stale transaction identifier")
        << readHolding(100, 2) << 1 << readRequest << "00 00 00 00 00 07 01 03 04 12 34 AB CD" << -1
        << int(InvalidData) << ""
        << "Invalid transaction ID received 0x0 (not 0x1)\n"
        << "";
    QTest::newRow("wrong protocol identifier")
        << readHolding(100, 2) << 1 << readRequest << "00 01 00 01 00 07 01 03 04 12 34 AB CD" << -1
        << int(InvalidData) << ""
        << "Invalid protocol ID received 0x1 (not 0x0)\n"
        << "";
    QTest::newRow("stale exception: transaction checked first")
        << readHolding(100, 2) << 1 << readRequest << "00 02 00 00 00 03 01 83 02" << -1
        << int(InvalidData) << ""
        << "Invalid transaction ID received 0x2 (not 0x1)\n"
        << "";
    QTest::newRow("wrong protocol and short: protocol checked first")
        << readHolding(100, 2) << 1 << readRequest << "00 01 12 34 00 05 01 03 02 12 34" << -1
        << int(InvalidData) << ""
        << "Invalid protocol ID received 0x1234 (not 0x0)\n"
        << "";
    QTest::newRow("exception 2") << readHolding(100, 2) << 1 << readRequest
                                 << "00 01 00 00 00 03 01 83 02" << -1 << int(IllegalDataAddress)
                                 << ""
                                 << "ERROR Illegal data address\n"
                                 << "";
    QTest::newRow("short reply")
        << readHolding(100, 2) << 1 << readRequest << "00 01 00 00 00 05 01 03 02 12 34" << -1
        << int(InvalidData) << ""
        << "Message length not corresponding to the computed length (11 != 13)\n"
        << "";
    // The request fixes how much is read: a frame whose length field counts
    // more (an identification of a longer version) would pass cut short.
    QTest::newRow("length field counting more than the reply")
        << readHolding(100, 1) << 1 << "00 01 00 00 00 06 01 03 00 64 00 01"
        << "00 01 00 00 00 07 01 03 02 12 34" << -1 << int(InvalidData) << ""
        << "MBAP length 7 not corresponding to the received length 5\n"
        << "";
    QTest::newRow("wrong function")
        << readHolding(100, 2) << 1 << readRequest << "00 01 00 00 00 07 01 04 04 12 34 AB CD" << -1
        << int(InvalidData) << ""
        << "Received function not corresponding to the request (0x4 != 0x3)\n"
        << "";
    QTest::newRow("write") << writeRegisters(100, twoWords) << 1
                           << "00 01 00 00 00 0B 01 10 00 64 00 02 04 12 34 AB CD"
                           << "00 01 00 00 00 06 01 10 00 64 00 02" << 2 << 0 << ""
                           << ""
                           << "";
    QTest::newRow("write 123") << writeRegisters(0, wordVector(123, 0)) << 1
                               << "00 01 00 00 00 FD 01 10 00 00 00 7B F6 " + wireWords(123, 0)
                               << "00 01 00 00 00 06 01 10 00 00 00 7B" << 123 << 0 << ""
                               << ""
                               << "";
    QTest::newRow("write echoes another quantity")
        << writeRegisters(100, twoWords) << 1
        << "00 01 00 00 00 0B 01 10 00 64 00 02 04 12 34 AB CD"
        << "00 01 00 00 00 06 01 10 00 64 00 03" << -1 << int(InvalidData) << ""
        << "Quantity not corresponding to the request (3 != 2)\n"
        << "";
    QTest::newRow("write macro")
        << writeMacro(0x0102, 3, {0x0001, 0x0203}) << 1
        << "00 01 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD"
        << "00 01 00 00 00 06 01 10 00 00 00 06" << 6 << 0 << ""
        << ""
        << "";
    QTest::newRow("read macro")
        << readMacro(0x0102, 3, {0x0001, 0x0203}) << 1
        << "00 01 00 00 00 12 01 41 00 00 00 06 01 02 FE FD 03 02 00 01 02 03 FC FD"
        << "00 01 00 00 00 0F 01 41 0C 01 02 FE FD 03 02 12 34 AB CD FC FD" << 2 << 0 << "1234 ABCD"
        << ""
        << "";
    QTest::newRow("read macro: count complement differs")
        << readMacro(0x0102, 3, {}) << 1
        << "00 01 00 00 00 0E 01 41 00 00 00 04 01 02 FE FD 03 00 FC FF"
        << "00 01 00 00 00 0B 01 41 08 01 02 FE FD 03 00 FC FE" << -1 << int(InvalidData) << ""
        << "Macro parameters not corresponding request (0 != 1)\n"
        << "";
    QTest::newRow("identification") << readIdentification(11, 1) << 1 << "00 01 00 00 00 02 01 11"
                                    << "00 01 00 00 00 0C 01 11 30 31 32 33 34 35 36 37 38 39" << 10
                                    << 0 << "31 30 33 32 35 34 37 36 39 38 00"
                                    << ""
                                    << "";
}

// Functions 1, 2, 5, 6, 15 and 43/14: exact requests, the length of each
// reply by its rules, the echoes of writes and the objects' checks.
void TestEngine::bitAndObjectExchange_data()
{
    QTest::addColumn<bool>("tcp");
    addExchangeColumns();
    using namespace Modbus;
    const QString basic
        = "03 00 03 " + hexOf("qel") + " 01 02 " + hexOf("PM") + " 02 03 " + hexOf("3.0");
    const QString deviceIdRequest = "01 2B 0E 01 00 CRC";
    const QString coilsWrite = "01 0F 00 14 00 0A 02 CD 02 CRC";

    QTest::newRow("coils, a range ending inside a byte")
        << false << readBits(true, 0, 10) << 1 << "01 01 00 00 00 0A CRC"
        << "01 01 02 CD 02 CRC" << 10 << 0 << "1011001101"
        << ""
        << "";
    QTest::newRow("padding bits beyond the range are no data")
        << false << readBits(true, 0, 10) << 1 << "01 01 00 00 00 0A CRC"
        << "01 01 02 CD FE CRC" << 10 << 0 << "1011001101"
        << ""
        << "";
    QTest::newRow("discrete inputs")
        << false << readBits(false, 2, 3) << 7 << "07 02 00 02 00 03 CRC"
        << "07 02 01 03 CRC" << 3 << 0 << "110"
        << ""
        << "";
    QTest::newRow("2000 coils") << false << readBits(true, 0, 2000) << 1 << "01 01 00 00 07 D0 CRC"
                                << "01 01 FA" + QString(" 55").repeated(250) + " CRC" << 2000 << 0
                                << QString("10").repeated(1000) << ""
                                << "";
    QTest::newRow("2001 coils: nothing sent") << false << readBits(true, 0, 2001) << 1 << ""
                                              << "" << -1 << int(TooManyData) << ""
                                              << "ERROR Too many bits requested (2001 > 2000)\n"
                                              << "";
    QTest::newRow("no bits: nothing sent") << false << readBits(false, 0, 0) << 1 << ""
                                           << "" << -1 << EINVAL << ""
                                           << ""
                                           << "";
    QTest::newRow("coils with one byte too few")
        << false << readBits(true, 0, 10) << 1 << "01 01 00 00 00 0A CRC"
        << "01 01 01 CD CRC" << -1 << int(InvalidData) << ""
        << "Message length not corresponding to the computed length (6 != 7)\n"
        << "";
    QTest::newRow("coils with a byte too many")
        << false << readBits(true, 0, 8) << 1 << "01 01 00 00 00 08 CRC"
        << "01 01 02 CD 00 CRC" << -1 << int(InvalidData) << ""
        << "Message length not corresponding to the computed length (7 != 6)\n"
        << "";
    QTest::newRow("coil on") << false << writeCoil(7, true) << 1 << "01 05 00 07 FF 00 CRC"
                             << "01 05 00 07 FF 00 CRC" << 1 << 0 << ""
                             << ""
                             << "";
    QTest::newRow("coil off") << false << writeCoil(0xFFFF, false) << 1 << "01 05 FF FF 00 00 CRC"
                              << "01 05 FF FF 00 00 CRC" << 1 << 0 << ""
                              << ""
                              << "";
    QTest::newRow("coil echoed off") << false << writeCoil(7, true) << 1 << "01 05 00 07 FF 00 CRC"
                                     << "01 05 00 07 00 00 CRC" << -1 << int(InvalidData) << ""
                                     << "Value not corresponding to the request (0x0 != 0xFF00)\n"
                                     << "";
    QTest::newRow("coil echoed at another address")
        << false << writeCoil(7, true) << 1 << "01 05 00 07 FF 00 CRC"
        << "01 05 00 08 FF 00 CRC" << -1 << int(InvalidData) << ""
        << "Address not corresponding to the request (8 != 7)\n"
        << "";
    QTest::newRow("register") << false << writeRegister(100, 0xABCD) << 1 << "01 06 00 64 AB CD CRC"
                              << "01 06 00 64 AB CD CRC" << 1 << 0 << ""
                              << ""
                              << "";
    QTest::newRow("register echoed with another value")
        << false << writeRegister(100, 0xABCD) << 1 << "01 06 00 64 AB CD CRC"
        << "01 06 00 64 AB CC CRC" << -1 << int(InvalidData) << ""
        << "Value not corresponding to the request (0xABCC != 0xABCD)\n"
        << "";
    QTest::newRow("register: exception 2")
        << false << writeRegister(100, 1) << 1 << "01 06 00 64 00 01 CRC"
        << "01 86 02 CRC" << -1 << int(IllegalDataAddress) << ""
        << "ERROR Illegal data address\n"
        << "";
    QTest::newRow("coils") << false << writeCoils(20, "1011001101") << 1 << coilsWrite
                           << "01 0F 00 14 00 0A CRC" << 10 << 0 << ""
                           << ""
                           << "";
    QTest::newRow("coils echoed with another quantity")
        << false << writeCoils(20, "1011001101") << 1 << coilsWrite << "01 0F 00 14 00 09 CRC" << -1
        << int(InvalidData) << ""
        << "Quantity not corresponding to the request (9 != 10)\n"
        << "";
    QTest::newRow("coils echoed at another start")
        << false << writeCoils(20, "1011001101") << 1 << coilsWrite << "01 0F 00 15 00 0A CRC" << -1
        << int(InvalidData) << ""
        << "Address not corresponding to the request (21 != 20)\n"
        << "";
    QTest::newRow("1968 coils") << false << writeCoils(0, QString("1").repeated(1968)) << 1
                                << "01 0F 00 00 07 B0 F6" + QString(" FF").repeated(246) + " CRC"
                                << "01 0F 00 00 07 B0 CRC" << 1968 << 0 << ""
                                << ""
                                << "";
    QTest::newRow("1969 coils: nothing sent")
        << false << writeCoils(0, QString("1").repeated(1969)) << 1 << ""
        << "" << -1 << int(TooManyData) << ""
        << "ERROR Trying to write to too many bits (1969 > 1968)\n"
        << "";
    QTest::newRow("registers echoed at another start")
        << false << writeRegisters(100, {1, 2}) << 1 << "01 10 00 64 00 02 04 00 01 00 02 CRC"
        << "01 10 00 65 00 02 CRC" << -1 << int(InvalidData) << ""
        << "Address not corresponding to the request (101 != 100)\n"
        << "";

    QTest::newRow("basic objects")
        << false << readDeviceId(DeviceIdBasic, 0) << 1 << deviceIdRequest
        << "01 2B 0E 01 81 00 00 " + basic + " CRC" << 3 << 0 << "81 last 00: 00=qel 01=PM 02=3.0"
        << ""
        << "";
    QTest::newRow("objects with more to follow")
        << false << readDeviceId(DeviceIdRegular, 0) << 1 << "01 2B 0E 02 00 CRC"
        << "01 2B 0E 02 82 FF 02 02 00 03 " + hexOf("qel") + " 01 00 CRC" << 2 << 0
        << "82 more 02: 00=qel 01="
        << ""
        << "";
    QTest::newRow("one object") << false << readDeviceId(DeviceIdIndividual, 0x80) << 1
                                << "01 2B 0E 04 80 CRC"
                                << "01 2B 0E 04 83 00 00 01 80 02 " + hexOf("XY") + " CRC" << 1 << 0
                                << "83 last 00: 80=XY"
                                << ""
                                << "";
    QTest::newRow("no objects") << false << readDeviceId(DeviceIdExtended, 0) << 1
                                << "01 2B 0E 03 00 CRC"
                                << "01 2B 0E 03 83 00 00 00 CRC" << 0 << 0 << "83 last 00:"
                                << ""
                                << "";
    QTest::newRow("next object not beyond the one asked for")
        << false << readDeviceId(DeviceIdBasic, 2) << 1 << "01 2B 0E 01 02 CRC"
        << "01 2B 0E 01 81 FF 02 01 02 03 " + hexOf("3.0") + " CRC" << -1 << int(InvalidData) << ""
        << "Next object not beyond the one requested (0x2 <= 0x2)\n"
        << "";
    QTest::newRow("more follows neither 0 nor FF")
        << false << readDeviceId(DeviceIdBasic, 0) << 1 << deviceIdRequest
        << "01 2B 0E 01 81 01 00 " + basic + " CRC" << -1 << int(InvalidData) << ""
        << "More follows neither 0x00 nor 0xFF (0x1)\n"
        << "";
    QTest::newRow("objects of another read code")
        << false << readDeviceId(DeviceIdBasic, 0) << 1 << deviceIdRequest
        << "01 2B 0E 02 81 00 00 " + basic + " CRC" << -1 << int(InvalidData) << ""
        << "Read device ID code not corresponding to the request (2 != 1)\n"
        << "";
    QTest::newRow("another MEI type")
        << false << readDeviceId(DeviceIdBasic, 0) << 1 << deviceIdRequest
        << "01 2B 0D 01 81 00 00 " + basic + " CRC" << -1 << int(InvalidData) << ""
        << "MEI type not corresponding to the request (0xD != 0xE)\n"
        << "";
    QTest::newRow("another object than the one asked for")
        << false << readDeviceId(DeviceIdIndividual, 1) << 1 << "01 2B 0E 04 01 CRC"
        << "01 2B 0E 04 81 00 00 01 02 03 " + hexOf("3.0") + " CRC" << -1 << int(InvalidData) << ""
        << "Object not corresponding to the request (0x2 != 0x1)\n"
        << "";
    QTest::newRow("two objects for one asked for")
        << false << readDeviceId(DeviceIdIndividual, 0) << 1 << "01 2B 0E 04 00 CRC"
        << "01 2B 0E 04 81 00 00 " + basic + " CRC" << -1 << int(InvalidData) << ""
        << "Objects not corresponding to the request (3 != 1)\n"
        << "";
    QTest::newRow("objects: exception 2")
        << false << readDeviceId(DeviceIdIndividual, 9) << 1 << "01 2B 0E 04 09 CRC"
        << "01 AB 02 CRC" << -1 << int(IllegalDataAddress) << ""
        << "ERROR Illegal data address\n"
        << "";
    QTest::newRow("read code 5: nothing sent") << false << readDeviceId(5, 0) << 1 << ""
                                               << "" << -1 << EINVAL << ""
                                               << ""
                                               << "";

    QTest::newRow("TCP: coils") << true << readBits(true, 0xFFF0, 16) << 1
                                << "00 01 00 00 00 06 01 01 FF F0 00 10"
                                << "00 01 00 00 00 05 01 01 02 01 80" << 16 << 0
                                << "1000000000000001"
                                << ""
                                << "";
    QTest::newRow("TCP: coils written") << true << writeCoils(20, "1011001101") << 1
                                        << "00 01 00 00 00 09 01 0F 00 14 00 0A 02 CD 02"
                                        << "00 01 00 00 00 06 01 0F 00 14 00 0A" << 10 << 0 << ""
                                        << ""
                                        << "";
    QTest::newRow("TCP: register echoed at another address")
        << true << writeRegister(1, 5) << 1 << "00 01 00 00 00 06 01 06 00 01 00 05"
        << "00 01 00 00 00 06 01 06 00 02 00 05" << -1 << int(InvalidData) << ""
        << "Address not corresponding to the request (2 != 1)\n"
        << "";
    QTest::newRow("TCP: basic objects")
        << true << readDeviceId(DeviceIdBasic, 0) << 1 << "00 01 00 00 00 05 01 2B 0E 01 00"
        << "00 01 00 00 00 16 01 2B 0E 01 81 00 00 " + basic << 3 << 0
        << "81 last 00: 00=qel 01=PM 02=3.0"
        << ""
        << "";
}

void TestEngine::bitAndObjectExchange()
{
    QFETCH(bool, tcp);
    checkExchange(tcp);
}

void TestEngine::checkExchange(bool tcp)
{
    QFETCH(EngineCall, call);
    QFETCH(int, address);
    QFETCH(QString, request);
    QFETCH(QString, reply);
    QFETCH(int, result);
    QFETCH(int, error);
    QFETCH(QString, output);
    QFETCH(QString, diagnostics);
    QFETCH(QString, extraOut);

    Line line;
    QVERIFY(line.open(tcp, address));
    const QByteArray requestBytes = frameBytes(request);
    const QByteArray replyBytes = frameBytes(reply);
    // A request that is not sent takes no transaction identifier.
    const int followUpId = requestBytes.isEmpty() ? 1 : 2;
    QList<PeerStep> steps;
    if (!requestBytes.isEmpty())
        steps << PeerStep {requestBytes.size(), replyBytes, false};
    steps << PeerStep {followUpRequest(tcp, address, followUpId).size(),
        followUpReply(tcp, address, followUpId), false};
    PeerSession peer(line, steps);
    Modbus::setDebug(line.get(), true);
    const CallOutcome outcome = peer.run(line, call);

    // The next exchange shows that nothing else went out and nothing was left.
    Modbus::setDebug(line.get(), false);
    uint16_t word = 0;
    const int followUp = Modbus::readHoldingRegisters(line.get(), 0, 1, &word);
    const QList<QByteArray> requests = peer.finish();

    QCOMPARE(outcome.result, result);
    if (result == -1)
        QCOMPARE(outcome.error, error);
    QCOMPARE(outcome.data, output);
    QList<QByteArray> expectedRequests;
    if (!requestBytes.isEmpty())
        expectedRequests << requestBytes;
    expectedRequests << followUpRequest(tcp, address, followUpId);
    QCOMPARE(hexList(requests), hexList(expectedRequests));
    QCOMPARE(followUp, 1);
    QCOMPARE(word, uint16_t(42));

    QString trace;
    if (!requestBytes.isEmpty())
        trace = sentTrace(requestBytes) + "\nWaiting for a confirmation...\n"
            + receivedTrace(replyBytes) + "\n";
    QCOMPARE(outcome.out, trace + extraOut);
    QCOMPARE(outcome.err, diagnostics);
}

void TestEngine::quietWithoutDebug_data()
{
    QTest::addColumn<EngineCall>("call");
    QTest::addColumn<int>("requestLength");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("printed");
    QTest::newRow("exception") << readHolding(0, 1) << 8 << "01 83 02 CRC"
                               << int(Modbus::IllegalDataAddress) << "";
    QTest::newRow("wrong CRC") << readHolding(0, 1) << 8 << "01 03 02 00 01 00 00"
                               << int(Modbus::InvalidCrc) << "";
    QTest::newRow("reply from another device") << readHolding(0, 1) << 8 << "09 03 02 00 01 CRC"
                                               << int(Modbus::ResponseNotFromRequestedSlave) << "";
    QTest::newRow("macro complement")
        << readMacro(1, 1, {}) << 16 << "01 41 08 00 01 FF FE 01 00 FE FE CRC"
        << int(Modbus::InvalidData) << "";
    QTest::newRow("too many holding registers")
        << readHolding(0, 126) << 0 << "" << int(Modbus::TooManyData) << "";
    QTest::newRow("too many macro parameters")
        << writeMacro(1, 1, wordVector(118, 0)) << 0 << "" << int(Modbus::TooManyData) << "";
    QTest::newRow("too many input registers: always told")
        << readInput(0, 200) << 0 << "" << int(Modbus::TooManyData)
        << "ERROR Too many input registers requested (200 > 125)\n";
}

void TestEngine::quietWithoutDebug()
{
    QFETCH(EngineCall, call);
    QFETCH(int, requestLength);
    QFETCH(QString, reply);
    QFETCH(int, error);
    QFETCH(QString, printed);

    Line line;
    QVERIFY(line.open(false, 1));
    QList<PeerStep> steps;
    if (requestLength > 0)
        steps << PeerStep {requestLength, frameBytes(reply), false};
    const CallOutcome outcome = callWithPeer(line, steps, call);

    QCOMPARE(outcome.result, -1);
    QCOMPARE(outcome.error, error);
    QCOMPARE(outcome.out, QString());
    QCOMPARE(outcome.err, printed);
}

void TestEngine::timeouts_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("kind"); // Modbus::ReplyTimeout::Kind
    QTest::newRow("serial: silence") << false << "" << int(Modbus::ReplyTimeout::NoReply);
    QTest::newRow("tcp: silence") << true << "" << int(Modbus::ReplyTimeout::NoReply);
    QTest::newRow("serial: stall in mid-frame")
        << false << "01 03 04 12" << int(Modbus::ReplyTimeout::Incomplete);
    QTest::newRow("tcp: stall in mid-frame")
        << true << "00 01 00 00 00 07 01" << int(Modbus::ReplyTimeout::Incomplete);
}

// A reply that does not come, or stops coming, ends the wait after the 2 s
// time-out with ETIMEDOUT; the context tells the one from the other, and
// after how long, for the cause a driver prints.
void TestEngine::timeouts()
{
    QFETCH(bool, tcp);
    QFETCH(QString, reply);
    QFETCH(int, kind);

    Line line;
    QVERIFY(line.open(tcp, 1));
    Modbus::setDebug(line.get(), true);
    const QByteArray replyBytes = frameBytes(reply);
    const CallOutcome outcome
        = callWithPeer(line, {PeerStep {tcp ? 12 : 8, replyBytes, false}}, readHolding(100, 2));

    QCOMPARE(outcome.result, -1);
    QCOMPARE(outcome.error, ETIMEDOUT);
    QVERIFY(outcome.out.endsWith("Waiting for a confirmation...\n" + receivedTrace(replyBytes)));
    QCOMPARE(outcome.err, QString("ERROR %1: select\n").arg(strerror(ETIMEDOUT)));
    const Modbus::ReplyTimeout timeout = Modbus::lastReplyTimeout(line.get());
    QCOMPARE(int(timeout.kind), kind);
    QVERIFY2(timeout.milliseconds >= 2000, qPrintable(QString::number(timeout.milliseconds)));
    const QString cause = requestFailureText(line.get(), ETIMEDOUT);
    if (kind == Modbus::ReplyTimeout::NoReply)
        QCOMPARE(cause, QString("The device did not answer within 2000 ms"));
    else
        QCOMPARE(cause,
            QString("The device's reply was incomplete after %1 ms").arg(timeout.milliseconds));

    // The next request that fails otherwise leaves no time-out behind.
    const CallOutcome refused = callWithPeer(line,
        {PeerStep {
            tcp ? 12 : 8, frameBytes(tcp ? "00 02 00 00 00 03 01 83 02" : "01 83 02 CRC"), false}},
        readHolding(100, 2));
    QCOMPARE(refused.error, int(Modbus::IllegalDataAddress));
    QCOMPARE(int(Modbus::lastReplyTimeout(line.get()).kind), int(Modbus::ReplyTimeout::None));
    QCOMPARE(requestFailureText(line.get(), refused.error), QString("Illegal data address"));
}

void TestEngine::cancelAndResponseTimeout_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("timeoutMs"); // 0: keep the engine's
    QTest::addColumn<bool>("cancel"); // the cancel descriptor is readable
    QTest::addColumn<int>("error");
    QTest::newRow("serial: cancelled") << false << 0 << true << ECANCELED;
    QTest::newRow("tcp: cancelled") << true << 0 << true << ECANCELED;
    QTest::newRow("serial: 20 ms time-out") << false << 20 << false << ETIMEDOUT;
    QTest::newRow("tcp: 20 ms time-out") << true << 20 << false << ETIMEDOUT;
    QTest::newRow("serial: cancel wins over a long time-out")
        << false << 10000 << true << ECANCELED;
}

// A readable cancel descriptor ends the wait for the reply with ECANCELED,
// and a short response time-out with ETIMEDOUT, while the device answers
// only after a second (the engine's default 2 s would take that reply).
// The request itself goes out whole.
void TestEngine::cancelAndResponseTimeout()
{
    QFETCH(bool, tcp);
    QFETCH(int, timeoutMs);
    QFETCH(bool, cancel);
    QFETCH(int, error);

    Line line;
    QVERIFY(line.open(tcp, 1));
    QCOMPARE(Modbus::setResponseTimeout(line.get(), 0), -1);
    QCOMPARE(errno, EINVAL);
    if (timeoutMs > 0)
        QCOMPARE(Modbus::setResponseTimeout(line.get(), timeoutMs), 0);
    int stop[2];
    QCOMPARE(pipe(stop), 0);
    if (cancel)
        QCOMPARE(::write(stop[1], "x", 1), ssize_t(1));
    Modbus::setCancelDescriptor(line.get(), stop[0]);

    const int peerFd = line.peer();
    // The late device: nothing more comes for a second.
    LateReply peer(line, tcp, [peerFd] { readable(peerFd, 1000); });
    uint16_t word = 0;
    const int rc = Modbus::readHoldingRegisters(line.get(), 0, 1, &word);
    const int failure = errno;
    const QByteArray received = peer.finish();
    ::close(stop[0]);
    ::close(stop[1]);

    QCOMPARE(rc, -1);
    QCOMPARE(failure, error);
    QCOMPARE(received.toHex(), peer.expected.toHex());
}

void TestEngine::replyBeyondFrameLength()
{
    Line line;
    QVERIFY(line.open(false, 1));
    Modbus::setDebug(line.get(), true);
    const CallOutcome outcome
        = callWithPeer(line, {PeerStep {8, frameBytes("01 03 FF"), false}}, readHolding(0, 125));

    QCOMPARE(outcome.result, -1);
    QCOMPARE(outcome.error, int(Modbus::InvalidData));
    QVERIFY(outcome.out.endsWith("Waiting for a confirmation...\n<01><03><FF>"));
    QCOMPARE(outcome.err, QString("ERROR Invalid data: too many data\n"));
}

void TestEngine::wholeReplyDeadline_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<int>("firstMs"); // before the first piece of the reply
    QTest::addColumn<int>("firstSize");
    QTest::addColumn<int>("gapMs"); // before each later piece
    QTest::addColumn<int>("pieceSize"); // 0: all the rest
    QTest::addColumn<bool>("complete"); // the reply arrives whole
    // Each byte well within the 2 s byte time-out; the whole reply not.
    QTest::newRow("serial: a byte every 400 ms") << false << 115200 << 0 << 1 << 400 << 1 << false;
    QTest::newRow("tcp: a byte every 400 ms") << true << 115200 << 0 << 1 << 400 << 1 << false;
    // A slow line is no trickle: 255 bytes at 1200 baud take 2.1 s.
    QTest::newRow("serial: 255 bytes at 1200 baud after 1 s")
        << false << 1200 << 1000 << 1 << 9 << 1 << true;
    QTest::newRow("tcp: header after 1.9 s, the rest 1.5 s later")
        << true << 115200 << 1900 << 8 << 1500 << 0 << true;
}

// A reply of 125 registers sent piece by piece: the engine gives up once the
// response time-out and the line's allowance for the reply's length have
// passed, however the bytes are spaced, and takes a reply that keeps to the
// line's speed.
void TestEngine::wholeReplyDeadline()
{
    QFETCH(bool, tcp);
    QFETCH(int, baudRate);
    QFETCH(int, firstMs);
    QFETCH(int, firstSize);
    QFETCH(int, gapMs);
    QFETCH(int, pieceSize);
    QFETCH(bool, complete);

    Line line;
    QVERIFY(line.open(tcp, 1, baudRate));
    QString data;
    for (int i = 0; i < 125; ++i)
        data += QString::asprintf(" %02X %02X", i >> 8, i & 0xFF);
    const QByteArray reply = tcp ? frameBytes("00 01 00 00 00 FD 01 03 FA" + data)
                                 : frameBytes("01 03 FA" + data + " CRC");
    QCOMPARE(reply.size(), tcp ? 259 : 255);

    const int peerFd = line.peer();
    std::atomic<bool> stop {false};
    std::atomic<int> sent {0};
    std::thread peer([&] {
        readBytes(peerFd, tcp ? 12 : 8, 5000);
        // The device's own timing.
        auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(firstMs);
        int size = firstSize;
        while (sent < reply.size() && !stop) {
            std::this_thread::sleep_until(next);
            if (!writeBytes(peerFd, reply.mid(sent, size)))
                break;
            sent = std::min(int(reply.size()), sent + size);
            next += std::chrono::milliseconds(gapMs);
            size = pieceSize > 0 ? pieceSize : int(reply.size());
        }
    });
    uint16_t words[125] = {};
    const int rc = Modbus::readHoldingRegisters(line.get(), 0, 125, words);
    const int error = errno;
    stop = true;
    peer.join();

    if (complete) {
        QCOMPARE(rc, 125);
        QCOMPARE(words[124], uint16_t(124));
    } else {
        QCOMPARE(rc, -1);
        QCOMPARE(error, ETIMEDOUT);
        QVERIFY2(sent < reply.size(), qPrintable(QString::number(sent)));
    }
}

void TestEngine::signalsDuringWait_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::newRow("serial") << false;
    QTest::newRow("tcp") << true;
}

std::atomic<int> signalsCaught;

// Signals that interrupt the wait for a reply neither fail the exchange nor
// print anything but the TCP line's note.
void TestEngine::signalsDuringWait()
{
    QFETCH(bool, tcp);
    signalsCaught = 0;
    struct sigaction action = {};
    action.sa_handler = [](int) { ++signalsCaught; };
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // interrupt, do not restart
    struct sigaction previous = {};
    QCOMPARE(sigaction(SIGUSR1, &action, &previous), 0);

    Line line;
    QVERIFY(line.open(tcp, 1));
    Modbus::setDebug(line.get(), true);
    const pthread_t engineThread = pthread_self();
    // Spread over the wait; the engine is in it as soon as its request is out.
    LateReply peer(line, tcp, [engineThread] {
        for (int i = 0; i < 5; ++i) {
            pthread_kill(engineThread, SIGUSR1);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });

    OutputCapture capture;
    uint16_t word = 0;
    const int rc = Modbus::readHoldingRegisters(line.get(), 0, 1, &word);
    capture.finish();
    const QByteArray received = peer.finish();
    sigaction(SIGUSR1, &previous, nullptr);

    QCOMPARE(rc, 1);
    QCOMPARE(word, uint16_t(42));
    QCOMPARE(received.toHex(), peer.expected.toHex());
    QCOMPARE(signalsCaught.load(), 5);
    const QString note = "A non blocked signal was caught\n";
    const QString err = capture.err();
    QVERIFY2(
        err.isEmpty() || (tcp && err.count(note) * note.size() == err.size()), qPrintable(err));
}

// A request the line does not take within its time-out is no success: the
// peer reads nothing until the connection takes no more.
void TestEngine::lineTakingNothing()
{
    Line line;
    QVERIFY(line.open(true, 1));
    const int socket = line.get()->socket;
    const QByteArray filler(65536, 'x');
    for (const size_t piece : {65536, 4096, 256, 16, 1}) {
        while (::send(socket, filler.constData(), piece, MSG_NOSIGNAL) > 0) { }
        QCOMPARE(errno, EAGAIN);
    }

    uint16_t words[2] = {0x5555, 0x5555};
    const int rc = Modbus::readHoldingRegisters(line.get(), 0, 2, words);
    const int error = errno;
    QCOMPARE(rc, -1);
    QCOMPARE(error, int(Modbus::InvalidData));
    QCOMPARE(words[0], uint16_t(0x5555));
}

void TestEngine::flushWithoutLine()
{
    for (const bool tcp : {false, true}) {
        Modbus::ContextPtr context(tcp ? Modbus::newTcpContext("127.0.0.1", 502)
                                       : Modbus::newRtuContext("/dev/null", 9600, 'N', 8, 1));
        QVERIFY(context);
        const int rc = Modbus::flush(context.get());
        const int error = errno;
        QCOMPARE(rc, -1);
        QCOMPARE(error, EBADF);
    }
}

void TestEngine::peerClosedConnection()
{
    Line line;
    QVERIFY(line.open(true, 1));
    Modbus::setDebug(line.get(), true);
    const CallOutcome outcome
        = callWithPeer(line, {PeerStep {12, frameBytes("00 01 00"), true}}, readHolding(100, 2));

    QCOMPARE(outcome.result, -1);
    QCOMPARE(outcome.error, ECONNRESET);
    QCOMPARE(outcome.err, QString("ERROR %1: read\n").arg(strerror(ECONNRESET)));
}

// Whether the line still carries requests in step after an exchange: only
// a whole reply to the request (the answer or the device's exception) leaves
// nothing of it to come.
void TestEngine::lineAfterAnExchange_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("inStep");
    QTest::newRow("TCP answer") << true << frameBytes("00 01 00 00 00 05 01 03 02 00 07") << true;
    QTest::newRow("TCP exception") << true << frameBytes("00 01 00 00 00 03 01 83 02") << true;
    QTest::newRow("TCP stale reply")
        << true << frameBytes("00 00 00 00 00 05 01 03 02 00 07") << false;
    QTest::newRow("TCP reply cut short") << true << frameBytes("00 01 00 00 00 05 01 03") << false;
    QTest::newRow("TCP silence") << true << QByteArray() << false;
    QTest::newRow("RTU answer") << false << frameBytes("01 03 02 00 07 CRC") << true;
    QTest::newRow("RTU exception") << false << frameBytes("01 83 02 CRC") << true;
    QTest::newRow("RTU damaged") << false << frameBytes("01 03 02 00 07 00 00") << false;
    QTest::newRow("RTU exception code 12") << false << frameBytes("01 83 0C CRC") << false;
}

void TestEngine::lineAfterAnExchange()
{
    QFETCH(bool, tcp);
    QFETCH(QByteArray, reply);
    QFETCH(bool, inStep);
    Line line;
    QVERIFY(line.open(tcp, 1));
    QVERIFY(Modbus::lineInStep(line.get()));
    QCOMPARE(Modbus::setResponseTimeout(line.get(), 200), 0);
    callWithPeer(line, {PeerStep {tcp ? 12 : 8, reply, false}}, readHolding(0, 1));
    QCOMPARE(Modbus::lineInStep(line.get()), inStep);
    QVERIFY(Modbus::lineStillOpen(line.get()));
    // Connecting again puts it in step.
    QCOMPARE(Modbus::connect(line.get()), 0);
    QVERIFY(Modbus::lineInStep(line.get()));
}

// A line whose far end has gone shows it without anything being sent: the
// TCP peer that closed, the pseudo-terminal whose other side closed (as an
// unplugged serial adapter hangs up), and a line closed here.
void TestEngine::lineGoneAtItsFarEnd_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::newRow("TCP") << true;
    QTest::newRow("serial") << false;
}

void TestEngine::lineGoneAtItsFarEnd()
{
    QFETCH(bool, tcp);
    {
        Line line;
        QVERIFY(line.open(tcp, 1));
        QVERIFY(Modbus::lineStillOpen(line.get()));
        // Bytes waiting to be read do not close it.
        QVERIFY(writeBytes(line.peer(), "\x01"));
        QVERIFY(tcp || readable(line.ptyPair()->slave(), 5000));
        QVERIFY(Modbus::lineStillOpen(line.get()));
        if (tcp) {
            ::shutdown(line.peer(), SHUT_RDWR);
            pollfd hangUp {line.get()->socket, POLLRDHUP, 0};
            QCOMPARE(::poll(&hangUp, 1, 5000), 1);
        } else {
            line.ptyPair()->hangUp();
        }
        QVERIFY(!Modbus::lineStillOpen(line.get()));
    }
    Line line;
    QVERIFY(line.open(tcp, 1));
    Modbus::close(line.get());
    QVERIFY(!Modbus::lineStillOpen(line.get()));
}

// No reply can fit a version without a reply length: the length check
// refuses whatever comes.
void TestEngine::identificationVersionWithoutLength()
{
    Line line;
    QVERIFY(line.open(false, 1));
    Modbus::setDebug(line.get(), true);
    QList<QByteArray> requests;
    const CallOutcome outcome = callWithPeer(line,
        {PeerStep {4, frameBytes("01 11 41 42 43 44 45 46 47 48 49 4A CRC"), false}},
        readIdentification(256, 5), &requests);

    QCOMPARE(outcome.result, -1);
    QCOMPARE(outcome.error, int(Modbus::InvalidData));
    QCOMPARE(hexList(requests), hexList({frameBytes("01 11 CRC")}));
    QCOMPARE(
        outcome.err, QString("Message length not corresponding to the computed length (2 != 0)\n"));
}

// The first request carries transaction identifier 1, the 65536th carries 0.
void TestEngine::transactionIdentifierWraps()
{
    TcpListener listener;
    QVERIFY(listener.isOpen());
    Modbus::ContextPtr context(Modbus::newTcpContext("127.0.0.1", listener.port()));
    QVERIFY(context);
    QVERIFY(Modbus::setAddress(context.get(), 1) == 0);

    // Requests that cannot be sent still take their identifier.
    uint16_t word = 0;
    for (int i = 1; i <= 65533; ++i)
        QCOMPARE(Modbus::readHoldingRegisters(context.get(), 0, 1, &word), -1);

    QCOMPARE(Modbus::connect(context.get()), 0);
    const int peerFd = listener.accept();
    QVERIFY(peerFd != -1);
    ScriptedPeer peer;
    peer.start(peerFd,
        {PeerStep {12, frameBytes("FF FE 00 00 00 05 01 03 02 00 01"), false},
            PeerStep {12, frameBytes("FF FF 00 00 00 05 01 03 02 00 02"), false},
            PeerStep {12, frameBytes("00 00 00 00 00 05 01 03 02 00 03"), false},
            PeerStep {12, frameBytes("00 01 00 00 00 05 01 03 02 00 04"), false}});
    for (int expected = 1; expected <= 4; ++expected) {
        QCOMPARE(Modbus::readHoldingRegisters(context.get(), 0, 1, &word), 1);
        QCOMPARE(int(word), expected);
    }
    const QList<QByteArray> requests = peer.finish();
    Modbus::close(context.get());
    ::close(peerFd);

    QCOMPARE(hexList(requests),
        QStringList({"FF FE 00 00 00 06 01 03 00 00 00 01", "FF FF 00 00 00 06 01 03 00 00 00 01",
            "00 00 00 00 00 06 01 03 00 00 00 01", "00 01 00 00 00 06 01 03 00 00 00 01"}));
}

// A serial context whose address was never set sends nothing.
void TestEngine::nothingSentWithoutAddress()
{
    PtyPair pty;
    QVERIFY(pty.isOpen());
    Modbus::ContextPtr context(
        Modbus::newRtuContext(pty.slavePath().toLocal8Bit().constData(), 9600, 'N', 8, 1));
    QVERIFY(context);
    QCOMPARE(Modbus::address(context.get()), -1);
    QCOMPARE(Modbus::connect(context.get()), 0);
    ScriptedPeer peer;
    peer.start(pty.master(), {PeerStep {8, frameBytes("02 03 02 00 2A CRC"), false}});

    uint16_t word = 0;
    const int read = Modbus::readHoldingRegisters(context.get(), 0, 1, &word);
    const int readError = errno;
    const int written = Modbus::writeRegisters(context.get(), 0, 1, &word);
    const int writeError = errno;
    const int macro = Modbus::writeMacro(context.get(), 1, 1, 0, nullptr);
    const int macroError = errno;
    QCOMPARE(Modbus::setAddress(context.get(), 2), 0);
    const int readAfter = Modbus::readHoldingRegisters(context.get(), 0, 1, &word);
    const QList<QByteArray> requests = peer.finish();
    Modbus::close(context.get());

    QCOMPARE(read, -1);
    QCOMPARE(readError, EINVAL);
    QCOMPARE(written, -1);
    QCOMPARE(writeError, EINVAL);
    QCOMPARE(macro, -1);
    QCOMPARE(macroError, EINVAL);
    QCOMPARE(readAfter, 1);
    QCOMPARE(hexList(requests), hexList({frameBytes("02 03 00 00 00 01 CRC")}));
}

// A request that cannot go out fails; no read hands back words it never got.
void TestEngine::sendFailureIsNoSuccess()
{
    for (const bool tcp : {false, true}) {
        PtyPair pty;
        Modbus::ContextPtr context(tcp
                ? Modbus::newTcpContext("127.0.0.1", 502)
                : Modbus::newRtuContext(
                    pty.slavePath().toLocal8Bit().constData(), 9600, 'N', 8, 1));
        QVERIFY(context);
        QCOMPARE(Modbus::setAddress(context.get(), 1), 0);
        Modbus::setDebug(context.get(), true);
        uint16_t words[2] = {0x5555, 0x5555};
        OutputCapture capture;
        const int read = Modbus::readHoldingRegisters(context.get(), 0, 2, words);
        const int readError = errno;
        const int written = Modbus::writeRegisters(context.get(), 0, 2, words);
        const int writeError = errno;
        capture.finish();

        QCOMPARE(read, -1);
        QCOMPARE(readError, EBADF);
        QCOMPARE(written, -1);
        QCOMPARE(writeError, EBADF);
        QCOMPARE(words[0], uint16_t(0x5555));
        const QString line = QString("ERROR %1\n").arg(strerror(EBADF));
        QCOMPARE(capture.err(), line + line);
    }
}

void TestEngine::flushCounts_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("pending");
    QTest::newRow("serial: nothing") << false << 0;
    QTest::newRow("serial: 5 bytes") << false << 5;
    QTest::newRow("tcp: nothing") << true << 0;
    QTest::newRow("tcp: 5 bytes") << true << 5;
    QTest::newRow("tcp: more than a frame") << true << 600;
}

// Flush drops what is pending, says how much, and the next exchange works.
void TestEngine::flushCounts()
{
    QFETCH(bool, tcp);
    QFETCH(int, pending);

    Line line;
    QVERIFY(line.open(tcp, 1));
    if (pending > 0) {
        QVERIFY(writeBytes(line.peer(), QByteArray(pending, char(0x55))));
        // Wait until the bytes are on the engine's side of the line.
        if (tcp) {
            QVERIFY(readable(line.get()->socket, 5000));
        } else {
            QVERIFY(readable(line.ptyPair()->slave(), 5000));
        }
    }
    Modbus::setDebug(line.get(), true);
    OutputCapture capture;
    const int flushed = Modbus::flush(line.get());
    capture.finish();
    QCOMPARE(flushed, pending);
    QCOMPARE(capture.out(), QString("Bytes flushed (%1)\n").arg(pending));

    Modbus::setDebug(line.get(), false);
    ScriptedPeer peer;
    peer.start(line.peer(),
        {PeerStep {followUpRequest(tcp, 1, 1).size(), followUpReply(tcp, 1, 1), false}});
    uint16_t word = 0;
    QCOMPARE(Modbus::readHoldingRegisters(line.get(), 0, 1, &word), 1);
    QCOMPARE(word, uint16_t(42));
    peer.finish();
}

void TestEngine::contextCreation_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QString>("name"); // "<null>" for no text
    QTest::addColumn<int>("number"); // baud rate or port
    QTest::addColumn<char>("parity");
    QTest::addColumn<bool>("created");
    QTest::addColumn<QString>("printed");
    QTest::newRow("empty device") << false << "" << 9600 << 'N' << false
                                  << "The device string is empty\n";
    QTest::newRow("no device") << false << "<null>" << 9600 << 'N' << false
                               << "The device string is empty\n";
    QTest::newRow("baud rate 0") << false << "/dev/ttyS0" << 0 << 'N' << false
                                 << "The baud rate value must not be zero\n";
    QTest::newRow("parity e") << false << "/dev/ttyS0" << 9600 << 'e' << false << "";
    QTest::newRow("parity X") << false << "/dev/ttyS0" << 9600 << 'X' << false << "";
    QTest::newRow("parity O") << false << "/dev/ttyS0" << 9600 << 'O' << true << "";
    QTest::newRow("baud rate 7 is created") << false << "/dev/ttyS0" << 7 << 'E' << true << "";
    QTest::newRow("empty IP") << true << "" << 502 << 'N' << false << "The IP string is empty\n";
    QTest::newRow("IP of 15 characters") << true << "192.168.100.100" << 502 << 'N' << true << "";
    QTest::newRow("IP of 16 characters") << true << "192.168.100.1001" << 502 << 'N' << false
                                         << "The IP string has been truncated\n";
    QTest::newRow("no IP") << true << "<null>" << 502 << 'N' << true << "";
    QTest::newRow("port 65535") << true << "127.0.0.1" << 65535 << 'N' << true << "";
    QTest::newRow("port 65536") << true << "127.0.0.1" << 65536 << 'N' << false << "";
    QTest::newRow("port -1") << true << "127.0.0.1" << -1 << 'N' << false << "";
}

// Creation messages are printed whatever the debug mode (it is off here).
void TestEngine::contextCreation()
{
    QFETCH(bool, tcp);
    QFETCH(QString, name);
    QFETCH(int, number);
    QFETCH(char, parity);
    QFETCH(bool, created);
    QFETCH(QString, printed);

    const QByteArray text = name.toLatin1();
    const char *argument = name == "<null>" ? nullptr : text.constData();
    OutputCapture capture;
    errno = 0;
    Modbus::ContextPtr context(tcp ? Modbus::newTcpContext(argument, number)
                                   : Modbus::newRtuContext(argument, number, parity, 8, 1));
    const int error = errno;
    capture.finish();

    QCOMPARE(bool(context), created);
    if (!created)
        QCOMPARE(error, EINVAL);
    else
        QCOMPARE(Modbus::address(context.get()), tcp ? 255 : -1);
    QCOMPARE(capture.err(), printed);
    QCOMPARE(capture.out(), QString());
}

void TestEngine::addressRanges_data()
{
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("address");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("serial 0") << false << 0 << true;
    QTest::newRow("serial 247") << false << 247 << true;
    QTest::newRow("serial 248") << false << 248 << false;
    QTest::newRow("serial 255") << false << 255 << false;
    QTest::newRow("serial -1") << false << -1 << false;
    QTest::newRow("tcp 0") << true << 0 << true;
    QTest::newRow("tcp 247") << true << 247 << true;
    QTest::newRow("tcp 248") << true << 248 << false;
    QTest::newRow("tcp 255") << true << 255 << true;
    QTest::newRow("tcp 256") << true << 256 << false;
}

void TestEngine::addressRanges()
{
    QFETCH(bool, tcp);
    QFETCH(int, address);
    QFETCH(bool, accepted);
    Modbus::ContextPtr context(tcp ? Modbus::newTcpContext("127.0.0.1", 502)
                                   : Modbus::newRtuContext("/dev/null", 9600, 'N', 8, 1));
    QVERIFY(context);
    QVERIFY(Modbus::setAddress(context.get(), 17) == 0);
    errno = 0;
    QCOMPARE(Modbus::setAddress(context.get(), address), accepted ? 0 : -1);
    if (!accepted)
        QCOMPARE(errno, EINVAL);
    QCOMPARE(Modbus::address(context.get()), accepted ? address : 17);
}

void TestEngine::serialSettings_data()
{
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<char>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("rate");
    QTest::addColumn<uint>("flags"); // expected CSIZE, CSTOPB, PARENB, PARODD bits
    QTest::addColumn<bool>("parityCheck");
    QTest::addColumn<QString>("diagnostics");
    QTest::newRow("115200 N 8 1") << 115200 << 'N' << 8 << 1 << 115200 << uint(CS8) << false << "";
    QTest::newRow("9600 E 7 2") << 9600 << 'E' << 7 << 2 << 9600 << uint(CS7 | CSTOPB | PARENB)
                                << true << "";
    QTest::newRow("1200 O 5 1") << 1200 << 'O' << 5 << 1 << 1200 << uint(CS5 | PARENB | PARODD)
                                << true << "";
    QTest::newRow("19200 N 6, stop bits 0 means two")
        << 19200 << 'N' << 6 << 0 << 19200 << uint(CS6 | CSTOPB) << false << "";
    QTest::newRow("data bits 9 mean 8")
        << 1000000 << 'N' << 9 << 1 << 1000000 << uint(CS8) << false << "";
    QTest::newRow("14400") << 14400 << 'N' << 8 << 1 << 14400 << uint(CS8) << false << "";
    QTest::newRow("250000") << 250000 << 'E' << 8 << 1 << 250000 << uint(CS8 | PARENB) << true
                            << "";
    QTest::newRow("unknown rate 7 opens at 9600")
        << 7 << 'N' << 8 << 1 << 9600 << uint(CS8) << false
        << "WARNING Unknown baud rate 7 for %1 (B9600 used)\n";
}

void TestEngine::serialSettings()
{
    QFETCH(int, baudRate);
    QFETCH(char, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QFETCH(int, rate);
    QFETCH(uint, flags);
    QFETCH(bool, parityCheck);
    QFETCH(QString, diagnostics);

    PtyPair pty;
    QVERIFY(pty.isOpen());
    const QByteArray device = pty.slavePath().toLocal8Bit();
    Modbus::ContextPtr context(
        Modbus::newRtuContext(device.constData(), baudRate, parity, dataBits, stopBits));
    QVERIFY(context);
    Modbus::setDebug(context.get(), true);
    OutputCapture capture;
    const int rc = Modbus::connect(context.get());
    capture.finish();
    QCOMPARE(rc, 0);
    QCOMPARE(capture.out(),
        QString::asprintf("Opening %s at %d bauds (%c, %d, %d)\n", device.constData(), baudRate,
            parity, dataBits, stopBits));
    QCOMPARE(capture.err(), QString(diagnostics).replace("%1", pty.slavePath()));

    termios settings;
    QCOMPARE(tcgetattr(pty.slave(), &settings), 0);
    QCOMPARE(lineOutputRate(pty.slave()), rate);
    // A pseudo-terminal keeps 8 bits without parity whatever it is given;
    // makeLineSettings() is checked for those on its own.
    QCOMPARE(uint(settings.c_cflag & (CSTOPB | PARODD)), flags & uint(CSTOPB | PARODD));
    QCOMPARE(bool(settings.c_iflag & INPCK), parityCheck);
    // Raw mode: no line editing, echo, signals, translation or flow control.
    QCOMPARE(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(settings.c_oflag & OPOST, tcflag_t(0));
    QCOMPARE(settings.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), tcflag_t(0));
    QCOMPARE(settings.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    Modbus::close(context.get());
}

void TestEngine::lineSettings()
{
    QFETCH(int, baudRate);
    QFETCH(char, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QFETCH(int, rate);
    QFETCH(uint, flags);
    QFETCH(bool, parityCheck);
    QFETCH(QString, diagnostics);

    // Start from a cooked line with hardware flow control at 4800.
    termios settings {};
    settings.c_iflag = ICRNL | IXON | IXOFF | ISTRIP | BRKINT;
    settings.c_oflag = OPOST | ONLCR;
    settings.c_cflag = CS7 | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL;
    settings.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 5;
    cfsetspeed(&settings, B4800);

    const Modbus::RateKind kind
        = Modbus::makeLineSettings(settings, baudRate, parity, dataBits, stopBits);
    const Modbus::RateKind expectedKind = !diagnostics.isEmpty()
        ? Modbus::RateKind::Unknown
        : (rate == 14400 || rate == 250000 ? Modbus::RateKind::Arbitrary
                                           : Modbus::RateKind::Standard);
    QCOMPARE(int(kind), int(expectedKind));
    if (kind == Modbus::RateKind::Arbitrary)
        QCOMPARE(cfgetospeed(&settings), speed_t(B4800)); // left to the other interface
    else
        QCOMPARE(cfgetospeed(&settings), speedCode(rate));
    QCOMPARE(cfgetispeed(&settings), cfgetospeed(&settings));
    QCOMPARE(uint(settings.c_cflag & (CSIZE | CSTOPB | PARENB | PARODD)), flags);
    QCOMPARE(bool(settings.c_iflag & INPCK), parityCheck);
    QCOMPARE(settings.c_cflag & (CLOCAL | CREAD | CRTSCTS), tcflag_t(CLOCAL | CREAD));
    QCOMPARE(settings.c_cflag & HUPCL, tcflag_t(HUPCL)); // the rest stays as it was
    QCOMPARE(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(settings.c_oflag & OPOST, tcflag_t(0));
    QCOMPARE(settings.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP | BRKINT), tcflag_t(0));
    QCOMPARE(int(settings.c_cc[VMIN]), 0);
    QCOMPARE(int(settings.c_cc[VTIME]), 0);
}

void TestEngine::serialSettingsRestoredAtClose()
{
    for (const int baudRate : {9600, 14400}) {
        PtyPair pty;
        QVERIFY(pty.isOpen());
        termios before;
        QCOMPARE(tcgetattr(pty.slave(), &before), 0);
        before.c_lflag |= ICANON | ECHO;
        before.c_iflag |= ICRNL;
        before.c_oflag |= OPOST;
        cfsetspeed(&before, B4800);
        QCOMPARE(tcsetattr(pty.slave(), TCSANOW, &before), 0);
        QCOMPARE(tcgetattr(pty.slave(), &before), 0);

        Modbus::ContextPtr context(
            Modbus::newRtuContext(pty.slavePath().toLocal8Bit().constData(), baudRate, 'E', 7, 2));
        QVERIFY(context);
        QCOMPARE(Modbus::connect(context.get()), 0);
        QCOMPARE(lineOutputRate(pty.slave()), baudRate);
        Modbus::close(context.get());

        termios after;
        QCOMPARE(tcgetattr(pty.slave(), &after), 0);
        QCOMPARE(lineOutputRate(pty.slave()), 4800);
        QCOMPARE(after.c_cflag, before.c_cflag);
        QCOMPARE(after.c_iflag, before.c_iflag);
        QCOMPARE(after.c_oflag, before.c_oflag);
        QCOMPARE(after.c_lflag, before.c_lflag);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(after.c_cc), NCCS),
            QByteArray(reinterpret_cast<const char *>(before.c_cc), NCCS));
    }
}

void TestEngine::deviceNames_data()
{
    QTest::addColumn<QString>("name"); // %1: the pseudo-terminal's name below /dev/
    QTest::addColumn<int>("error");
    QTest::newRow("path") << "/dev/%1" << 0;
    QTest::newRow("device namespace") << "\\\\.\\%1" << 0;
    QTest::newRow("missing device") << "\\\\.\\qelNoSuchDevice" << ENOENT;
    QTest::newRow("not a terminal") << "/dev/null" << ENOTTY;
}

void TestEngine::deviceNames()
{
    QFETCH(QString, name);
    QFETCH(int, error);

    PtyPair pty;
    QVERIFY(pty.isOpen());
    QVERIFY(pty.slavePath().startsWith("/dev/"));
    const QByteArray device = QString(name).replace("%1", pty.slavePath().mid(5)).toLocal8Bit();
    Modbus::ContextPtr context(Modbus::newRtuContext(device.constData(), 9600, 'N', 8, 1));
    QVERIFY(context);
    QCOMPARE(Modbus::setAddress(context.get(), 1), 0);
    Modbus::setDebug(context.get(), true);
    OutputCapture capture;
    errno = 0;
    const int rc = Modbus::connect(context.get());
    const int connectError = errno;
    capture.finish();

    QCOMPARE(rc, error == 0 ? 0 : -1);
    if (error != 0) {
        QCOMPARE(connectError, error);
        const QString expected = error == ENOENT
            ? QString::asprintf(
                "ERROR Can't open the device %s (LastError %d)\n", device.constData(), error)
            : QString::asprintf("ERROR Error getting configuration (LastError %d)\n", error);
        QCOMPARE(capture.err(), expected);
        return;
    }
    // The line really is the pseudo-terminal: a request arrives on its master.
    ScriptedPeer peer;
    peer.start(pty.master(), {PeerStep {8, frameBytes("01 03 02 00 2A CRC"), false}});
    Modbus::setDebug(context.get(), false);
    uint16_t word = 0;
    QCOMPARE(Modbus::readHoldingRegisters(context.get(), 0, 1, &word), 1);
    QCOMPARE(word, uint16_t(42));
    peer.finish();
    Modbus::close(context.get());
}

void TestEngine::connectionRefused()
{
    RefusingPort port;
    QVERIFY(port.port() != 0);
    Modbus::ContextPtr context(Modbus::newTcpContext("127.0.0.1", port.port()));
    QVERIFY(context);
    Modbus::setDebug(context.get(), true);
    OutputCapture capture;
    const int rc = Modbus::connect(context.get());
    const int error = errno;
    capture.finish();

    QCOMPARE(rc, -1);
    QCOMPARE(error, ECONNREFUSED);
    QCOMPARE(context->socket, -1);
    QCOMPARE(capture.out(), QString("Connecting to 127.0.0.1:%1\n").arg(port.port()));
    QCOMPARE(QString(Modbus::errorText(error)), QString(strerror(ECONNREFUSED)));
}

// A host that does not answer ends the connect after the response time-out.
// A listener whose queue of connections is full drops the connect request.
void TestEngine::connectTimeout()
{
    TcpListener listener(0);
    QVERIFY(listener.isOpen());
    std::vector<Modbus::ContextPtr> fillers;
    for (int i = 0; i < 2; ++i) {
        fillers.emplace_back(Modbus::newTcpContext("127.0.0.1", listener.port()));
        Modbus::connect(fillers.back().get());
    }
    Modbus::ContextPtr context(Modbus::newTcpContext("127.0.0.1", listener.port()));
    QVERIFY(context);
    const int rc = Modbus::connect(context.get());
    const int error = errno;
    if (rc == 0)
        QSKIP("This system accepted a connection beyond a full listen queue");
    QCOMPARE(rc, -1);
    QCOMPARE(error, ETIMEDOUT);
    QCOMPARE(context->socket, -1);
    // Not the platform's "Connection timed out", which reads like a silent device.
    OutputCapture capture;
    printConnectionFailure(error, QString());
    capture.finish();
    QCOMPARE(capture.err(), QString("Connection fails: Timed out while connecting\n"));
}

void TestEngine::errorTexts_data()
{
    using namespace Modbus;
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << int(IllegalFunction) << "Illegal function";
    QTest::newRow("2") << int(IllegalDataAddress) << "Illegal data address";
    QTest::newRow("3") << int(IllegalDataValue) << "Illegal data value";
    QTest::newRow("4") << int(SlaveDeviceFailure) << "Slave device or server failure";
    QTest::newRow("5") << int(Acknowledge) << "Acknowledge";
    QTest::newRow("6") << int(SlaveDeviceBusy) << "Slave device or server is busy";
    QTest::newRow("7") << int(NegativeAcknowledge) << "Negative acknowledge";
    QTest::newRow("8") << int(MemoryParityError) << "Memory parity error";
    QTest::newRow("10") << int(GatewayPathUnavailable) << "Gateway path unavailable";
    QTest::newRow("11") << int(TargetFailedToRespond) << "Target device failed to respond";
    QTest::newRow("12") << int(InvalidCrc) << "Invalid CRC";
    QTest::newRow("13") << int(InvalidData) << "Invalid data";
    QTest::newRow("14") << int(InvalidExceptionCode) << "Invalid exception code";
    QTest::newRow("16") << int(TooManyData) << "Too many data";
    QTest::newRow("17") << int(ResponseNotFromRequestedSlave)
                        << "Response not from requested slave";
    QTest::newRow("ETIMEDOUT") << ETIMEDOUT << QString(strerror(ETIMEDOUT));
    QTest::newRow("offset 9: the platform's text")
        << ErrorBase + 9 << QString(strerror(ErrorBase + 9));
}

void TestEngine::errorTexts()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(QString(Modbus::errorText(code)), text);
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
