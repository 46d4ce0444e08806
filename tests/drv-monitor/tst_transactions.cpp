// From frames to what the monitor tells: which frame is a request and which
// a reply, the pairs and the requests left without one, the decoding of
// every function (values, bits, macros through the catalogue,
// identification), the transaction lines, the CSV rows and the summary.

#include "busstatistics.h"
#include "csvtable.h"
#include "engine/serialtiming.h"
#include "reportprinter.h"
#include "rtuframer.h"
#include "transactiontext.h"
#include "transactiontracker.h"
#include "wallclock.h"
#include "wireframe.h"

#include <QtTest>

namespace {

const qint64 CharacterUs = Modbus::characterMicroseconds(115200, 8, 'N', 1);
const qint64 SilenceUs = Modbus::frameSilenceMicroseconds(115200, 8, 'N', 1);
constexpr qint64 ReplyWindowUs = 1000000;
const QDateTime Anchor(QDate(2024, 5, 7), QTime(10, 15, 0));
constexpr qint64 AnchorUs = 1000000;

// Runs frames through the framer and the pairing. Each step is "HEX @MS":
// an RTU frame (its CRC added; "HEX !crc" with a wrong one, "HEX !cut"
// without one) whose first byte comes MS milliseconds after the last byte
// of the step before.
QVector<BusTransaction> transactions(const QStringList &steps)
{
    TransactionTracker tracker(ReplyWindowUs);
    RtuFramer framer(CharacterUs, SilenceUs, IncompleteFrameTimeoutUs, tracker);
    qint64 lastByteUs = AnchorUs;
    QVector<BusTransaction> result;
    for (const QString &step : steps) {
        const QString hex = step.section('@', 0, 0).section('!', 0, 0).trimmed();
        const QString fault = step.section('@', 0, 0).section('!', 1).trimmed();
        const double gapMs = step.section('@', 1).toDouble();
        QByteArray bytes
            = fault == "cut" ? WireFrame::fromHex(hex) : WireFrame::fromHex(WireFrame::rtu(hex));
        if (fault == "crc")
            bytes[bytes.size() - 1] = char(~bytes.at(bytes.size() - 1));
        const qint64 firstUs = lastByteUs + qint64(gapMs * 1000);
        // The silence before it decides what waited for it.
        framer.advance(firstUs - CharacterUs);
        tracker.expire(firstUs - CharacterUs);
        lastByteUs = firstUs + (bytes.size() - 1) * CharacterUs;
        framer.feed(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size(), lastByteUs);
        result += tracker.takeTransactions();
    }
    framer.finish();
    tracker.finish();
    result += tracker.takeTransactions();
    return result;
}

QStringList lines(const QVector<BusTransaction> &list, bool hex = false)
{
    QStringList text;
    for (const BusTransaction &transaction : list) {
        const qint64 us
            = transaction.hasRequest ? transaction.request.startUs : transaction.reply.startUs;
        text += TransactionText::line(transaction, Anchor.addMSecs((us - AnchorUs) / 1000), hex);
    }
    return text;
}

// The macro payload words: code, ~code, spec and count, the parameters,
// ~spec and ~count.
QString payload(quint16 code, quint8 spec, const QVector<quint16> &params)
{
    return WireFrame::macroPayload(code, spec, params);
}

} // namespace

class tst_transactions : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void hexLines();
    void csvRows();
    void summary();
    void wallClock();
};

void tst_transactions::lines_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");

    const QString t0 = "2024-05-07 10:15:00.000 ";
    QTest::newRow("read holding registers")
        << QStringList {"01 03 00 64 00 03 @0", "01 03 06 04 D2 FB 2E 12 34 @4"}
        << QStringList {
               t0 + "address 1 Read Holding Registers start 100 count 3: 1234 64302 4660 (4 ms)"};
    QTest::newRow("read input registers, exception")
        << QStringList {"02 04 FF FF 00 02 @0", "02 84 02 @12"}
        << QStringList {t0
               + "address 2 Read Input Registers start 65535 count 2: exception 2, Illegal data "
                 "address (12 ms)"};
    QTest::newRow("exception codes without a Modbus name")
        << QStringList {"01 03 00 00 00 01 @0", "01 83 0C @3"}
        << QStringList {t0
               + "address 1 Read Holding Registers start 0 count 1: exception 12, Invalid "
                 "exception code (3 ms)"};
    QTest::newRow("read coils: the bits asked, first bit first")
        << QStringList {"01 01 00 00 00 0A @0", "01 01 02 55 01 @2"}
        << QStringList {t0 + "address 1 Read Coils start 0 count 10: 1 0 1 0 1 0 1 0 1 0 (2 ms)"};
    QTest::newRow("read discrete inputs")
        << QStringList {"01 02 00 10 00 03 @0", "01 02 01 06 @2"}
        << QStringList {t0 + "address 1 Read Discrete Inputs start 16 count 3: 0 1 1 (2 ms)"};
    QTest::newRow("write single coil: request, then its echo")
        << QStringList {"01 05 00 07 FF 00 @0", "01 05 00 07 FF 00 @5"}
        << QStringList {t0 + "address 1 Write Single Coil coil 7 value 1: OK (5 ms)"};
    QTest::newRow("write single register")
        << QStringList {"01 06 00 01 00 05 @0", "01 06 00 01 00 05 @5"}
        << QStringList {t0 + "address 1 Write Single Register register 1 value 5: OK (5 ms)"};
    QTest::newRow("write multiple coils")
        << QStringList {"01 0F 00 00 00 0A 02 55 01 @0", "01 0F 00 00 00 0A @3"}
        << QStringList {t0
               + "address 1 Write Multiple Coils start 0 count 10 values 1 0 1 0 1 0 1 0 1 0: OK "
                 "(3 ms)"};
    QTest::newRow("write multiple registers")
        << QStringList {"01 10 00 64 00 02 04 00 01 FF FF @0", "01 10 00 64 00 02 @3"}
        << QStringList {t0
               + "address 1 Write Multiple Registers start 100 count 2 values 1 65535: OK (3 ms)"};
    QTest::newRow("macro write, named by the catalogue")
        << QStringList {"01 10 00 00 00 07 0E " + payload(44, 1, {1, 0x3231, 0x3433}) + " @0",
               "01 10 00 00 00 07 @6"}
        << QStringList {t0
               + "address 1 Macro FD_MACRO_LOGIN code 44 spec 1 params 1 12849 13363: OK (6 ms)"};
    QTest::newRow("macro write of a code the catalogue lacks")
        << QStringList {"01 10 00 00 00 05 0A " + payload(99, 3, {7}) + " @0",
               "01 10 00 00 00 05 @6"}
        << QStringList {t0 + "address 1 Macro code 99 spec 3 params 7: OK (6 ms)"};
    QTest::newRow("register 0 written without a macro payload")
        << QStringList {"01 10 00 00 00 01 02 00 2C @0", "01 10 00 00 00 01 @6"}
        << QStringList {
               t0 + "address 1 Write Multiple Registers start 0 count 1 values 44: OK (6 ms)"};
    QTest::newRow("macro read: the serial number")
        << QStringList {"01 41 00 00 00 04 " + payload(226, 1, {}) + " @0",
               "01 41 0A " + payload(226, 1, {12345}) + " @7"}
        << QStringList {t0 + "address 1 Macro Read FD_MACRO_GET_SN code 226 spec 1: 12345 (7 ms)"};
    QTest::newRow("macro read: the device information, as the macro driver shows it")
        << QStringList {"01 41 00 00 00 04 " + payload(225, 1, {}) + " @0",
               "01 41 0E " + payload(225, 1, {3, 2, 1}) + " @7"}
        << QStringList {t0
               + "address 1 Macro Read FD_MACRO_GET_DEVICE_INFO code 225 spec 1: Profile: 3; Sets "
                 "of settings: 2; State of operation: 1 (7 ms)"};
    QTest::newRow("macro read: too few words")
        << QStringList {"01 41 00 00 00 04 " + payload(225, 1, {}) + " @0",
               "01 41 0C " + payload(225, 1, {3, 2}) + " @7"}
        << QStringList {t0
               + "address 1 Macro Read FD_MACRO_GET_DEVICE_INFO code 225 spec 1: error: returned "
                 "regs count < required (7 ms)"};
    QTest::newRow("identification, version 1; control characters shown as codes")
        << QStringList {"01 11 @0", "01 11 65 71 07 6C 69 53 00 6D 00 00 @9"}
        << QStringList {t0 + "address 1 Identification: version 1 qel\\x07Sim (9 ms)"};
    QTest::newRow("identification, version 4")
        << QStringList {"07 11 @0", "07 11 42 52 20 34 65 64 69 76 65 63 31 20 33 32 00 00 @9"}
        << QStringList {t0 + "address 7 Identification: version 4 RB4 device 123 (9 ms)"};
    QTest::newRow("standard report server id")
        << QStringList {"01 11 @0", "01 11 09 50 79 6D 6F 64 62 75 73 FF @2"}
        << QStringList {t0 + "address 1 Report Server ID: 50 79 6D 6F 64 62 75 73 FF (2 ms)"};
    QTest::newRow("read device identification")
        << QStringList {"01 2B 0E 01 00 @0",
               "01 2B 0E 01 01 00 00 02 00 03 71 65 6C 01 03 53 69 6D @4"}
        << QStringList {t0
               + "address 1 Read Device Identification code 1 object 0: 0=\"qel\" 1=\"Sim\" (4 "
                 "ms)"};
    QTest::newRow("broadcast: nobody answers")
        << QStringList {"00 10 00 00 00 01 02 00 07 @0", "01 03 00 00 00 01 @50",
               "01 03 02 00 07 @2"}
        << QStringList {
               t0 + "address 0 Write Multiple Registers start 0 count 1 values 7: broadcast",
               "2024-05-07 10:15:00.050 address 1 Read Holding Registers start 0 count 1: 7 (2 "
               "ms)"};
    QTest::newRow("the next request ends an unanswered one; the listening ends the last")
        << QStringList {"01 03 00 00 00 01 @0", "02 03 00 00 00 01 @100"}
        << QStringList {t0 + "address 1 Read Holding Registers start 0 count 1: no reply",
               "2024-05-07 10:15:00.100 address 2 Read Holding Registers start 0 count 1: "
               "listening ended"};
    QTest::newRow("a reply after the window answers nothing")
        << QStringList {"01 03 00 00 00 01 @0", "01 03 02 00 07 @1200"}
        << QStringList {t0 + "address 1 Read Holding Registers start 0 count 1: no reply",
               "2024-05-07 10:15:01.200 address 1 Read Holding Registers: 7 (request not seen)"};
    QTest::newRow("a reply of another address answers nothing")
        << QStringList {"01 03 00 00 00 01 @0", "05 03 02 00 07 @3"}
        << QStringList {
               "2024-05-07 10:15:00.003 address 5 Read Holding Registers: 7 (request not seen)",
               t0 + "address 1 Read Holding Registers start 0 count 1: listening ended"};
    QTest::newRow("a reply with a bad CRC")
        << QStringList {"01 03 00 00 00 01 @0", "01 03 02 00 07 !crc @4", "01 03 00 00 00 01 @100",
               "01 03 02 00 07 @4"}
        << QStringList {t0
                   + "address 1 Read Holding Registers start 0 count 1: CRC error 01 03 02 00 07 "
                     "F9 79 (4 ms)",
               "2024-05-07 10:15:00.105 address 1 Read Holding Registers start 0 count 1: 7 (4 "
               "ms)"};
    QTest::newRow("a truncated reply")
        << QStringList {"01 03 00 00 00 02 @0", "01 03 04 00 07 !cut @4", "01 03 00 00 00 02 @500",
               "01 03 04 00 07 00 08 @4"}
        << QStringList {t0
                   + "address 1 Read Holding Registers start 0 count 2: truncated frame 01 03 04 "
                     "00 07 (4 ms)",
               "2024-05-07 10:15:00.504 address 1 Read Holding Registers start 0 count 2: 7 8 (4 "
               "ms)"};
    QTest::newRow("a frame of no known shape, answering nothing")
        << QStringList {"01 07 @0"} << QStringList {t0 + "unknown frame: 01 07 41 E2"};
    QTest::newRow("a quantity that disagrees with the byte count")
        << QStringList {"01 10 00 64 00 02 02 00 01 @0", "01 10 00 64 00 02 @3"}
        << QStringList {
               t0 + "address 1 Write Multiple Registers start 100 count 2 values 1: OK (3 ms)"};
    QTest::newRow("a coil value other than on or off")
        << QStringList {"01 05 00 07 12 34 @0", "01 05 00 07 12 34 @3"}
        << QStringList {
               t0 + "address 1 Write Single Coil coil 7 value 0: OK, malformed frame (3 ms)"};
}

void tst_transactions::lines()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    QCOMPARE(::lines(transactions(steps)), expected);
}

void tst_transactions::hexLines()
{
    const QStringList found = ::lines(
        transactions({"01 03 00 64 00 01 @0", "01 03 02 00 07 @4", "FF FE @20", "01 07 @20"}),
        true);
    QCOMPARE(found,
        QStringList(
            {"2024-05-07 10:15:00.000 address 1 Read Holding Registers start 100 count 1: 7 "
             "(4 ms)\n  request: 01 03 00 64 00 01 C5 D5\n  reply: 01 03 02 00 07 F9 86",
                "2024-05-07 10:15:00.025 unknown frame: FF FE C1 C0",
                "2024-05-07 10:15:00.045 unknown frame: 01 07 41 E2"}));
}

void tst_transactions::csvRows()
{
    const QVector<BusTransaction> list
        = transactions({"01 03 00 64 00 02 @0", "01 03 04 04 D2 FB 2E @4", "01 03 00 64 00 01 @50",
            "01 83 02 @3", "01 06 00 01 00 05 @50", "01 06 00 01 00 05 @2", "01 2B 0E 01 00 @50",
            "01 2B 0E 01 01 00 00 01 00 05 61 2C 22 62 0A @4", "02 03 00 00 00 01 @50",
            "01 03 02 00 07 !crc @100"});
    QByteArray text = TransactionText::csvHeader().toUtf8() + "\r\n";
    for (const BusTransaction &transaction : list) {
        const QStringList rows = TransactionText::csvRows(transaction,
            Anchor.addMSecs((transaction.request.startUs - AnchorUs) / 1000),
            Anchor.addMSecs((transaction.reply.startUs - AnchorUs) / 1000));
        for (const QString &row : rows)
            text += row.toUtf8() + "\r\n";
    }
    QList<QStringList> records;
    QVERIFY2(parseCsv(text, &records), text.constData());
    const QString offset
        = Anchor.toOffsetFromUtc(Anchor.offsetFromUtc()).toString(Qt::ISODateWithMs).mid(23);
    const auto at
        = [&](const char *time) { return QStringLiteral("2024-05-07T10:15:") + time + offset; };
    // Rows come as their transactions complete: the request still waiting
    // when the CRC error came is written after it.
    const QList<QStringList> expected {
        {"time", "direction", "address", "function", "start", "count", "values", "response ms",
            "status", "hex"},
        {at("00.000"), "request", "1", "Read Holding Registers", "100", "2", "", "", "OK",
            "01 03 00 64 00 02 85 D4"},
        {at("00.004"), "reply", "1", "Read Holding Registers", "", "", "1234 64302", "4", "OK",
            "01 03 04 04 D2 FB 2E 98 16"},
        {at("00.055"), "request", "1", "Read Holding Registers", "100", "1", "", "", "OK",
            "01 03 00 64 00 01 C5 D5"},
        {at("00.058"), "reply", "1", "Read Holding Registers", "", "", "", "3",
            "Illegal data address", "01 83 02 C0 F1"},
        {at("00.109"), "request", "1", "Write Single Register", "1", "", "5", "", "OK",
            "01 06 00 01 00 05 18 09"},
        {at("00.111"), "reply", "1", "Write Single Register", "1", "", "", "2", "OK",
            "01 06 00 01 00 05 18 09"},
        {at("00.162"), "request", "1", "Read Device Identification", "", "", "code 1 object 0", "",
            "OK", "01 2B 0E 01 00 70 77"},
        {at("00.167"), "reply", "1", "Read Device Identification", "", "", "0=\"a,\"b\\x0A\"", "4",
            "OK", "01 2B 0E 01 01 00 00 01 00 05 61 2C 22 62 0A 38 89"},
        {at("00.319"), "", "", "", "", "", "", "", "CRC error", "01 03 02 00 07 F9 79"},
        {at("00.218"), "request", "2", "Read Holding Registers", "0", "1", "", "",
            "listening ended", "02 03 00 00 00 01 84 39"},
    };
    QCOMPARE(records.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(records.at(i), expected.at(i));
}

void tst_transactions::summary()
{
    BusStatistics statistics;
    const QVector<BusTransaction> list = transactions({"01 03 00 00 00 01 @0", "01 03 02 00 07 @4",
        "01 03 00 00 00 01 @50", "01 03 02 00 07 @9", "01 03 00 00 00 01 @50", "01 03 02 00 07 @2",
        "01 03 00 00 00 01 @50", "01 03 02 00 07 @3", "02 04 00 00 00 01 @50", "02 84 02 @10",
        "02 04 00 00 00 01 @50", "03 03 00 00 00 01 @50", "03 03 02 00 07 !crc @4", "01 07 @50",
        "00 06 00 01 00 05 @50"});
    for (const BusTransaction &transaction : list)
        statistics.add(transaction);
    QCOMPARE(statistics.frames(), qint64(15));
    QCOMPARE(statistics.transactions(), qint64(8));
    QCOMPARE(ReportPrinter::toPlainText(statistics.summary(3), "\n"),
        QString("Frames: 15\n"
                "Transactions: 8\n"
                "Noise bytes: 3\n"
                "Errors: 4\n"
                " Illegal data address: 1\n"
                " no reply: 1\n"
                " CRC error: 1\n"
                " unknown frame: 1\n"
                "Response times in ms:\n"
                " address 1: min 2, median 4, max 9 (4 replies)\n"
                " address 2: min 10, median 10, max 10 (1 reply)\n"));
}

// Steady-clock instants become local wall-clock times with their offset,
// rounded down to the millisecond on either side of the anchor.
void tst_transactions::wallClock()
{
    const qint64 epochMs = Anchor.toMSecsSinceEpoch();
    const WallClock clock(5000000, epochMs);
    QCOMPARE(clock.at(5000000).toMSecsSinceEpoch(), epochMs);
    QCOMPARE(clock.at(5001999).toMSecsSinceEpoch(), epochMs + 1);
    QCOMPARE(clock.at(4999999).toMSecsSinceEpoch(), epochMs - 1);
    const QDateTime later = clock.at(5000000 + qint64(200) * 24 * 3600 * 1000000);
    QCOMPARE(later.offsetFromUtc(),
        QDateTime::fromMSecsSinceEpoch(later.toMSecsSinceEpoch()).offsetFromUtc());
    QCOMPARE(TransactionText::lineTime(clock.at(5000000)), QString("2024-05-07 10:15:00.000"));
}

QTEST_GUILESS_MAIN(tst_transactions)
#include "tst_transactions.moc"
