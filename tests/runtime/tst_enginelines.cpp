// The engine's gateway lines (RTU and ASCII frames over TCP, ASCII on a
// serial line) against scripted peers: exact wire bytes, the checks of an
// ASCII frame, hostile replies and time-outs. Its TLS line against peers that
// fail the handshake and against the simulator: every failure with its cause,
// nothing sent before the handshake, no signal on a closed session.

#include "devsim.h"
#include "engine/modbus.h"
#include "engine/modbuscontext.h"
#include "enginecalls.h"
#include "enginepeer.h"
#include "testcertificates.h"

#include <QtTest>

#include <cerrno>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

enum class Stream { RtuTcp, AsciiTcp, AsciiSerial };

const char *streamName(Stream stream)
{
    switch (stream) {
    case Stream::RtuTcp:
        return "RTU over TCP";
    case Stream::AsciiTcp:
        return "ASCII over TCP";
    case Stream::AsciiSerial:
        return "ASCII on a serial line";
    }
    return "";
}

// A context on a gateway line connected to a scripted peer.
class GatewayLine : public PeerLine
{
public:
    bool open(Stream stream, int address)
    {
        return PeerLine::open(
            stream != Stream::AsciiSerial, address, [stream](const QString &device, int port) {
                switch (stream) {
                case Stream::RtuTcp:
                    return Modbus::newRtuTcpContext("127.0.0.1", port);
                case Stream::AsciiTcp:
                    return Modbus::newAsciiTcpContext("127.0.0.1", port);
                case Stream::AsciiSerial:
                    break;
                }
                return Modbus::newAsciiContext(device.toLocal8Bit().constData(), 115200, 'N', 8, 1);
            });
    }
};

// The frame of bytes on the stream: RTU with its CRC, ASCII with its LRC.
QByteArray wire(Stream stream, const QString &bytes)
{
    return stream == Stream::RtuTcp ? frameBytes(bytes + " CRC") : asciiFrame(bytes + " LRC");
}

QString text(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// An error code's text, for rows that name the library's words.
QString causeOf(int error)
{
    return QString::fromLocal8Bit(Modbus::errorText(error));
}

Modbus::TlsFiles tlsFiles(const TestCertificates &certificates, const QString &certificate,
    const QString &key, const QString &authorities)
{
    return {certificates.path(certificate).toStdString(), certificates.path(key).toStdString(),
        certificates.path(authorities).toStdString()};
}

} // namespace

Q_DECLARE_METATYPE(Stream)

class TestEngineLines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exchange_data();
    void exchange();
    void asciiTrace();
    void hostileTiming_data();
    void hostileTiming();
    void tlsCredentials_data();
    void tlsCredentials();
    void tlsHostileHandshake_data();
    void tlsHostileHandshake();
    void tlsAgainstSimulator_data();
    void tlsAgainstSimulator();

private:
    TestCertificates certificates;
};

void TestEngineLines::initTestCase()
{
    QVERIFY2(certificates.make(), qPrintable(certificates.errorString()));
}

void TestEngineLines::exchange_data()
{
    QTest::addColumn<Stream>("stream");
    QTest::addColumn<EngineCall>("call");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("result"); // -1: failed with error
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("output");

    const Stream rtu = Stream::RtuTcp;
    const QByteArray readRequest = frameBytes("01 03 00 64 00 02 CRC");
    QTest::newRow("RTU over TCP: read")
        << rtu << readHolding(100, 2) << readRequest << frameBytes("01 03 04 00 01 00 02 CRC") << 2
        << 0 << "0001 0002";
    QTest::newRow("RTU over TCP: write")
        << rtu << writeRegisters(5, {0x0102}) << frameBytes("01 10 00 05 00 01 02 01 02 CRC")
        << frameBytes("01 10 00 05 00 01 CRC") << 1 << 0 << "";
    QTest::newRow("RTU over TCP: the frame of another address")
        << rtu << readHolding(100, 2) << readRequest << frameBytes("05 03 04 00 01 00 02 CRC") << -1
        << int(Modbus::ResponseNotFromRequestedSlave) << "";
    QTest::newRow("RTU over TCP: a CRC error through the gateway")
        << rtu << readHolding(100, 2) << readRequest << frameBytes("01 03 04 00 01 00 02 00 00")
        << -1 << int(Modbus::InvalidCrc) << "";
    QTest::newRow("RTU over TCP: exception")
        << rtu << readHolding(100, 2) << readRequest << frameBytes("01 83 02 CRC") << -1
        << int(Modbus::IllegalDataAddress) << "";

    for (const Stream ascii : {Stream::AsciiTcp, Stream::AsciiSerial}) {
        const char *name = streamName(ascii);
        // 01 + 03 + 00 + 64 + 00 + 02 = 0x6A, whose LRC is 0x96.
        const QByteArray read = ":01030064000296\r\n";
        const QByteArray words = asciiFrame("01 03 04 00 01 00 02 LRC");
        QTest::addRow("%s: read", name)
            << ascii << readHolding(100, 2) << read << words << 2 << 0 << "0001 0002";
        QTest::addRow("%s: write", name)
            << ascii << writeRegisters(5, {0x0102}) << asciiFrame("01 10 00 05 00 01 02 01 02 LRC")
            << asciiFrame("01 10 00 05 00 01 LRC") << 1 << 0 << "";
        QTest::addRow("%s: noise before the colon, lower-case digits", name)
            << ascii << readHolding(100, 2) << read << QByteArray("\n\x7F~ ") + words.toLower() << 2
            << 0 << "0001 0002";
        QTest::addRow("%s: exception", name)
            << ascii << readHolding(100, 2) << read << asciiFrame("01 83 02 LRC") << -1
            << int(Modbus::IllegalDataAddress) << "";
        QTest::addRow("%s: the frame of another address", name)
            << ascii << readHolding(100, 2) << read << asciiFrame("05 03 04 00 01 00 02 LRC") << -1
            << int(Modbus::ResponseNotFromRequestedSlave) << "";
        QTest::addRow("%s: bad LRC", name)
            << ascii << readHolding(100, 2) << read << asciiFrame("01 03 04 00 01 00 02 00") << -1
            << int(Modbus::InvalidLrc) << "";
        const int invalid = Modbus::InvalidAsciiFrame;
        const QList<QPair<const char *, QByteArray>> broken {
            {"not a hex digit", ":0103040G01000200F5\r\n"},
            {"CR without LF", ":01030400010002F5\rX"},
            {"an odd number of digits", ":01030400010002F\r\n"},
            {"cut by another colon", ":010304:01030400010002F5\r\n"},
            {"CR LF before its length", asciiFrame("01 03 04 00 01 LRC")},
            {"no CR LF where its length ends", ":01030400010002F500\r\n"},
        };
        for (const auto &row : broken)
            QTest::addRow("%s: %s", name, row.first)
                << ascii << readHolding(100, 2) << read << row.second << -1 << invalid << "";
    }
}

// One exchange against a peer that answers with the row's reply, then a
// read that shows the line good for the next request.
void TestEngineLines::exchange()
{
    QFETCH(Stream, stream);
    QFETCH(EngineCall, call);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(int, result);
    QFETCH(int, error);
    QFETCH(QString, output);

    GatewayLine line;
    QVERIFY(line.open(stream, 1));
    const QByteArray followUp = wire(stream, "01 03 00 00 00 01");
    ScriptedPeer peer;
    peer.start(line.peer(),
        {PeerStep {int(request.size()), reply, false},
            PeerStep {int(followUp.size()), wire(stream, "01 03 02 00 2A"), false}});

    errno = 0;
    QString data;
    const int rc = call(line.get(), &data);
    const int failure = errno;
    uint16_t word = 0;
    const int next = Modbus::readHoldingRegisters(line.get(), 0, 1, &word);
    const QList<QByteArray> requests = peer.finish();

    QCOMPARE(rc, result);
    if (result == -1)
        QCOMPARE(causeOf(failure), causeOf(error));
    QCOMPARE(data, output);
    QCOMPARE(requests.size(), 2);
    QCOMPARE(text(requests.at(0)), text(request));
    QCOMPARE(text(requests.at(1)), text(followUp));
    QCOMPARE(next, 1);
    QCOMPARE(word, uint16_t(42));
}

// The trace shows the frame's bytes, LRC included, as on the other lines.
void TestEngineLines::asciiTrace()
{
    GatewayLine line;
    QVERIFY(line.open(Stream::AsciiTcp, 1));
    ScriptedPeer peer;
    peer.start(line.peer(), {PeerStep {17, asciiFrame("01 03 02 00 2A LRC"), false}});
    Modbus::setDebug(line.get(), true);
    OutputCapture capture;
    uint16_t word = 0;
    const int rc = Modbus::readHoldingRegisters(line.get(), 100, 1, &word);
    capture.finish();
    peer.finish();
    QCOMPARE(rc, 1);
    QCOMPARE(capture.out(),
        QString("[01][03][00][64][00][01][97]\nWaiting for a confirmation...\n"
                "<01><03><02><00><2A><D0>\n"));
}

void TestEngineLines::hostileTiming_data()
{
    QTest::addColumn<Stream>("stream");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("gapMs"); // between the bytes; 0: all at once
    QTest::newRow("RTU over TCP: a trickle")
        << Stream::RtuTcp << frameBytes("01 03 02 00 2A CRC") << 600;
    QTest::newRow("ASCII over TCP: a trickle")
        << Stream::AsciiTcp << asciiFrame("01 03 02 00 2A LRC") << 300;
    QTest::newRow("ASCII over TCP: a frame that stops")
        << Stream::AsciiTcp << QByteArray(":0103020") << 0;
    QTest::newRow("ASCII on a serial line: a frame that stops")
        << Stream::AsciiSerial << QByteArray(":01030200") << 0;
    QTest::newRow("ASCII on a serial line: no CR LF after the LRC")
        << Stream::AsciiSerial << asciiFrame("01 03 02 00 2A LRC").chopped(2) << 0;
}

// Replies that never complete end within the response time-out and the
// line's allowance, with ETIMEDOUT.
void TestEngineLines::hostileTiming()
{
    QFETCH(Stream, stream);
    QFETCH(QByteArray, reply);
    QFETCH(int, gapMs);

    GatewayLine line;
    QVERIFY(line.open(stream, 1));
    QCOMPARE(Modbus::setResponseTimeout(line.get(), 300), 0);
    const int peerFd = line.peer();
    std::atomic<bool> stop {false};
    std::atomic<int> sent {0};
    std::thread peer([&] {
        readBytes(peerFd, stream == Stream::RtuTcp ? 8 : 17, 5000);
        for (int i = 0; i < reply.size() && !stop; i += gapMs > 0 ? 1 : int(reply.size())) {
            if (!writeBytes(peerFd, gapMs > 0 ? reply.mid(i, 1) : reply))
                break;
            sent = i + 1;
            if (gapMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        }
    });
    uint16_t word = 0;
    const int rc = Modbus::readHoldingRegisters(line.get(), 100, 1, &word);
    const int error = errno;
    stop = true;
    peer.join();
    QCOMPARE(rc, -1);
    QCOMPARE(causeOf(error), causeOf(ETIMEDOUT));
    if (gapMs > 0)
        QVERIFY2(sent < reply.size(), qPrintable(QString::number(sent)));
}

void TestEngineLines::tlsCredentials_data()
{
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("authorities");
    QTest::addColumn<QString>("cause");
    QTest::newRow("no certificate file") << "missing.pem"
                                         << "client.key"
                                         << "ca.pem" << causeOf(ENOENT);
    QTest::newRow("a folder as key") << "client.pem"
                                     << "."
                                     << "ca.pem" << causeOf(EISDIR);
    QTest::newRow("a FIFO as authorities") << "client.pem"
                                           << "client.key"
                                           << "fifo"
                                           << "Not a regular file";
    QTest::newRow("the key of another certificate") << "client.pem"
                                                    << "server.key"
                                                    << "ca.pem"
                                                    << "private key: key values mismatch";
    QTest::newRow("a certificate as key") << "client.pem"
                                          << "client.pem"
                                          << "ca.pem"
                                          << "private key: no PEM private key without pass "
                                             "phrase in the file";
    QTest::newRow("a key as certificate") << "client.key"
                                          << "client.key"
                                          << "ca.pem"
                                          << "certificate: no PEM certificate in the file";
    QTest::newRow("a key as authorities") << "client.pem"
                                          << "client.key"
                                          << "client.key"
                                          << "CA: no PEM certificate in the file";
}

// Files that do not serve end the connect before anything goes out: a port
// that refuses connections would otherwise give ECONNREFUSED.
void TestEngineLines::tlsCredentials()
{
    QFETCH(QString, certificate);
    QFETCH(QString, key);
    QFETCH(QString, authorities);
    QFETCH(QString, cause);

    const QByteArray fifo = QFile::encodeName(certificates.path("fifo"));
    QVERIFY(mkfifo(fifo.constData(), 0600) == 0 || errno == EEXIST);
    RefusingPort port;
    Modbus::ContextPtr context(Modbus::newTlsContext(
        "127.0.0.1", port.port(), tlsFiles(certificates, certificate, key, authorities)));
    QVERIFY(context);
    QCOMPARE(Modbus::connect(context.get()), -1);
    QCOMPARE(causeOf(errno), cause);
    QCOMPARE(context->socket, -1);
}

void TestEngineLines::tlsHostileHandshake_data()
{
    QTest::addColumn<QByteArray>("answer"); // after the client's hello; empty: none
    QTest::addColumn<bool>("close");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("cause");
    QTest::newRow("closes mid-handshake")
        << QByteArray() << true << false << "unexpected eof while reading";
    QTest::newRow("answers in the clear") << QByteArray("00 01 00 00 00 05 FF 03 02 00 2A") << true
                                          << false << "wrong version number";
    QTest::newRow("silent") << QByteArray() << false << false << causeOf(ETIMEDOUT);
    QTest::newRow("stopped while silent") << QByteArray() << false << true << causeOf(ECANCELED);
}

// A server that fails the handshake ends the connect within the response
// time-out with its cause, the socket closed.
void TestEngineLines::tlsHostileHandshake()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, close);
    QFETCH(bool, cancel);
    QFETCH(QString, cause);

    TcpListener listener;
    QVERIFY(listener.isOpen());
    Modbus::ContextPtr context(Modbus::newTlsContext("127.0.0.1", listener.port(),
        tlsFiles(certificates, "client.pem", "client.key", "ca.pem")));
    QVERIFY(context);
    Modbus::setResponseTimeout(context.get(), 500);
    int stopPipe[2];
    QCOMPARE(pipe(stopPipe), 0);
    if (cancel)
        Modbus::setCancelDescriptor(context.get(), stopPipe[0]);
    QByteArray hello;
    std::thread server([&] {
        const int fd = listener.accept();
        // The client's hello, whole, so that closing sends no reset.
        hello = readBytes(fd, 5, 5000);
        if (hello.size() == 5)
            hello += readBytes(fd, quint8(hello.at(3)) << 8 | quint8(hello.at(4)), 5000);
        if (!answer.isEmpty())
            writeBytes(fd, frameBytes(QString::fromLatin1(answer)));
        if (cancel && write(stopPipe[1], "x", 1) != 1)
            qWarning("cannot ask to stop");
        if (!close)
            readBytes(fd, 100000, 5000); // until the client gives up
        ::close(fd);
    });
    const int rc = Modbus::connect(context.get());
    const int error = errno;
    server.join();
    ::close(stopPipe[0]);
    ::close(stopPipe[1]);
    QCOMPARE(rc, -1);
    QVERIFY2(causeOf(error).startsWith(cause), qPrintable(causeOf(error)));
    QCOMPARE(text(hello.left(1)), QString("16")); // a handshake record, nothing in the clear
    QCOMPARE(context->socket, -1);
}

void TestEngineLines::tlsAgainstSimulator_data()
{
    QTest::addColumn<QString>("serverCertificate");
    QTest::addColumn<QString>("serverKey");
    QTest::addColumn<QString>("clientCertificate");
    QTest::addColumn<QString>("clientKey");
    QTest::addColumn<QString>("cause"); // empty: the read works
    QTest::addColumn<QString>("logged");
    QTest::newRow("good pair") << "server.pem"
                               << "server.key"
                               << "client.pem"
                               << "client.key"
                               << ""
                               << "role=Operator";
    QTest::newRow("client without role") << "server.pem"
                                         << "server.key"
                                         << "plain-client.pem"
                                         << "plain-client.key"
                                         << ""
                                         << "role=-";
    QTest::newRow("server of another authority") << "other-server.pem"
                                                 << "other-server.key"
                                                 << "client.pem"
                                                 << "client.key"
                                                 << "certificate verify failed: "
                                                 << "refused";
    QTest::newRow("expired server certificate")
        << "expired-server.pem"
        << "server.key"
        << "client.pem"
        << "client.key"
        << "certificate verify failed: certificate has expired"
        << "refused";
    QTest::newRow("client of another authority") << "server.pem"
                                                 << "server.key"
                                                 << "other-client.pem"
                                                 << "other-client.key"
                                                 << "*"
                                                 << "refused";
}

// The simulator verifies the client as the client verifies it; a refused
// handshake leaves the simulator without a single request.
void TestEngineLines::tlsAgainstSimulator()
{
    QFETCH(QString, serverCertificate);
    QFETCH(QString, serverKey);
    QFETCH(QString, clientCertificate);
    QFETCH(QString, clientKey);
    QFETCH(QString, cause);
    QFETCH(QString, logged);

    DevSim sim({"--tls", certificates.path(serverCertificate), certificates.path(serverKey),
        certificates.path("ca.pem"), "--holding", "7=42"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    Modbus::ContextPtr context(Modbus::newTlsContext("127.0.0.1", sim.tcpPort(),
        tlsFiles(certificates, clientCertificate, clientKey, "ca.pem")));
    QVERIFY(context);
    uint16_t word = 0;
    int rc = Modbus::connect(context.get());
    if (rc == 0)
        rc = Modbus::readHoldingRegisters(context.get(), 7, 1, &word);
    const QString failure = causeOf(errno);

    if (cause.isEmpty()) {
        QCOMPARE(rc, 1);
        QCOMPARE(word, uint16_t(42));
        QCOMPARE(sim.requestLog().size(), 1);
    } else {
        QCOMPARE(rc, -1);
        if (cause != "*")
            QVERIFY2(failure.startsWith(cause), qPrintable(failure));
        QVERIFY(sim.requestLog().isEmpty());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!sim.tlsLog().isEmpty(), 10000);
    QVERIFY2(sim.tlsLog().first().contains(logged), qPrintable(sim.tlsLog().join('\n')));

    // A session the server ended: sending on it fails, without SIGPIPE.
    if (cause.isEmpty()) {
        sim.stop();
        QCOMPARE(Modbus::readHoldingRegisters(context.get(), 7, 1, &word), -1);
        QCOMPARE(Modbus::readHoldingRegisters(context.get(), 7, 1, &word), -1);
    }
    Modbus::close(context.get());
}

QTEST_GUILESS_MAIN(TestEngineLines)
#include "tst_enginelines.moc"
