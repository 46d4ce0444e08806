// Answer texts of the data-returning macros, from the words a device returns.

#include "macroanswer.h"
#include "reportprinter.h"

#include <QtTest>

using Words = QVector<quint16>;

namespace {

// Puts the bytes into words first.., two per word, the first in the low byte.
void putText(Words *words, int first, const QByteArray &bytes)
{
    for (int i = 0; i < bytes.size(); ++i) {
        const quint16 byte = quint8(bytes.at(i));
        (*words)[first + i / 2] |= quint16(i % 2 == 0 ? byte : byte << 8);
    }
}

Words profileHeader(quint16 version, const QByteArray &name, const QByteArray &description,
    const QByteArray &model, int size = 48)
{
    Words words(48, 0);
    words[0] = 0xAAAA; // not shown
    words[1] = 0xBBBB; // not shown
    words[2] = version;
    words[3] = 4096;
    words[4] = 0xCCCC; // not shown
    putText(&words, 13, name);
    putText(&words, 29, description);
    putText(&words, 5, model);
    words[45] = 17;
    words[46] = 0xFFFF;
    words[47] = 4660;
    words.resize(size);
    return words;
}

} // namespace

class TestMacroAnswer : public QObject
{
    Q_OBJECT

private slots:
    void answerText_data();
    void answerText();
};

void TestMacroAnswer::answerText_data()
{
    QTest::addColumn<QString>("macro");
    QTest::addColumn<Words>("words");
    QTest::addColumn<QString>("text"); // as printed on standard output

    const QString tooFew = "error: returned regs count < required";

    QTest::newRow("serial number") << "FD_MACRO_GET_SN" << Words {54321} << "54321";
    QTest::newRow("serial number, extra words") << "FD_MACRO_GET_SN" << Words {7, 9} << "7";
    QTest::newRow("serial number, no words") << "FD_MACRO_GET_SN" << Words {} << tooFew;

    QTest::newRow("device info") << "FD_MACRO_GET_DEVICE_INFO" << Words {2, 4, 65535}
                                 << "Profile: 2\r\nSets of settings: 4\r\nState of operation: "
                                    "65535\r\n";
    QTest::newRow("device info, two words") << "FD_MACRO_GET_DEVICE_INFO" << Words {2, 4} << tooFew;

    QTest::newRow("device key") << "FD_MACRO_GET_DEVICE_KEY" << Words {0x00AB, 0x1234}
                                << "00ab1234";
    QTest::newRow("device key, widest")
        << "FD_MACRO_GET_DEVICE_KEY" << Words {0xFFFF, 0, 5} << "ffff0000";
    QTest::newRow("device key, one word") << "FD_MACRO_GET_DEVICE_KEY" << Words {1} << tooFew;
    QTest::newRow("events count") << "FD_MACRO_GET_EVENTS_COUNT" << Words {0, 10} << "0000000a";
    QTest::newRow("events count, one word") << "FD_MACRO_GET_EVENTS_COUNT" << Words {1} << tooFew;

    const QString header10 = "Name: Feeder 12\r\nDesc: Incoming line\r\nModel: RB4\r\n"
                             "Version: 10\r\nSize: U16 x 4096\r\nBlocknet: 17\r\n"
                             "Program CRC: 65535\r\nHeader CRC: 4660\r\n";
    QTest::newRow("profile header 10")
        << "FD_MACRO_GET_PROFILE_HEADER" << profileHeader(10, "Feeder 12", "Incoming line", "RB4")
        << header10;
    QTest::newRow("profile header 9")
        << "FD_MACRO_GET_PROFILE_HEADER" << profileHeader(9, "N", "D", "M")
        << "Name: N\r\nDesc: D\r\nModel: M\r\nVersion: 9\r\nSize: U16 x 4096\r\nBlocknet: "
           "17\r\nProgram CRC: 65535\r\nHeader CRC: 4660\r\n";
    QTest::newRow("profile header, zero byte inside the name")
        << "FD_MACRO_GET_PROFILE_HEADER"
        << profileHeader(10, QByteArray("AB\0C", 4), QByteArray("\0x", 2), "")
        << "Name: ABC\r\nDesc: x\r\nModel: \r\nVersion: 10\r\nSize: U16 x 4096\r\nBlocknet: "
           "17\r\nProgram CRC: 65535\r\nHeader CRC: 4660\r\n";
    QTest::newRow("profile header, full-length texts")
        << "FD_MACRO_GET_PROFILE_HEADER"
        << profileHeader(10, QByteArray(32, 'n'), QByteArray(32, 'd'), QByteArray(16, 'm'))
        << "Name: " + QString(32, 'n') + "\r\nDesc: " + QString(32, 'd')
            + "\r\nModel: " + QString(16, 'm')
            + "\r\nVersion: 10\r\nSize: U16 x 4096\r\nBlocknet: 17\r\nProgram CRC: "
              "65535\r\nHeader CRC: 4660\r\n";
    QTest::newRow("profile header, Latin-1 name")
        << "FD_MACRO_GET_PROFILE_HEADER" << profileHeader(10, "Pole \xB1", "", "")
        << QString::fromUtf8("Name: Pole \xC2\xB1\r\nDesc: \r\nModel: \r\nVersion: 10\r\nSize: "
                             "U16 x 4096\r\nBlocknet: 17\r\nProgram CRC: 65535\r\nHeader CRC: "
                             "4660\r\n");
    QTest::newRow("profile header, version 11")
        << "FD_MACRO_GET_PROFILE_HEADER" << profileHeader(11, "A", "B", "C")
        << "unknown ebi version = 11";
    QTest::newRow("profile header, version 0")
        << "FD_MACRO_GET_PROFILE_HEADER" << profileHeader(0, "A", "B", "C")
        << "unknown ebi version = 0";
    QTest::newRow("profile header, 47 words")
        << "FD_MACRO_GET_PROFILE_HEADER" << profileHeader(10, "A", "B", "C", 47) << tooFew;
    QTest::newRow("profile header, 47 words of version 11")
        << "FD_MACRO_GET_PROFILE_HEADER" << profileHeader(11, "A", "B", "C", 47) << tooFew;

    QTest::newRow("a macro that returns no data")
        << "FD_MACRO_LOGIN" << Words {1, 2, 3} << "unknown ???";
    QTest::newRow("lower-case name") << "fd_macro_get_sn" << Words {1} << "unknown ???";
    QTest::newRow("empty name") << "" << Words {} << "unknown ???";
}

void TestMacroAnswer::answerText()
{
    QFETCH(QString, macro);
    QFETCH(Words, words);
    QFETCH(QString, text);
    QCOMPARE(ReportPrinter::toPlainText(MacroAnswer::text(macro, words), "\r\n"), text);
}

QTEST_GUILESS_MAIN(TestMacroAnswer)
#include "tst_macroanswer.moc"
