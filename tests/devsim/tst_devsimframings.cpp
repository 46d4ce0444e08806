// qelDevSim with the framings of gateways and old devices, driven with raw
// bytes: RTU frames on TCP, ASCII frames on a pseudo-terminal and on TCP.
// Exact replies, frames a device ignores, several frames in one piece, the
// faults that damage a frame, and what the logs keep.

#include "devsim.h"
#include "rawmaster.h"
#include "wireframe.h"

#include <QtTest>

namespace {

enum class Framing { RtuTcp, AsciiTcp, AsciiSerial };

// The ASCII frame of hex bytes: ':', their digits and those of their LRC
// (damaged: its bits inverted), CR LF.
QByteArray ascii(const QString &hex, bool damagedLrc = false)
{
    const QByteArray bytes = WireFrame::fromHex(hex);
    const quint8 lrc = damagedLrc ? quint8(~WireFrame::lrc(bytes)) : WireFrame::lrc(bytes);
    return ':' + (bytes + char(lrc)).toHex().toUpper() + "\r\n";
}

QByteArray rtu(const QString &hex, bool damagedCrc = false)
{
    QByteArray frame = WireFrame::fromHex(WireFrame::rtu(hex));
    if (damagedCrc) {
        frame[frame.size() - 2] = char(~frame.at(frame.size() - 2));
        frame[frame.size() - 1] = char(~frame.at(frame.size() - 1));
    }
    return frame;
}

// The request or reply of a row on the row's framing.
QByteArray framed(Framing framing, const QString &hex)
{
    return framing == Framing::RtuTcp ? rtu(hex) : ascii(hex);
}

} // namespace

Q_DECLARE_METATYPE(Framing)

class TestDevSimFramings : public QObject
{
    Q_OBJECT
private slots:
    void exchange_data();
    void exchange();
};

void TestDevSimFramings::exchange_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply"); // empty: none within a quiet spell
    QTest::addColumn<QByteArray>("note"); // on standard error; empty: none

    const QStringList registers {"--holding", "100=1,2", "--device", "1", "--device", "3"};
    QTest::newRow("RTU over TCP: read") << Framing::RtuTcp << registers << rtu("01 03 00 64 00 02")
                                        << rtu("01 03 04 00 01 00 02") << QByteArray();
    QTest::newRow("RTU over TCP: two frames in one piece")
        << Framing::RtuTcp << registers << rtu("03 03 00 64 00 01") + rtu("01 03 00 65 00 01")
        << rtu("03 03 02 00 01") + rtu("01 03 02 00 02") << QByteArray();
    QTest::newRow("RTU over TCP: another address is not answered")
        << Framing::RtuTcp << registers << rtu("02 03 00 64 00 02") << QByteArray() << QByteArray();
    QTest::newRow("RTU over TCP: a bad CRC is ignored")
        << Framing::RtuTcp << registers << WireFrame::fromHex("01 03 00 64 00 02 00 00")
        << QByteArray() << QByteArray("bad CRC");
    QTest::newRow("RTU over TCP: the CRC damaged")
        << Framing::RtuTcp << registers + QStringList {"--fault", "bad-crc"}
        << rtu("01 03 00 64 00 01") << rtu("01 03 02 00 01", true) << QByteArray();

    for (const Framing framing : {Framing::AsciiTcp, Framing::AsciiSerial}) {
        const char *name
            = framing == Framing::AsciiTcp ? "ASCII over TCP" : "ASCII on a serial line";
        QTest::addRow("%s: read, spelled out", name)
            << framing << registers << QByteArray(":01030064000296\r\n")
            << QByteArray(":01030400010002F5\r\n") << QByteArray();
        QTest::addRow("%s: noise before the colon, lower-case digits", name)
            << framing << registers << QByteArray("\x11\r\n") + ascii("03 03 00 64 00 01").toLower()
            << ascii("03 03 02 00 01") << QByteArray();
        QTest::addRow("%s: two frames in one piece", name)
            << framing << registers << ascii("01 03 00 64 00 01") + ascii("03 03 00 65 00 01")
            << ascii("01 03 02 00 01") + ascii("03 03 02 00 02") << QByteArray();
        QTest::addRow("%s: exception", name) << framing << registers << ascii("01 03 FF FF 00 02")
                                             << ascii("01 83 02") << QByteArray();
        QTest::addRow("%s: a bad LRC is ignored", name)
            << framing << registers << ascii("01 03 00 64 00 02", true) << QByteArray()
            << QByteArray("bad LRC");
        QTest::addRow("%s: a character that is no digit", name)
            << framing << registers << QByteArray(":0103006X000296\r\n") << QByteArray()
            << QByteArray("bad ASCII frame");
        QTest::addRow("%s: a frame without its line feed", name)
            << framing << registers << QByteArray(":01030064000296\r") << QByteArray()
            << QByteArray("bad ASCII frame");
        QTest::addRow("%s: the LRC damaged", name)
            << framing << registers + QStringList {"--fault", "bad-crc"}
            << ascii("01 03 00 64 00 01") << ascii("01 03 02 00 01", true) << QByteArray();
        QTest::addRow("%s: another address's reply", name)
            << framing << registers + QStringList {"--fault", "other-address=9"}
            << ascii("01 03 00 64 00 01") << ascii("09 03 02 00 01") << QByteArray();
    }
}

// Each request is logged as it came; the reply goes out as the row says.
void TestDevSimFramings::exchange()
{
    QFETCH(Framing, framing);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, note);

    DevSim sim(QStringList {"--framing", framing == Framing::RtuTcp ? "RTU" : "ASCII"} + options);
    RawMaster master;
    if (framing == Framing::AsciiSerial)
        QVERIFY(sim.startRtu() && master.openSerial(sim.ptyPath()));
    else
        QVERIFY(sim.startTcp() && master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(request));
    if (reply.isEmpty())
        QCOMPARE(master.receiveUntilQuiet(300), QByteArray());
    else
        QCOMPARE(master.receive(reply.size()), reply);
    // Line noise before an ASCII frame is not part of it.
    const QByteArray logged
        = framing == Framing::RtuTcp ? request : request.mid(request.indexOf(':'));
    QTRY_COMPARE(WireFrame::fromHex(sim.requestLog().join(' ')), logged);
    if (note.isEmpty())
        QCOMPARE(sim.errorOutput(), QByteArray());
    else
        QTRY_VERIFY2(sim.errorOutput().contains(note), sim.errorOutput().constData());

    // The line goes on: a good request after it is answered.
    QVERIFY(master.send(framed(framing, "01 03 00 64 00 01")));
    const int size = framed(framing, "01 03 02 00 01").size();
    QCOMPARE(master.receive(size).size(), size);
}

QTEST_GUILESS_MAIN(TestDevSimFramings)
#include "tst_devsimframings.moc"
