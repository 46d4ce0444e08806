// The engine's frame codecs that other parts reuse: the RTU CRC against a
// bit-by-bit one written apart, the ASCII frame (hex digits and LRC) both
// ways with every way a received frame can be wrong, and the silence that
// ends an RTU frame.

#include "engine/asciiframe.h"
#include "engine/crc16.h"
#include "engine/serialtiming.h"
#include "wireframe.h"

#include <QtTest>

class tst_frameCodecs : public QObject
{
    Q_OBJECT

private slots:
    void crc_data();
    void crc();
    void asciiEncode_data();
    void asciiEncode();
    void asciiDecode_data();
    void asciiDecode();
    void frameSilence_data();
    void frameSilence();
};

void tst_frameCodecs::crc_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("read request") << WireFrame::fromHex("01 03 00 64 00 03");
    QTest::newRow("one byte") << WireFrame::fromHex("FF");
    QTest::newRow("zeros") << QByteArray(40, '\0');
    QByteArray all;
    for (int i = 0; i < 254; ++i)
        all.append(char(i * 7 + 3));
    QTest::newRow("the longest frame") << all;
}

void tst_frameCodecs::crc()
{
    QFETCH(QByteArray, bytes);
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
    const quint16 expected = WireFrame::crc16(bytes);
    QCOMPARE(Modbus::crc16(data, bytes.size()), expected);

    const QByteArray frame = WireFrame::fromHex(WireFrame::rtu(WireFrame::toHex(bytes)));
    const auto *wire = reinterpret_cast<const uint8_t *>(frame.constData());
    QVERIFY(Modbus::hasValidCrc(wire, frame.size()));
    for (int i = 0; i < frame.size(); ++i) {
        QByteArray damaged = frame;
        damaged[i] = char(damaged.at(i) ^ 0x10);
        QVERIFY2(!Modbus::hasValidCrc(
                     reinterpret_cast<const uint8_t *>(damaged.constData()), damaged.size()),
            qPrintable(QString("byte %1 changed").arg(i)));
    }
    QVERIFY(!Modbus::hasValidCrc(wire, 2));
}

void tst_frameCodecs::asciiEncode_data()
{
    QTest::addColumn<QString>("hex");
    QTest::newRow("read request") << "01 03 00 64 00 03";
    QTest::newRow("LRC of zero") << "01 FF";
    QTest::newRow("reply with every digit") << "11 03 06 AB CD EF 01 23 45";
}

void tst_frameCodecs::asciiEncode()
{
    QFETCH(QString, hex);
    const QByteArray adu = WireFrame::fromHex(hex);
    QByteArray text(Modbus::Ascii::frameLength(adu.size()), '\0');
    const int length = Modbus::Ascii::encode(
        reinterpret_cast<const uint8_t *>(adu.constData()), adu.size(), text.data());
    QCOMPARE(length, text.size());
    QCOMPARE(text, WireFrame::ascii(hex));

    QByteArray decoded(text.size(), '\0');
    int decodedLength = 0;
    QCOMPARE(Modbus::Ascii::decode(text.constData(), text.size(),
                 reinterpret_cast<uint8_t *>(decoded.data()), &decodedLength),
        Modbus::Ascii::DecodeStatus::Ok);
    QCOMPARE(decoded.left(decodedLength), adu);
}

void tst_frameCodecs::asciiDecode_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("adu");
    using Status = Modbus::Ascii::DecodeStatus;

    QTest::newRow("upper case") << WireFrame::ascii("01 03 00 64 00 03") << int(Status::Ok)
                                << "01 03 00 64 00 03";
    QTest::newRow("lower case digits are taken") << WireFrame::ascii("0A 03 00 6B 00 03").toLower()
                                                 << int(Status::Ok) << "0A 03 00 6B 00 03";
    QTest::newRow("wrong LRC") << QByteArray(":010300640003FF\r\n") << int(Status::InvalidLrc)
                               << "";
    QTest::newRow("no colon") << QByteArray("010300640003 94\r\n") << int(Status::InvalidFrame)
                              << "";
    QTest::newRow("no CR") << QByteArray(":01030064000394\n\n") << int(Status::InvalidFrame) << "";
    QTest::newRow("no line end") << QByteArray(":0103006400039411") << int(Status::InvalidFrame)
                                 << "";
    QTest::newRow("odd digit count")
        << QByteArray(":0103006400039\r\n") << int(Status::InvalidFrame) << "";
    QTest::newRow("not a digit") << QByteArray(":0103006G000394\r\n") << int(Status::InvalidFrame)
                                 << "";
    QTest::newRow("too short") << QByteArray(":01FF\r\n") << int(Status::InvalidFrame) << "";
}

void tst_frameCodecs::asciiDecode()
{
    QFETCH(QByteArray, text);
    QFETCH(int, status);
    QFETCH(QString, adu);
    QByteArray bytes(text.size(), '\0');
    int length = -1;
    QCOMPARE(int(Modbus::Ascii::decode(text.constData(), text.size(),
                 reinterpret_cast<uint8_t *>(bytes.data()), &length)),
        status);
    if (status == int(Modbus::Ascii::DecodeStatus::Ok))
        QCOMPARE(bytes.left(length), WireFrame::fromHex(adu));
    else
        QCOMPARE(length, -1);
}

void tst_frameCodecs::frameSilence_data()
{
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<QString>("format");
    QTest::addColumn<qint64>("characterUs");
    QTest::addColumn<qint64>("silenceUs");

    QTest::newRow("9600 8N1") << 9600 << "8N1" << qint64(1042) << qint64(3647);
    QTest::newRow("9600 8E1: eleven bits") << 9600 << "8E1" << qint64(1146) << qint64(4011);
    QTest::newRow("19200 8N2") << 19200 << "8N2" << qint64(573) << qint64(2005);
    QTest::newRow("38400: fixed") << 38400 << "8N1" << qint64(261) << qint64(1750);
    QTest::newRow("115200: fixed") << 115200 << "8N1" << qint64(87) << qint64(1750);
    QTest::newRow("a rate not in the table runs at 9600")
        << 12345 << "8N1" << qint64(1042) << qint64(3647);
}

void tst_frameCodecs::frameSilence()
{
    QFETCH(int, baudRate);
    QFETCH(QString, format);
    QFETCH(qint64, characterUs);
    QFETCH(qint64, silenceUs);
    const int dataBits = format.at(0).digitValue();
    const char parity = format.at(1).toLatin1();
    const int stopBits = format.at(2).digitValue();
    QCOMPARE(
        qint64(Modbus::characterMicroseconds(baudRate, dataBits, parity, stopBits)), characterUs);
    QCOMPARE(
        qint64(Modbus::frameSilenceMicroseconds(baudRate, dataBits, parity, stopBits)), silenceUs);
}

QTEST_GUILESS_MAIN(tst_frameCodecs)
#include "tst_framecodecs.moc"
