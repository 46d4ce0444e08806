// The simulator's own pieces: CRC, RTU frame lengths, fault rules, option
// values and the identification and text encodings.

#include "crc16.h"
#include "deviceidobjects.h"
#include "devicesimulator.h"
#include "faultplan.h"
#include "macroanswers.h"
#include "modbusslave.h"
#include "rtuframer.h"
#include "simoptions.h"
#include "wireframe.h"

#include <QtTest>

class TestDevSimParts : public QObject
{
    Q_OBJECT
private slots:
    void crcKnownAnswers_data();
    void crcKnownAnswers();
    void crcValidity();
    void frameLength_data();
    void frameLength();
    void framerCutsConsecutiveFrames();
    void faultRule_data();
    void faultRule();
    void faultSelection();
    void everyNthRequest_data();
    void everyNthRequest();
    void identificationBytes_data();
    void identificationBytes();
    void textWords_data();
    void textWords();
    void profileHeaderLayout();
    void words_data();
    void words();
    void device_data();
    void device();
    void options_data();
    void options();
    void usageRows_data();
    void usageRows();
    void usageOptionsAreKnown();
    void distortion_data();
    void distortion();
    void objectsSplitAcrossReplies();
};

void TestDevSimParts::crcKnownAnswers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("crc");
    QTest::newRow("read one register") << QByteArray::fromHex("010300000001") << 0x0A84;
    QTest::newRow("read 3 from 0x6B at 0x11") << QByteArray::fromHex("1103006B0003") << 0x8776;
    QTest::newRow("read input register") << QByteArray::fromHex("010400000001") << 0xCA31;
    QTest::newRow("check string") << QByteArray("123456789") << 0x4B37;
    QTest::newRow("nothing") << QByteArray() << 0xFFFF;
}

void TestDevSimParts::crcKnownAnswers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, crc);
    QCOMPARE(int(Crc16::compute(bytes)), crc);
    QCOMPARE(int(WireFrame::crc16(bytes)), crc); // the tests' own, bit by bit
    const QByteArray framed = Crc16::appended(bytes);
    QCOMPARE(framed.size(), bytes.size() + 2);
    QCOMPARE(quint8(framed.at(framed.size() - 2)), quint8(crc & 0xFF)); // low byte first
    QCOMPARE(quint8(framed.at(framed.size() - 1)), quint8(crc >> 8));
}

void TestDevSimParts::crcValidity()
{
    const QByteArray good = QByteArray::fromHex("010300000001840A");
    QVERIFY(Crc16::isValid(good));
    QByteArray swapped = QByteArray::fromHex("0103000000010A84");
    QVERIFY(!Crc16::isValid(swapped));
    for (int i = 0; i < good.size(); ++i) {
        QByteArray damaged = good;
        damaged[i] = static_cast<char>(damaged.at(i) ^ 0x10);
        QVERIFY2(!Crc16::isValid(damaged), qPrintable(QString::number(i)));
    }
    QVERIFY(!Crc16::isValid(QByteArray::fromHex("01")));
}

void TestDevSimParts::frameLength_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<int>("length");
    QTest::newRow("address only") << QByteArray::fromHex("01") << 0;
    QTest::newRow("function 3") << QByteArray::fromHex("0103") << 8;
    QTest::newRow("function 4") << QByteArray::fromHex("0104") << 8;
    QTest::newRow("function 6") << QByteArray::fromHex("0106") << 8;
    QTest::newRow("identification") << QByteArray::fromHex("0111") << 4;
    QTest::newRow("function 16 before byte count") << QByteArray::fromHex("011000000002") << 0;
    QTest::newRow("function 16, 2 registers") << QByteArray::fromHex("01100000000204") << 13;
    QTest::newRow("function 16, 123 registers") << QByteArray::fromHex("01100000007B") << 0;
    QTest::newRow("function 16, byte count 246") << QByteArray::fromHex("01100000007BF6") << 255;
    QTest::newRow("function 16, beyond 256") << QByteArray::fromHex("01100000007FFF") << -1;
    QTest::newRow("macro read before quantity") << QByteArray::fromHex("01410000") << 0;
    QTest::newRow("macro read, 2 parameters") << QByteArray::fromHex("014100000006") << 20;
    QTest::newRow("macro read, no parameters") << QByteArray::fromHex("014100000004") << 16;
    QTest::newRow("macro read, 117 parameters") << QByteArray::fromHex("014100000079") << 250;
    QTest::newRow("function 23 before byte count") << QByteArray::fromHex("0117000000010000") << 0;
    QTest::newRow("unknown function") << QByteArray::fromHex("012B0D") << -1;
    QTest::newRow("function 1") << QByteArray::fromHex("0101") << 8;
    QTest::newRow("function 5") << QByteArray::fromHex("0105") << 8;
    QTest::newRow("function 15, 10 coils") << QByteArray::fromHex("010F0000000A02") << 11;
    QTest::newRow("function 15, 1968 coils") << QByteArray::fromHex("010F000007B0F6") << 255;
    QTest::newRow("function 43 before MEI type") << QByteArray::fromHex("012B") << 0;
    QTest::newRow("device identification") << QByteArray::fromHex("012B0E") << 7;
}

void TestDevSimParts::frameLength()
{
    QFETCH(QByteArray, head);
    QFETCH(int, length);
    QCOMPARE(RtuFramer::frameLength(head), length);
}

void TestDevSimParts::framerCutsConsecutiveFrames()
{
    RtuFramer framer;
    const QByteArray read = QByteArray::fromHex("010300000001840A");
    const QByteArray identification = Crc16::appended(QByteArray::fromHex("0211"));
    framer.append(read.left(3));
    QVERIFY(framer.takeFrame().isEmpty());
    framer.append(read.mid(3) + identification + QByteArray::fromHex("01"));
    QCOMPARE(framer.takeFrame(), read);
    QCOMPARE(framer.takeFrame(), identification);
    QVERIFY(framer.takeFrame().isEmpty());
    QVERIFY(framer.hasPending());
    QCOMPARE(framer.takePending(), QByteArray::fromHex("01"));
    QVERIFY(!framer.hasPending());
}

void TestDevSimParts::faultRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("address");
    const auto k = [](FaultKind kind) { return static_cast<int>(kind); };
    QTest::newRow("exception") << "exception=2" << true << k(FaultKind::Exception) << 2 << 0 << -1
                               << -1;
    QTest::newRow("exception on request 3")
        << "exception=4,request=3" << true << k(FaultKind::Exception) << 4 << 3 << -1 << -1;
    QTest::newRow("delay for function 0x41")
        << "delay=2500,function=0x41" << true << k(FaultKind::Delay) << 2500 << 0 << 0x41 << -1;
    QTest::newRow("silent for address 5")
        << "silent,address=5" << true << k(FaultKind::Silent) << 0 << 0 << -1 << 5;
    QTest::newRow("length -1") << "length=-1" << true << k(FaultKind::Length) << -1 << 0 << -1
                               << -1;
    QTest::newRow("all scopes") << "bad-crc,request=2,function=3,address=7" << true
                                << k(FaultKind::BadCrc) << 0 << 2 << 3 << 7;
    QTest::newRow("unknown kind") << "explode" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("exception without code") << "exception" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("exception code 256") << "exception=256" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("negative delay") << "delay=-5" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("delay not a number") << "delay=soon" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("request 0") << "silent,request=0" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("unknown scope") << "silent,line=2" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("scope without value") << "silent,request" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("function 256") << "silent,function=256" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("trickle for function 3")
        << "trickle=400,function=3" << true << k(FaultKind::Trickle) << 400 << 0 << 3 << -1;
    QTest::newRow("trickle without gap") << "trickle" << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("negative trickle") << "trickle=-400" << false << 0 << 0 << 0 << 0 << 0;
}

void TestDevSimParts::faultRule()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QString error;
    const std::optional<FaultRule> rule = FaultPlan::parseRule(text, &error);
    QCOMPARE(rule.has_value(), valid);
    if (!valid) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QFETCH(int, kind);
    QFETCH(int, value);
    QFETCH(int, request);
    QFETCH(int, function);
    QFETCH(int, address);
    QCOMPARE(static_cast<int>(rule->kind), kind);
    QCOMPARE(rule->value, value);
    QCOMPARE(rule->request, request);
    QCOMPARE(rule->function, function);
    QCOMPARE(rule->address, address);
}

void TestDevSimParts::faultSelection()
{
    FaultPlan plan;
    QString error;
    for (const char *text : {"exception=6,request=2", "delay=100,function=3", "bad-crc,address=9",
             "partial", "bad-transaction", "bad-protocol=7"}) {
        const auto rule = FaultPlan::parseRule(QString::fromLatin1(text), &error);
        QVERIFY2(rule, qPrintable(error));
        plan.addRule(*rule);
    }
    ActiveFaults first = plan.select(1, 3, 1);
    QCOMPARE(first.exceptionCode, -1);
    QCOMPARE(first.delayMs, 100);
    QVERIFY(!first.badCrc);
    QCOMPARE(first.partialBytes, -1);
    QCOMPARE(first.transaction, -1);
    QCOMPARE(first.protocol, 7);
    ActiveFaults second = plan.select(2, 4, 9);
    QCOMPARE(second.exceptionCode, 6);
    QCOMPARE(second.delayMs, 0);
    QVERIFY(second.badCrc);
}

void TestDevSimParts::everyNthRequest_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QList<bool>>("applies"); // to requests 1, 2, 3, ...
    QTest::newRow("every third") << "close,every=3"
                                 << QList<bool> {false, false, true, false, false, true, false};
    QTest::newRow("every one") << "close,every=1" << QList<bool> {true, true, true};
    QTest::newRow("with a function")
        << "close,every=2,function=4" << QList<bool> {false, false, false, false};
    QTest::newRow("every tenth drop")
        << "drop,every=10"
        << QList<bool> {false, false, false, false, false, false, false, false, false, true, false};
}

void TestDevSimParts::everyNthRequest()
{
    QFETCH(QString, rule);
    QFETCH(QList<bool>, applies);
    QString error;
    const std::optional<FaultRule> parsed = FaultPlan::parseRule(rule, &error);
    QVERIFY2(parsed, qPrintable(error));
    FaultPlan plan;
    plan.addRule(*parsed);
    for (int i = 0; i < applies.size(); ++i) {
        const ActiveFaults faults = plan.select(i + 1, 3, 1);
        QCOMPARE(faults.close || faults.drop, applies.at(i));
    }
    QVERIFY(!FaultPlan::parseRule("close,every=0", &error));
    QVERIFY(!FaultPlan::parseRule("close,every=-3", &error));
    QVERIFY(!FaultPlan::parseRule("close=1x", &error));
}

void TestDevSimParts::identificationBytes_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("version 1") << 1 << QByteArray("ABCDEFGHIJ") << QByteArray("BADCFEHGJI");
    QTest::newRow("version 2, padded")
        << 2 << QByteArray("RB4") << QByteArray("BR\0\x34\0\0\0\0\0\0\0\0", 12);
    QTest::newRow("version 3, odd length")
        << 3 << QByteArray("QEL-RB4 v3") << QByteArray("EQ-LBR 43v\0\0\0\0", 14);
    QTest::newRow("version 4, cut")
        << 4 << QByteArray("0123456789abcdefXYZ") << QByteArray("1032547698badcfe");
}

void TestDevSimParts::identificationBytes()
{
    QFETCH(int, version);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, wire);
    DeviceProfile device;
    device.identificationVersion = version;
    device.identification = text;
    const QByteArray bytes = ModbusSlave::identificationBytes(device);
    QCOMPARE(bytes.size(), 8 + 2 * version);
    QCOMPARE(bytes, wire);
    // A master that stores each pair (high, low) as a little-endian word reads the text back.
    QByteArray master;
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        master.append(bytes.at(i + 1)).append(bytes.at(i));
    QCOMPARE(master.left(master.indexOf('\0') < 0 ? master.size() : master.indexOf('\0')),
        text.left(8 + 2 * version));
}

void TestDevSimParts::textWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<quint16>>("words");
    QTest::newRow("two characters") << "AB" << 2 << QVector<quint16> {0x4241, 0};
    QTest::newRow("odd") << "ABC" << 2 << QVector<quint16> {0x4241, 0x0043};
    QTest::newRow("cut") << "ABCDEF" << 2 << QVector<quint16> {0x4241, 0x4443};
    QTest::newRow("latin-1") << QString::fromUtf8("é") << 1 << QVector<quint16> {0x00E9};
    QTest::newRow("empty") << "" << 1 << QVector<quint16> {0};
}

void TestDevSimParts::textWords()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QVector<quint16>, words);
    QCOMPARE(MacroAnswers::textWords(text, count), words);
}

void TestDevSimParts::profileHeaderLayout()
{
    MacroAnswers data;
    data.profileName = QStringLiteral("NAME");
    data.profileDescription = QStringLiteral("DE");
    data.profileModel = QStringLiteral("MO");
    data.profileVersion = 9;
    data.profileSize = 300;
    data.profileBlocknet = 45;
    data.profileProgramCrc = 46;
    data.profileHeaderCrc = 47;
    const QVector<quint16> words = MacroAnswers::profileHeader(data, 3);
    QCOMPARE(words.size(), 48);
    QCOMPARE(words.at(0), quint16(3));
    QCOMPARE(words.at(2), quint16(9));
    QCOMPARE(words.at(3), quint16(300));
    QCOMPARE(words.at(5), quint16(0x4F4D)); // "MO"
    QCOMPARE(words.at(6), quint16(0));
    QCOMPARE(words.at(13), quint16(0x414E)); // "NA"
    QCOMPARE(words.at(14), quint16(0x454D)); // "ME"
    QCOMPARE(words.at(15), quint16(0));
    QCOMPARE(words.at(29), quint16(0x4544)); // "DE"
    QCOMPARE(words.at(45), quint16(45));
    QCOMPARE(words.at(46), quint16(46));
    QCOMPARE(words.at(47), quint16(47));
}

void TestDevSimParts::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QVector<quint16>>("words");
    QTest::newRow("decimal") << "1,2,65535" << true << QVector<quint16> {1, 2, 65535};
    QTest::newRow("hex and negative")
        << "0x00AB,-1,-32768" << true << QVector<quint16> {0xAB, 0xFFFF, 0x8000};
    QTest::newRow("empty") << "" << true << QVector<quint16> {};
    QTest::newRow("too big") << "65536" << false << QVector<quint16> {};
    QTest::newRow("too small") << "-32769" << false << QVector<quint16> {};
    QTest::newRow("not a number") << "1,x" << false << QVector<quint16> {};
    QTest::newRow("empty part") << "1,,2" << false << QVector<quint16> {};
}

void TestDevSimParts::words()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QVector<quint16> result;
    QCOMPARE(SimOptions::parseWords(text, &result), valid);
    if (valid) {
        QFETCH(QVector<quint16>, words);
        QCOMPARE(result, words);
    }
}

void TestDevSimParts::device_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("serial");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("identification");
    const int answer = static_cast<int>(DeviceProfile::SerialNumberMode::Answer);
    const int silent = static_cast<int>(DeviceProfile::SerialNumberMode::Silent);
    const int exception = static_cast<int>(DeviceProfile::SerialNumberMode::Exception);
    QTest::newRow("address only") << "5" << true << 5 << 1 << 12345 << answer
                                  << QByteArray("qelDevSim");
    QTest::newRow("everything") << "7,version=3,sn=999,id=RB4, v1,2" << true << 7 << 3 << 999
                                << answer << QByteArray("RB4, v1,2");
    QTest::newRow("silent") << "9,sn=silent" << true << 9 << 1 << 12345 << silent
                            << QByteArray("qelDevSim");
    QTest::newRow("exception") << "9,sn=exception" << true << 9 << 1 << 12345 << exception
                               << QByteArray("qelDevSim");
    QTest::newRow("address 0") << "0" << false << 0 << 0 << 0 << 0 << QByteArray();
    QTest::newRow("address 248") << "248" << false << 0 << 0 << 0 << 0 << QByteArray();
    QTest::newRow("version 5") << "1,version=5" << false << 0 << 0 << 0 << 0 << QByteArray();
    QTest::newRow("serial too big") << "1,sn=65536" << false << 0 << 0 << 0 << 0 << QByteArray();
    QTest::newRow("unknown field") << "1,colour=red" << false << 0 << 0 << 0 << 0 << QByteArray();
}

void TestDevSimParts::device()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    DeviceProfile device;
    QString error;
    QCOMPARE(SimOptions::parseDevice(text, &device, &error), valid);
    if (!valid) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QFETCH(int, address);
    QFETCH(int, version);
    QFETCH(int, serial);
    QFETCH(int, mode);
    QFETCH(QByteArray, identification);
    QCOMPARE(device.address, address);
    QCOMPARE(device.identificationVersion, version);
    QCOMPARE(int(device.serialNumber), serial);
    QCOMPARE(static_cast<int>(device.serialNumberMode), mode);
    QCOMPARE(device.identification, identification);
}

void TestDevSimParts::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("result");
    const int run = static_cast<int>(SimOptions::Result::Run);
    const int help = static_cast<int>(SimOptions::Result::Help);
    const int error = static_cast<int>(SimOptions::Result::Error);
    QTest::newRow("nothing") << QStringList {} << run;
    QTest::newRow("help") << QStringList {"--pty", "--help"} << help;
    QTest::newRow("value inline") << QStringList {"--tcp=127.0.0.1:0"} << run;
    QTest::newRow("unknown option") << QStringList {"--colour"} << error;
    QTest::newRow("missing value") << QStringList {"--holding"} << error;
    QTest::newRow("two lines") << QStringList {"--pty", "--tcp", "0"} << error;
    QTest::newRow("port too big") << QStringList {"--tcp", "70000"} << error;
    QTest::newRow("baud rate 14400") << QStringList {"--baud", "14400"} << error;
    QTest::newRow("parity e") << QStringList {"--parity", "e"} << error;
    QTest::newRow("holding beyond 65535") << QStringList {"--holding", "65535=1,2"} << error;
    QTest::newRow("holding without address") << QStringList {"--holding", "1,2"} << error;
    QTest::newRow("holding at 65535") << QStringList {"--holding", "65535=7"} << run;
    QTest::newRow("address and device") << QStringList {"--address", "2", "--device", "3"} << error;
    QTest::newRow("same device twice") << QStringList {"--device", "3", "--device", "3"} << error;
    QTest::newRow("macro answer") << QStringList {"--macro-answer", "224="} << run;
    QTest::newRow("macro answer bad") << QStringList {"--macro-answer", "224"} << error;
    QTest::newRow("switch with value") << QStringList {"--pty=1"} << error;
    QTest::newRow("serial without device") << QStringList {"--serial", ""} << error;
    QTest::newRow("bad fault") << QStringList {"--fault", "melt"} << error;
    QTest::newRow("counters") << QStringList {"--count-holding", "65535", "--count-input",
        "0x10=-32768"} << run;
    QTest::newRow("counter step too big") << QStringList {"--count-input", "1=32768"} << error;
    QTest::newRow("counter without register") << QStringList {"--count-holding", "=2"} << error;
    QTest::newRow("counter beyond 65535") << QStringList {"--count-holding", "65536"} << error;
    QTest::newRow("coils and discrete inputs")
        << QStringList {"--coils", "0=1,0,1", "--discrete", "65534=10"} << run;
    QTest::newRow("coils not bits") << QStringList {"--coils", "0=102"} << error;
    QTest::newRow("coils without bits") << QStringList {"--coils", "7="} << error;
    QTest::newRow("discrete beyond 65535") << QStringList {"--discrete", "65535=11"} << error;
    QTest::newRow("identification object") << QStringList {"--id-object", "0x80=X"} << run;
    QTest::newRow("identification object 256") << QStringList {"--id-object", "256=X"} << error;
    QTest::newRow("identification object of 244 bytes")
        << QStringList {"--id-object", "3=" + QString(244, 'x')} << run;
    QTest::newRow("identification object of 245 bytes")
        << QStringList {"--id-object", "3=" + QString(245, 'x')} << error;
}

void TestDevSimParts::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, result);
    SimConfig config;
    QString error;
    QCOMPARE(static_cast<int>(SimOptions::parse(arguments, &config, &error)), result);
    QCOMPARE(error.isEmpty(), result != static_cast<int>(SimOptions::Result::Error));
}

void TestDevSimParts::usageRows_data()
{
    QTest::addColumn<QString>("rows");
    QTest::newRow("help column") << "\n  --tcp [HOST:]PORT        Modbus TCP server (default "
                                    "127.0.0.1:1502; port 0: any free port)\n";
    QTest::newRow("one blank before the help")
        << "\n  --holding ADDR=V1,V2,... initial holding registers (decimal, -32768.., 0x..)\n";
    QTest::newRow("two blanks after a long one")
        << "\n  --holding-file [ADDR=]FILE  holding image (16-bit words, low byte first)\n"
           "  --input-file [ADDR=]FILE    input image\n";
    QTest::newRow("help below") << "\n  --device A[,version=V][,sn=N|silent|exception][,id=TEXT]\n"
                                   "                           one device per option (replaces "
                                   "the single device);\n"
                                   "                           id= takes the rest of the value, "
                                   "commas included\n"
                                   "  --id-version V ";
    QTest::newRow("section") << "\n\nLogs:\n  --log FILE               every received frame";
    QTest::newRow("listed")
        << "\n\nFaults (repeatable): --fault KIND[=VALUE][,request=N][,function=F][,address=A]\n"
           "  exception=CODE  delay=MS  stall=MS  partial[=BYTES]  bad-crc  other-address=A\n";
    QTest::newRow("switch") << "\n  --help                   this text\n";
}

void TestDevSimParts::usageRows()
{
    QFETCH(QString, rows);
    QVERIFY2(SimOptions::usage().contains(rows), qPrintable(SimOptions::usage()));
}

void TestDevSimParts::usageOptionsAreKnown()
{
    // Every option the usage text names is one the parser takes, with or without a value.
    const QRegularExpression row(
        QStringLiteral("^(?:  |\\w.*: )(--[a-z-]+)"), QRegularExpression::MultilineOption);
    int count = 0;
    for (auto match = row.globalMatch(SimOptions::usage()); match.hasNext(); ++count) {
        const QString option = match.next().captured(1);
        SimConfig config;
        QString error;
        SimOptions::parse({option}, &config, &error);
        QVERIFY2(!error.startsWith(QLatin1String("unknown option")), qPrintable(error));
    }
    QCOMPARE(count, 48);
}

void TestDevSimParts::distortion_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("distorted");
    const QByteArray macro = QByteArray::fromHex("410A00E2FF1D01013039FEFE"); // GET_SN 12345
    QTest::newRow("code complement")
        << macro << "bad-code-complement" << QByteArray::fromHex("410A00E2FF1C01013039FEFE");
    QTest::newRow("spec complement")
        << macro << "bad-spec-complement" << QByteArray::fromHex("410A00E2FF1D01013039FFFE");
    QTest::newRow("count complement")
        << macro << "bad-count-complement" << QByteArray::fromHex("410A00E2FF1D01013039FEFF");
    QTest::newRow("macro two more")
        << macro << "length=2" << QByteArray::fromHex("410C00E2FF1D01013039FEFE0000");
    QTest::newRow("read two more")
        << QByteArray::fromHex("03020007") << "length" << QByteArray::fromHex("030400070000");
    QTest::newRow("read one fewer")
        << QByteArray::fromHex("03020007") << "length=-1" << QByteArray::fromHex("030100");
    QTest::newRow("identification one more")
        << QByteArray::fromHex("114142") << "length=1" << QByteArray::fromHex("11414200");
    QTest::newRow("complement of a read reply untouched") << QByteArray::fromHex(
        "03020007") << "bad-count-complement" << QByteArray::fromHex("03020007");
}

void TestDevSimParts::distortion()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, fault);
    QFETCH(QByteArray, distorted);
    QString error;
    FaultPlan plan;
    plan.addRule(*FaultPlan::parseRule(fault, &error));
    QCOMPARE(DeviceSimulator::distort(reply, plan.select(1, 0, 1)).toHex(), distorted.toHex());
}

// Objects that do not fit one reply go in the next: "more follows" names the
// first one left out, and the last reply says no more follow.
void TestDevSimParts::objectsSplitAcrossReplies()
{
    DeviceIdObjects objects;
    for (const int id : {0x80, 0x81, 0x82})
        objects.set(id, QByteArray(200, char(id)));
    const auto head = [](int more, int next, int count) {
        return QByteArray::fromHex("0E0383") + char(more) + char(next) + char(count);
    };
    const auto object = [](int id, const QByteArray &value) {
        return QByteArray(1, char(id)) + char(value.size()) + value;
    };
    const QByteArray basic = object(0, "qel") + object(1, "qelDevSim") + object(2, "1.0");
    int exception = -1;
    QCOMPARE(objects.reply(3, 0, &exception).toHex(),
        (head(0xFF, 0x81, 4) + basic + object(0x80, QByteArray(200, char(0x80)))).toHex());
    QCOMPARE(exception, 0);
    QCOMPARE(objects.reply(3, 0x81, &exception).toHex(),
        (head(0xFF, 0x82, 1) + object(0x81, QByteArray(200, char(0x81)))).toHex());
    QCOMPARE(objects.reply(3, 0x82, &exception).toHex(),
        (head(0, 0, 1) + object(0x82, QByteArray(200, char(0x82)))).toHex());
    // The basic objects alone, whatever else the device has.
    QCOMPARE(objects.reply(1, 0, &exception).size(), 6 + basic.size());
    QVERIFY(objects.reply(0, 0, &exception).isEmpty());
    QCOMPARE(exception, 3);
}

QTEST_GUILESS_MAIN(TestDevSimParts)
#include "tst_devsimparts.moc"
