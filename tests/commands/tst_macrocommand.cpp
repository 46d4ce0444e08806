// Cmm_Write_Macro and the engine's macro functions against the device
// simulator: the bytes on the wire over RTU and TCP, the answers of the
// data-returning macros, and the recovery after a failed exchange.

#include "cmm_write_macro.h"
#include "devsim.h"
#include "engine/modbus.h"
#include "wireframe.h"

#include <QtTest>

using CmmNamespace::Cmm_Write_Macro;
using Words = QVector<quint16>;

namespace {

// Starts the simulator on the line and connects an engine context to device 1.
Modbus::ContextPtr connectTo(DevSim &sim, bool tcp)
{
    if (tcp ? !sim.startTcp() : !sim.startRtu())
        return nullptr;
    Modbus::ContextPtr context(tcp
            ? Modbus::newTcpContext("127.0.0.1", sim.tcpPort())
            : Modbus::newRtuContext(sim.ptyPath().toLocal8Bit().constData(), 115200, 'N', 8, 1));
    if (!context || Modbus::setAddress(context.get(), 1) == -1
        || Modbus::connect(context.get()) == -1)
        return nullptr;
    return context;
}

// The request as the simulator logs it, from its bytes without a checksum
// (RTU) or without the header (TCP: unit identifier first).
QString logged(const QString &logLine, bool tcp)
{
    return tcp ? WireFrame::dropTransaction(logLine) : logLine;
}

QString expected(const QString &hex, bool tcp)
{
    return tcp ? WireFrame::tcpAfterTransaction(hex) : WireFrame::rtu(hex);
}

void addLines()
{
    QTest::addColumn<bool>("tcp");
}

} // namespace

class TestMacroCommand : public QObject
{
    Q_OBJECT

private slots:
    void engineMacroBytes_data();
    void engineMacroBytes();
    void catalogueWordsOnTheWire_data();
    void catalogueWordsOnTheWire();
    void answersFromTheDevice_data();
    void answersFromTheDevice();
    void failedRunFlushesAndTheNextSucceeds_data();
    void failedRunFlushesAndTheNextSucceeds();
    void refusedTextSendsNothing_data();
    void refusedTextSendsNothing();
    void parameterWordLimit_data();
    void parameterWordLimit();
};

void TestMacroCommand::engineMacroBytes_data()
{
    addLines();
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("request");
    const QString read = "01 41 00 00 00 06 01 02 FE FD 03 02 00 01 02 03 FC FD";
    const QString write = "01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD";
    QTest::newRow("read macro, RTU") << false << true << read;
    QTest::newRow("read macro, TCP") << true << true << read;
    QTest::newRow("write macro, RTU") << false << false << write;
    QTest::newRow("write macro, TCP") << true << false << write;
}

void TestMacroCommand::engineMacroBytes()
{
    QFETCH(bool, tcp);
    QFETCH(bool, read);
    QFETCH(QString, request);

    DevSim sim({"--macro-answer", "258=5,6"});
    const Modbus::ContextPtr context = connectTo(sim, tcp);
    QVERIFY(context);

    const uint16_t params[] = {0x0001, 0x0203};
    if (read) {
        uint16_t result[Modbus::MacroResultWords] = {};
        QCOMPARE(Modbus::readMacro(context.get(), 0x0102, 3, 2, params, result), 2);
        QCOMPARE(result[0], uint16_t(5));
        QCOMPARE(result[1], uint16_t(6));
    } else {
        QCOMPARE(Modbus::writeMacro(context.get(), 0x0102, 3, 2, params), 6);
    }
    const QStringList log = sim.requestLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(logged(log.at(0), tcp), expected(request, tcp));
}

void TestMacroCommand::catalogueWordsOnTheWire_data()
{
    addLines();
    QTest::addColumn<QString>("macro");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("specification");
    QTest::addColumn<Words>("words");
    QTest::addColumn<bool>("read");

    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        QTest::addRow("login, %s", line)
            << tcp << "FD_MACRO_LOGIN"
            << "1 7305" << 44 << 1 << Words {1, 0x3337, 0x3530} << false;
        QTest::addRow("logout, %s", line) << tcp << "FD_MACRO_LOGOUT"
                                          << "" << 45 << 1 << Words {} << false;
        QTest::addRow("read settings 02, %s", line) << tcp << "FD_MACRO_READ_SETTINGS_02"
                                                    << "4 2" << 32 << 2 << Words {4, 2} << false;
        QTest::addRow("write flash, %s", line)
            << tcp << "FD_MACRO_WRITE_FLASH"
            << "305419896 7" << 8 << 1 << Words {0x5678, 0x1234, 7} << false;
        QTest::addRow("free macro as the example, %s", line)
            << tcp << "FD_MACRO_SET"
            << "258 3 2 1 515" << 0x0102 << 3 << Words {1, 0x0203} << false;
        QTest::addRow("get profile header, %s", line) << tcp << "FD_MACRO_GET_PROFILE_HEADER"
                                                      << "7" << 224 << 1 << Words {7} << true;
        QTest::addRow("get serial number, %s", line) << tcp << "FD_MACRO_GET_SN"
                                                     << "x" << 226 << 1 << Words {} << true;
    }
}

void TestMacroCommand::catalogueWordsOnTheWire()
{
    QFETCH(bool, tcp);
    QFETCH(QString, macro);
    QFETCH(QString, text);
    QFETCH(int, code);
    QFETCH(int, specification);
    QFETCH(Words, words);
    QFETCH(bool, read);

    DevSim sim;
    const Modbus::ContextPtr context = connectTo(sim, tcp);
    QVERIFY(context);

    Cmm_Write_Macro command(context.get());
    QVERIFY(command.setFromText(macro, text));
    QVERIFY(command.run());
    QVERIFY(command.ok);

    const QString request = read
        ? WireFrame::readMacroRequest(1, quint16(code), quint8(specification), words)
        : WireFrame::writeMacroRequest(1, quint16(code), quint8(specification), words);
    const QStringList log = sim.requestLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(logged(log.at(0), tcp), expected(request, tcp));

    // A repeated run sends the same words again.
    QVERIFY(command.run());
    const QStringList again = sim.requestLog();
    QCOMPARE(again.size(), 2);
    QCOMPARE(logged(again.at(1), tcp), expected(request, tcp));
}

void TestMacroCommand::answersFromTheDevice_data()
{
    addLines();
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QString>("macro");
    QTest::addColumn<Words>("answer");
    QTest::addColumn<QString>("text");

    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        QTest::addRow("serial number, %s", line) << tcp << QStringList {"--sn", "54321"}
                                                 << "FD_MACRO_GET_SN" << Words {54321} << "54321";
        QTest::addRow("device info, %s", line)
            << tcp << QStringList {"--device-info", "3,2,1"} << "FD_MACRO_GET_DEVICE_INFO"
            << Words {3, 2, 1} << "Profile: 3<br>Sets of settings: 2<br>State of operation: 1<br>";
        QTest::addRow("device info, two words, %s", line)
            << tcp << QStringList {"--macro-answer", "225=3,2"} << "FD_MACRO_GET_DEVICE_INFO"
            << Words {3, 2} << "error: returned regs count < required";
        QTest::addRow("device key, %s", line)
            << tcp << QStringList {"--device-key", "43981,18"} << "FD_MACRO_GET_DEVICE_KEY"
            << Words {0xABCD, 0x0012} << "abcd0012";
        QTest::addRow("events count, no words, %s", line)
            << tcp << QStringList {"--macro-answer", "202="} << "FD_MACRO_GET_EVENTS_COUNT"
            << Words {} << "error: returned regs count < required";
    }
}

void TestMacroCommand::answersFromTheDevice()
{
    QFETCH(bool, tcp);
    QFETCH(QStringList, simOptions);
    QFETCH(QString, macro);
    QFETCH(Words, answer);
    QFETCH(QString, text);

    DevSim sim(simOptions);
    const Modbus::ContextPtr context = connectTo(sim, tcp);
    QVERIFY(context);
    Cmm_Write_Macro command(context.get());
    QVERIFY(command.setFromText(macro, ""));
    QVERIFY(command.run());
    QCOMPARE(command.answer(), answer);
    QCOMPARE(command.answerText(), text);
}

void TestMacroCommand::failedRunFlushesAndTheNextSucceeds_data()
{
    addLines();
    QTest::addColumn<QString>("fault");
    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        QTest::addRow("code complement, %s", line) << tcp << "bad-code-complement,request=1";
        QTest::addRow("specification complement, %s", line)
            << tcp << "bad-spec-complement,request=1";
        QTest::addRow("count complement, %s", line) << tcp << "bad-count-complement,request=1";
        QTest::addRow("two bytes too many, %s", line) << tcp << "length=2,request=1";
        QTest::addRow("two bytes too few, %s", line) << tcp << "length=-2,request=1";
        QTest::addRow("exception, %s", line) << tcp << "exception=4,request=1";
    }
}

void TestMacroCommand::failedRunFlushesAndTheNextSucceeds()
{
    QFETCH(bool, tcp);
    QFETCH(QString, fault);

    DevSim sim({"--sn", "777", "--fault", fault});
    const Modbus::ContextPtr context = connectTo(sim, tcp);
    QVERIFY(context);
    Cmm_Write_Macro command(context.get());
    QVERIFY(command.setFromText("FD_MACRO_GET_SN", ""));

    QVERIFY(!command.run());
    QVERIFY(!command.ok);
    QVERIFY(command.answer().isEmpty());

    QVERIFY(command.run());
    QCOMPARE(command.answer(), Words {777});
    QCOMPARE(sim.requestLog().size(), 2);
}

void TestMacroCommand::refusedTextSendsNothing_data()
{
    addLines();
    QTest::newRow("RTU") << false;
    QTest::newRow("TCP") << true;
}

void TestMacroCommand::refusedTextSendsNothing()
{
    QFETCH(bool, tcp);
    DevSim sim;
    const Modbus::ContextPtr context = connectTo(sim, tcp);
    QVERIFY(context);

    Cmm_Write_Macro command(context.get());
    QVERIFY(command.setFromText("FD_MACRO_CLEAR_COUNTERS", "5"));
    QVERIFY(!command.setFromText("FD_MACRO_CLEAR_COUNTERS", "70000"));
    QVERIFY(!command.run());
    QVERIFY(!command.setFromText("FD_MACRO_CLEAR_COUNTERS", "5 6"));
    QVERIFY(!command.run());
    QVERIFY(sim.requestLog().isEmpty());
}

void TestMacroCommand::parameterWordLimit_data()
{
    addLines();
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("sent");
    for (const bool tcp : {false, true}) {
        const char *line = tcp ? "TCP" : "RTU";
        QTest::addRow("117 words, %s", line) << tcp << 117 << true;
        QTest::addRow("118 words, %s", line) << tcp << 118 << false;
    }
}

void TestMacroCommand::parameterWordLimit()
{
    QFETCH(bool, tcp);
    QFETCH(int, count);
    QFETCH(bool, sent);

    DevSim sim;
    const Modbus::ContextPtr context = connectTo(sim, tcp);
    QVERIFY(context);

    Words words;
    QString text = "300 2 " + QString::number(count);
    for (int i = 0; i < count; ++i) {
        words.append(quint16(40000 + i));
        text += " " + QString::number(40000 + i);
    }
    Cmm_Write_Macro command(context.get());
    QVERIFY(command.setFromText("FD_MACRO_SET", text));
    QCOMPARE(command.run(), sent);
    if (!sent) {
        QVERIFY(sim.requestLog().isEmpty());
        return;
    }
    const QStringList log = sim.requestLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(logged(log.at(0), tcp), expected(WireFrame::writeMacroRequest(1, 300, 2, words), tcp));
}

QTEST_GUILESS_MAIN(TestMacroCommand)
#include "tst_macrocommand.moc"
