// Typed register values, word lists and the progress bar of the register driver.

#include "progressbar.h"
#include "registervalue.h"
#include "reportprinter.h"
#include "wordlist.h"

#include <QtTest>

using Words = QVector<quint16>;
Q_DECLARE_METATYPE(ValueType)

class TestRegisterFormats : public QObject
{
    Q_OBJECT

private slots:
    void typedWriteWords_data();
    void typedWriteWords();
    void typedWriteRefusesWhatDoesNotFit_data();
    void typedWriteRefusesWhatDoesNotFit();
    void typedReadText_data();
    void typedReadText();
    void typedRoundTrip_data();
    void typedRoundTrip();
    void blockWords_data();
    void blockWords();
    void blockWordsRefused_data();
    void blockWordsRefused();
    void blockWordErrorsAreBounded();
    void rangeTexts_data();
    void rangeTexts();
    void binaryImage_data();
    void binaryImage();
    void progressBar_data();
    void progressBar();
};

static QString plain(const QString &markup)
{
    return ReportPrinter::toPlainText(markup, "\n");
}

void TestRegisterFormats::typedWriteWords_data()
{
    QTest::addColumn<ValueType>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Words>("words");
    QTest::newRow("U16 10") << ValueType::U16 << "10" << Words {10};
    QTest::newRow("U16 top") << ValueType::U16 << "65535" << Words {0xFFFF};
    QTest::newRow("U16 hex") << ValueType::U16 << "0xABCD" << Words {0xABCD};
    QTest::newRow("S16 -2") << ValueType::S16 << "-2" << Words {0xFFFE};
    QTest::newRow("S16 bottom") << ValueType::S16 << "-32768" << Words {0x8000};
    QTest::newRow("S16 top") << ValueType::S16 << "32767" << Words {0x7FFF};
    QTest::newRow("U32 hex, low word first")
        << ValueType::U32 << "0x11223344" << Words {0x3344, 0x1122};
    QTest::newRow("U32 top") << ValueType::U32 << "4294967295" << Words {0xFFFF, 0xFFFF};
    QTest::newRow("S32 -1") << ValueType::S32 << "-1" << Words {0xFFFF, 0xFFFF};
    QTest::newRow("S32 bottom") << ValueType::S32 << "-2147483648" << Words {0x0000, 0x8000};
    QTest::newRow("S32 70000") << ValueType::S32 << "70000" << Words {0x1170, 0x0001};
    QTest::newRow("F32 decimal comma") << ValueType::F32 << "1,5" << Words {0x0000, 0x3FC0};
    QTest::newRow("F32 decimal point") << ValueType::F32 << "-2.0" << Words {0x0000, 0xC000};
    QTest::newRow("F32 hex is a number, not bits")
        << ValueType::F32 << "0x10" << Words {0x0000, 0x4180};
    QTest::newRow("F32 largest") << ValueType::F32 << "3.4028234663852886e38"
                                 << Words {0xFFFF, 0x7F7F};
}

void TestRegisterFormats::typedWriteWords()
{
    QFETCH(ValueType, type);
    QFETCH(QString, text);
    QFETCH(Words, words);
    QString errors;
    Words result {1, 2, 3};
    QVERIFY(RegisterValue::toWords(type, text, &result, &errors));
    QCOMPARE(result, words);
    QCOMPARE(errors, QString());
    QCOMPARE(result.size(), RegisterValue::registerCount(type));
}

void TestRegisterFormats::typedWriteRefusesWhatDoesNotFit_data()
{
    QTest::addColumn<ValueType>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("U16 70000 is not cut to 4464")
        << ValueType::U16 << "70000"
        << " 70000 is not a whole number from 0 to 65535\n";
    QTest::newRow("U16 negative") << ValueType::U16 << "-1"
                                  << " -1 is not a whole number from 0 to 65535\n";
    QTest::newRow("U16 fraction") << ValueType::U16 << "1.5"
                                  << " 1.5 is not a whole number from 0 to 65535\n";
    QTest::newRow("U16 hex too big") << ValueType::U16 << "0x10000"
                                     << " 0x10000 is not a whole number from 0 to 65535\n";
    QTest::newRow("U16 text") << ValueType::U16 << "ten"
                              << " ten is not a number\n";
    QTest::newRow("U16 empty") << ValueType::U16 << ""
                               << "  is not a number\n";
    QTest::newRow("S16 over") << ValueType::S16 << "32768"
                              << " 32768 is not a whole number from -32768 to 32767\n";
    QTest::newRow("S16 under") << ValueType::S16 << "-32769"
                               << " -32769 is not a whole number from -32768 to 32767\n";
    QTest::newRow("S16 hex bit pattern") << ValueType::S16 << "0xFFFE"
                                         << " 0xFFFE is not a whole number from -32768 to 32767\n";
    QTest::newRow("U32 over") << ValueType::U32 << "4294967296"
                              << " 4294967296 is not a whole number from 0 to 4294967295\n";
    QTest::newRow("U32 negative") << ValueType::U32 << "-5"
                                  << " -5 is not a whole number from 0 to 4294967295\n";
    QTest::newRow("S32 over")
        << ValueType::S32 << "2147483648"
        << " 2147483648 is not a whole number from -2147483648 to 2147483647\n";
    QTest::newRow("S32 far under") << ValueType::S32 << "-99999999999999999999"
                                   << " -99999999999999999999 is not a whole number from "
                                      "-2147483648 to 2147483647\n";
    QTest::newRow("F32 too big") << ValueType::F32 << "1e39"
                                 << " 1e39 is not a finite F32 value\n";
    QTest::newRow("F32 too small") << ValueType::F32 << "-1e39"
                                   << " -1e39 is not a finite F32 value\n";
    QTest::newRow("F32 infinity") << ValueType::F32 << "inf"
                                  << " inf is not a finite F32 value\n";
    QTest::newRow("F32 not a number") << ValueType::F32 << "nan"
                                      << " nan is not a finite F32 value\n";
    QTest::newRow("F32 text") << ValueType::F32 << "1.5V"
                              << " 1.5V is not a number\n";
}

void TestRegisterFormats::typedWriteRefusesWhatDoesNotFit()
{
    QFETCH(ValueType, type);
    QFETCH(QString, text);
    QFETCH(QString, line);
    QString errors = "earlier<br>";
    Words words {1};
    QVERIFY(!RegisterValue::toWords(type, text, &words, &errors));
    QVERIFY(words.isEmpty());
    QCOMPARE(plain(errors), "earlier\n" + line);
    QVERIFY(!RegisterValue::toWords(type, text, &words, nullptr));
}

void TestRegisterFormats::typedReadText_data()
{
    QTest::addColumn<ValueType>("type");
    QTest::addColumn<Words>("words");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QString>("text");
    QTest::newRow("U16 65534") << ValueType::U16 << Words {0xFFFE} << false << "65534";
    QTest::newRow("U16 hex 255") << ValueType::U16 << Words {255} << true << "0xff";
    QTest::newRow("U16 hex 0") << ValueType::U16 << Words {0} << true << "0x0";
    QTest::newRow("S16 -2") << ValueType::S16 << Words {0xFFFE} << false << "-2";
    QTest::newRow("S16 hex -1, sign after prefix")
        << ValueType::S16 << Words {0xFFFF} << true << "0x-1";
    QTest::newRow("S16 hex positive") << ValueType::S16 << Words {0x7FFF} << true << "0x7fff";
    QTest::newRow("U32 low word first")
        << ValueType::U32 << Words {0x3344, 0x1122} << false << "287454020";
    QTest::newRow("U32 hex") << ValueType::U32 << Words {0x3344, 0x1122} << true << "0x11223344";
    QTest::newRow("U32 top") << ValueType::U32 << Words {0xFFFF, 0xFFFF} << false << "4294967295";
    QTest::newRow("S32 -70000") << ValueType::S32 << Words {0xEE90, 0xFFFE} << false << "-70000";
    QTest::newRow("S32 hex bottom")
        << ValueType::S32 << Words {0x0000, 0x8000} << true << "0x-80000000";
    QTest::newRow("F32 1.5") << ValueType::F32 << Words {0x0000, 0x3FC0} << false << "1.5";
    QTest::newRow("F32 pi, 6 digits")
        << ValueType::F32 << Words {0x0FDB, 0x4049} << false << "3.14159";
    QTest::newRow("F32 1e10, exponent form")
        << ValueType::F32 << Words {0x02F9, 0x5015} << false << "1e+10";
    QTest::newRow("F32 hex prints raw bits")
        << ValueType::F32 << Words {0x0000, 0x3FC0} << true << "0x3fc00000";
    QTest::newRow("F32 negative hex bits")
        << ValueType::F32 << Words {0x0000, 0xC000} << true << "0xc0000000";
}

void TestRegisterFormats::typedReadText()
{
    QFETCH(ValueType, type);
    QFETCH(Words, words);
    QFETCH(bool, hex);
    QFETCH(QString, text);
    QCOMPARE(RegisterValue::toText(type, words, hex), text);
}

void TestRegisterFormats::typedRoundTrip_data()
{
    QTest::addColumn<ValueType>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("U16") << ValueType::U16 << "4660";
    QTest::newRow("S16") << ValueType::S16 << "-12345";
    QTest::newRow("U32") << ValueType::U32 << "3000000000";
    QTest::newRow("S32") << ValueType::S32 << "-2000000000";
    QTest::newRow("F32") << ValueType::F32 << "-0.015625";
}

void TestRegisterFormats::typedRoundTrip()
{
    QFETCH(ValueType, type);
    QFETCH(QString, text);
    Words words;
    QVERIFY(RegisterValue::toWords(type, text, &words, nullptr));
    QCOMPARE(RegisterValue::toText(type, words, false), text);
}

void TestRegisterFormats::blockWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Words>("words");
    QTest::newRow("brackets and commas") << "[1,2,3]" << Words {1, 2, 3};
    QTest::newRow("blank after comma is no empty value") << "[1, 2]" << Words {1, 2};
    QTest::newRow("hex of the help text") << "[0x01,0x02]" << Words {1, 2};
    QTest::newRow("saved hex text") << "0x0001,0x00AB,0xFFFF" << Words {1, 171, 65535};
    QTest::newRow("saved decimal text") << "1,171,65535" << Words {1, 171, 65535};
    QTest::newRow("blanks") << "0x0001 171 0xFFFF" << Words {1, 171, 65535};
    QTest::newRow("tabs and line ends") << "1\t2\r\n3\n\n4\r5" << Words {1, 2, 3, 4, 5};
    QTest::newRow("runs of separators") << " ,, [ 7 ] ,\t" << Words {7};
    QTest::newRow("empty") << "" << Words {};
    QTest::newRow("brackets only") << "[]" << Words {};
    QTest::newRow("separators only") << " , \n" << Words {};
}

void TestRegisterFormats::blockWords()
{
    QFETCH(QString, text);
    QFETCH(Words, words);
    QString errors;
    Words result {9};
    QVERIFY(WordList::fromText(text, &result, &errors));
    QCOMPARE(result, words);
    QCOMPARE(errors, QString());
}

void TestRegisterFormats::blockWordsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lines");
    QTest::newRow("not a number") << "[1,x,3]"
                                  << " x is not a number\n";
    QTest::newRow("too big") << "1 70000"
                             << " 70000 is not a whole number from 0 to 65535\n";
    QTest::newRow("negative") << "-1"
                              << " -1 is not a whole number from 0 to 65535\n";
    QTest::newRow("decimal comma splits, fraction refused")
        << "1.5"
        << " 1.5 is not a whole number from 0 to 65535\n";
    QTest::newRow("upper-case X is no hex prefix") << "0X10"
                                                   << " 0X10 is not a number\n";
    QTest::newRow("every bad part") << "a 1 b"
                                    << " a is not a number\n b is not a number\n";
}

void TestRegisterFormats::blockWordsRefused()
{
    QFETCH(QString, text);
    QFETCH(QString, lines);
    QString errors;
    Words words;
    QVERIFY(!WordList::fromText(text, &words, &errors));
    QVERIFY(words.isEmpty());
    QCOMPARE(plain(errors), lines);
}

void TestRegisterFormats::blockWordErrorsAreBounded()
{
    QStringList parts;
    for (int i = 0; i < 25; ++i)
        parts << QString("v%1").arg(i);
    QString errors;
    Words words;
    QVERIFY(!WordList::fromText(parts.join(' '), &words, &errors));
    const QStringList lines = plain(errors).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines.first(), QString(" v0 is not a number"));
    QCOMPARE(lines.at(9), QString(" v9 is not a number"));
    QCOMPARE(lines.last(), QString(" 15 more values that do not read"));
}

void TestRegisterFormats::rangeTexts_data()
{
    QTest::addColumn<Words>("words");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("three") << Words {1, 171, 65535} << "0x0001,0x00AB,0xFFFF"
                           << "1,171,65535";
    QTest::newRow("every digit") << Words {0x1234, 0xBEEF, 10000, 9, 0xCD50}
                                 << "0x1234,0xBEEF,0x2710,0x0009,0xCD50"
                                 << "4660,48879,10000,9,52560";
    QTest::newRow("one zero") << Words {0} << "0x0000"
                              << "0";
    QTest::newRow("none") << Words {} << ""
                          << "";
}

void TestRegisterFormats::rangeTexts()
{
    QFETCH(Words, words);
    QFETCH(QString, hex);
    QFETCH(QString, decimal);
    QCOMPARE(WordList::toText(words, false), hex);
    QCOMPARE(WordList::toText(words, true), decimal);
    // What is shown or saved as text reads back unchanged.
    Words back;
    QVERIFY(WordList::fromText(hex, &back, nullptr));
    QCOMPARE(back, words);
    QVERIFY(WordList::fromText(decimal, &back, nullptr));
    QCOMPARE(back, words);
}

void TestRegisterFormats::binaryImage_data()
{
    QTest::addColumn<Words>("words");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("low byte first") << Words {1, 171, 65535} << QByteArray::fromHex("0100AB00FFFF");
    QTest::newRow("byte order within a word") << Words {0x1234} << QByteArray::fromHex("3412");
    QTest::newRow("empty") << Words {} << QByteArray();
}

void TestRegisterFormats::binaryImage()
{
    QFETCH(Words, words);
    QFETCH(QByteArray, bytes);
    QCOMPARE(WordList::toBinary(words), bytes);
    Words back {5};
    QVERIFY(WordList::fromBinary(bytes, &back));
    QCOMPARE(back, words);
    QVERIFY(!WordList::fromBinary(bytes + 'x', &back));
    QVERIFY(back.isEmpty());
}

void TestRegisterFormats::progressBar_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 of 10") << 0 << 10 << "[" + QString(50, ' ') + "] 0 %";
    QTest::newRow("1 of 3") << 1 << 3 << "[" + QString(15, '=') + ">" + QString(34, ' ') + "] 33 %";
    QTest::newRow("2 of 3") << 2 << 3 << "[" + QString(32, '=') + ">" + QString(17, ' ') + "] 66 %";
    QTest::newRow("3 of 3") << 3 << 3 << "[" + QString(49, '=') + ">] 100 %";
    QTest::newRow("1 of 50: 2 %, arrow in the first cell")
        << 1 << 50 << "[>" + QString(49, ' ') + "] 2 %";
    QTest::newRow("1 of 100: 1 %, no arrow yet") << 1 << 100 << "[" + QString(50, ' ') + "] 1 %";
    QTest::newRow("546 of 547") << 546 << 547
                                << "[" + QString(48, '=') + ">" + QString(1, ' ') + "] 99 %";
    QTest::newRow("no total") << 0 << 0 << "[" + QString(50, ' ') + "] 0 %";
}

void TestRegisterFormats::progressBar()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(QString, text);
    QCOMPARE(ReportPrinter::toPlainText(ProgressBar::markup(done, total), "\r\n"), text);
}

QTEST_APPLESS_MAIN(TestRegisterFormats)
#include "tst_registerformats.moc"
