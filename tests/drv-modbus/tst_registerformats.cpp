// Typed register values, word lists and the progress bar of the register driver.

#include "progressbar.h"
#include "registertext.h"
#include "registervalue.h"
#include "reportprinter.h"
#include "wordlist.h"

#include <QtTest>

using Words = QVector<quint16>;
Q_DECLARE_METATYPE(ValueType)
Q_DECLARE_METATYPE(ByteOrder)

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
    void byteOrders_data();
    void byteOrders();
    void singleRegisterWord_data();
    void singleRegisterWord();
    void registerText_data();
    void registerText();
    void textOfAWrite_data();
    void textOfAWrite();
    void bitsOnly();
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
    QTest::newRow("bit 1") << ValueType::Bit << "1" << Words {1};
    QTest::newRow("bit 0 in hex") << ValueType::Bit << "0x0" << Words {0};
    QTest::newRow("U64 largest") << ValueType::U64 << "18446744073709551615"
                                 << Words {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    QTest::newRow("U64 hex, low word first")
        << ValueType::U64 << "0x1122334455667788" << Words {0x7788, 0x5566, 0x3344, 0x1122};
    QTest::newRow("S64 most negative")
        << ValueType::S64 << "-9223372036854775808" << Words {0, 0, 0, 0x8000};
    QTest::newRow("S64 -1") << ValueType::S64 << "-1" << Words {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    QTest::newRow("F64 1,5") << ValueType::F64 << "1,5" << Words {0, 0, 0, 0x3FF8};
    QTest::newRow("F64 largest") << ValueType::F64 << "1.7976931348623157e308"
                                 << Words {0xFFFF, 0xFFFF, 0xFFFF, 0x7FEF};
    QTest::newRow("F64 smallest subnormal") << ValueType::F64 << "5e-324" << Words {1, 0, 0, 0};
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
    QTest::newRow("F32 beyond doubles") << ValueType::F32 << "-1e400"
                                        << " -1e400 is not a finite F32 value\n";
    QTest::newRow("F32 text") << ValueType::F32 << "1.5V"
                              << " 1.5V is not a number\n";
    QTest::newRow("bit 2") << ValueType::Bit << "2"
                           << " 2 is not a whole number from 0 to 1\n";
    QTest::newRow("bit -1") << ValueType::Bit << "-1"
                            << " -1 is not a whole number from 0 to 1\n";
    QTest::newRow("U64 over")
        << ValueType::U64 << "18446744073709551616"
        << " 18446744073709551616 is not a whole number from 0 to 18446744073709551615\n";
    QTest::newRow("U64 negative") << ValueType::U64 << "-1"
                                  << " -1 is not a whole number from 0 to 18446744073709551615\n";
    QTest::newRow("U64 fraction") << ValueType::U64 << "0.5"
                                  << " 0.5 is not a whole number from 0 to 18446744073709551615\n";
    QTest::newRow("S64 over") << ValueType::S64 << "9223372036854775808"
                              << " 9223372036854775808 is not a whole number from "
                                 "-9223372036854775808 to 9223372036854775807\n";
    QTest::newRow("S64 hex bit pattern") << ValueType::S64 << "0xFFFFFFFFFFFFFFFF"
                                         << " 0xFFFFFFFFFFFFFFFF is not a whole number from "
                                            "-9223372036854775808 to 9223372036854775807\n";
    QTest::newRow("F64 beyond doubles") << ValueType::F64 << "1e309"
                                        << " 1e309 is not a finite F64 value\n";
    QTest::newRow("F64 NaN") << ValueType::F64 << "nan"
                             << " nan is not a finite F64 value\n";
    QTest::newRow("F64 minus infinity") << ValueType::F64 << "-inf"
                                        << " -inf is not a finite F64 value\n";
    QTest::newRow("F64 text") << ValueType::F64 << "pi"
                              << " pi is not a number\n";
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
    QTest::newRow("bit") << ValueType::Bit << Words {1} << false << "1";
    QTest::newRow("bit in hex is 0 or 1 too") << ValueType::Bit << Words {0} << true << "0";
    QTest::newRow("U64 largest") << ValueType::U64 << Words {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}
                                 << false << "18446744073709551615";
    QTest::newRow("U64 hex") << ValueType::U64 << Words {0x7788, 0x5566, 0x3344, 0x1122} << true
                             << "0x1122334455667788";
    QTest::newRow("S64 most negative")
        << ValueType::S64 << Words {0, 0, 0, 0x8000} << false << "-9223372036854775808";
    QTest::newRow("S64 most negative in hex")
        << ValueType::S64 << Words {0, 0, 0, 0x8000} << true << "0x-8000000000000000";
    QTest::newRow("S64 largest") << ValueType::S64 << Words {0xFFFF, 0xFFFF, 0xFFFF, 0x7FFF}
                                 << false << "9223372036854775807";
    QTest::newRow("F64 0.1, every digit it needs")
        << ValueType::F64 << Words {0x999A, 0x9999, 0x9999, 0x3FB9} << false << "0.1";
    QTest::newRow("F64 1e300") << ValueType::F64 << Words {0x759C, 0x8800, 0xE43C, 0x7E37} << false
                               << "1e+300";
    QTest::newRow("F64 NaN") << ValueType::F64 << Words {0, 0, 0, 0x7FF8} << false << "nan";
    QTest::newRow("F64 infinity") << ValueType::F64 << Words {0, 0, 0, 0x7FF0} << false << "inf";
    QTest::newRow("F64 minus infinity")
        << ValueType::F64 << Words {0, 0, 0, 0xFFF0} << false << "-inf";
    QTest::newRow("F64 hex raw bits")
        << ValueType::F64 << Words {0, 0, 0, 0xFFF0} << true << "0xfff0000000000000";
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
    QTest::newRow("U64") << ValueType::U64 << "12345678901234567890";
    QTest::newRow("S64") << ValueType::S64 << "-1234567890123456789";
    QTest::newRow("F64") << ValueType::F64 << "-2.5e-300";
    QTest::newRow("F64 third") << ValueType::F64 << "0.3333333333333333";
    QTest::newRow("bit") << ValueType::Bit << "1";
}

// Where the bytes of 0x11223344 and 0x1122334455667788 go in each order.
void TestRegisterFormats::byteOrders_data()
{
    QTest::addColumn<ByteOrder>("order");
    QTest::addColumn<Words>("words32");
    QTest::addColumn<Words>("words64");
    QTest::newRow("ABCD") << ByteOrder::ABCD << Words {0x1122, 0x3344}
                          << Words {0x1122, 0x3344, 0x5566, 0x7788};
    QTest::newRow("BADC") << ByteOrder::BADC << Words {0x2211, 0x4433}
                          << Words {0x2211, 0x4433, 0x6655, 0x8877};
    QTest::newRow("CDAB") << ByteOrder::CDAB << Words {0x3344, 0x1122}
                          << Words {0x7788, 0x5566, 0x3344, 0x1122};
    QTest::newRow("DCBA") << ByteOrder::DCBA << Words {0x4433, 0x2211}
                          << Words {0x8877, 0x6655, 0x4433, 0x2211};
}

void TestRegisterFormats::byteOrders()
{
    QFETCH(ByteOrder, order);
    QFETCH(Words, words32);
    QFETCH(Words, words64);
    Words words;
    QVERIFY(RegisterValue::toWords(ValueType::U32, "0x11223344", &words, nullptr, order));
    QCOMPARE(words, words32);
    QCOMPARE(RegisterValue::toText(ValueType::U32, words32, true, order), "0x11223344");
    QVERIFY(RegisterValue::toWords(ValueType::S64, "0x1122334455667788", &words, nullptr, order));
    QCOMPARE(words, words64);
    QCOMPARE(RegisterValue::toText(ValueType::U64, words64, true, order), "0x1122334455667788");
    // A 16-bit value has no order of its own.
    QVERIFY(RegisterValue::toWords(ValueType::U16, "0x1122", &words, nullptr, order));
    QCOMPARE(words, Words {0x1122});
    QCOMPARE(ByteOrders::name(order), QString(QTest::currentDataTag()));
}

void TestRegisterFormats::singleRegisterWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("word"); // -1: refused
    QTest::newRow("-1") << "-1" << 0xFFFF;
    QTest::newRow("65535") << "65535" << 0xFFFF;
    QTest::newRow("-32768") << "-32768" << 0x8000;
    QTest::newRow("hex") << "0xBEEF" << 0xBEEF;
    QTest::newRow("65536") << "65536" << -1;
    QTest::newRow("-32769") << "-32769" << -1;
    QTest::newRow("fraction") << "1.5" << -1;
}

void TestRegisterFormats::singleRegisterWord()
{
    QFETCH(QString, text);
    QFETCH(int, word);
    quint16 value = 7;
    QString errors;
    QCOMPARE(RegisterValue::toSingleWord(text, &value, &errors), word >= 0);
    if (word >= 0)
        QCOMPARE(int(value), word);
    else
        QCOMPARE(plain(errors), " " + text + " is not a whole number from -32768 to 65535\n");
}

// Registers as text: high byte first, up to the first NUL; what a console
// could take for a command is shown as \xHH.
void TestRegisterFormats::registerText_data()
{
    QTest::addColumn<Words>("words");
    QTest::addColumn<QString>("text");
    QTest::newRow("no NUL: every byte") << Words {0x4142, 0x4344} << "ABCD";
    QTest::newRow("NUL in a high byte") << Words {0x4142, 0x0043} << "AB";
    QTest::newRow("NUL in a low byte") << Words {0x4100, 0x4344} << "A";
    QTest::newRow("empty") << Words {0, 0x4142} << "";
    QTest::newRow("UTF-8") << Words {0x5AC3, 0xB361} << "Z\u00F3a";
    QTest::newRow("escape sequence") << Words {0x1B5B, 0x324A} << "\\x1B[2J";
    QTest::newRow("DEL and C1 controls") << Words {0x7FC2, 0x9B41} << "\\x7F\\xC2\\x9BA";
    QTest::newRow("Latin-1, not UTF-8") << Words {0x4DFC, 0x6C6C} << "M\\xFCll";
    QTest::newRow("sequence cut by the NUL") << Words {0x41E2, 0x8200} << "A\\xE2\\x82";
    QTest::newRow("overlong form") << Words {0xC0AF} << "\\xC0\\xAF";
    QTest::newRow("markup is text") << Words {0x3C62, 0x723E} << "<br>";
}

void TestRegisterFormats::registerText()
{
    QFETCH(Words, words);
    QFETCH(QString, text);
    QCOMPARE(RegisterText::shown(RegisterText::bytesOf(words)), text);
}

void TestRegisterFormats::textOfAWrite_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("registers");
    QTest::addColumn<Words>("words"); // empty with an error line: refused
    QTest::newRow("padded") << "ABC" << 3 << Words {0x4142, 0x4300, 0};
    QTest::newRow("fills every byte, no NUL") << "ABCD" << 2 << Words {0x4142, 0x4344};
    QTest::newRow("one byte too many") << "ABCDE" << 2 << Words {};
    QTest::newRow("UTF-8 bytes count") << "\u00F3\u00F3" << 2 << Words {0xC3B3, 0xC3B3};
    QTest::newRow("UTF-8 bytes beyond") << "a\u00F3\u00F3" << 2 << Words {};
    QTest::newRow("nothing in no registers") << "" << 0 << Words {};
}

void TestRegisterFormats::textOfAWrite()
{
    QFETCH(QString, text);
    QFETCH(int, registers);
    QFETCH(Words, words);
    Words result {9};
    QString errors;
    const bool fits = RegisterText::toWords(text, registers, &result, &errors);
    QCOMPARE(result, words);
    QCOMPARE(fits, errors.isEmpty());
    QCOMPARE(fits, !words.isEmpty() || registers == 0);
}

void TestRegisterFormats::bitsOnly()
{
    QString errors;
    QVERIFY(WordList::checkBits({0, 1, 1, 0}, &errors));
    QCOMPARE(errors, QString());
    Words many(20, 1);
    many[2] = 2;
    for (int i = 5; i < 17; ++i)
        many[i] = quint16(0x100 + i);
    QVERIFY(!WordList::checkBits(many, &errors));
    const QStringList lines = plain(errors).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines.first(), " value 2 at position 3 is not 0 or 1");
    QCOMPARE(lines.last(), " 3 more values that are not 0 or 1");
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
