// The macro catalogue: every macro's words for a valid parameter text, and the
// texts each macro refuses (nothing is then sent).

#include "cmm_write_macro.h"
#include "macrocatalogue.h"

#include <QDateTime>
#include <QtTest>

using CmmNamespace::Cmm_Write_Macro;
using Words = QVector<quint16>;

namespace {

struct NumbersRow
{
    const char *name;
    int count;
};

// The macros whose text is a fixed number of blank-separated numbers.
const NumbersRow numbersMacros[] = {
    {"FD_MACRO_CLEAR_COUNTERS", 1},
    {"FD_MACRO_CLEAR_SIGNALS", 2},
    {"FD_MACRO_CONTROL_SWITCH", 3},
    {"FD_MACRO_READ_SETTINGS", 1},
    {"FD_MACRO_READ_SETTINGS_02", 2},
    {"FD_MACRO_SAVE_PROFILE_2", 5},
    {"FD_MACRO_SET_ACTIVE_PROFILE", 1},
    {"FD_MACRO_SET_CONTROL_LR", 1},
    {"FD_MACRO_SET_DAR_COMMAND", 1},
    {"FD_MACRO_SET_MEMORY_READ_TYPE", 2},
    {"FD_MACRO_SET_PASSWORD_TIME", 2},
    {"FD_MACRO_SET_ACTIVE_SETofSETTINGS", 1},
    {"FD_MACRO_SET_PORT_TIMEOUT", 2},
    {"FD_MACRO_SET_IP_ADDRESS", 5},
    {"FD_MACRO_SET_IP_MASK", 5},
    {"FD_MACRO_SET_IP_GATEWAY", 5},
    {"FD_MACRO_SET_USER_PRIVILEGES", 2},
    {"FD_MACRO_SET_PORT_ADDRESS", 2},
    {"FD_MACRO_SET_PORT_SETTINGS", 4},
    {"FD_MACRO_SET_PORT_PROTOCOL", 2},
    {"FD_MACRO_SET_SETTINGS", 1},
    {"FD_MACRO_SET_SETTINGS_02", 2},
    {"FD_MACRO_SET_SN", 1},
    {"FD_MACRO_SET_USER_COMMANDS", 1},
    {"FD_MACRO_SET_IEC101_PARAMETERS", 5},
    {"FD_MACRO_GET_PROFILE_HEADER", 1},
    {"FD_MACRO_WRITE_FLASH", 2},
    {"FD_MACRO_LOGIN", 2},
    {"FD_MACRO_SET_DATE_TIME", 9},
};

QString numbersText(int count, int first = 1)
{
    QStringList tokens;
    for (int i = 0; i < count; ++i)
        tokens.append(QString::number(first + i));
    return tokens.join(QLatin1Char(' '));
}

} // namespace

class TestMacroCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void validText_data();
    void validText();
    void everyMacroHasAValidRow();
    void refusedText_data();
    void refusedText();
    void wrongTokenCount_data();
    void wrongTokenCount();
    void refusalKeepsThePreviousMacroFromBeingSent();
    void dateTimeFromTheClock();
    void freeMacroCarriesUpTo117WordsAndMore();

private:
    QStringList validRowNames;
};

void TestMacroCatalogue::validText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("specification");
    QTest::addColumn<Words>("words");
    QTest::addColumn<bool>("returnsData");

    auto row = [this](const char *tag, const char *name, const QString &text, int code,
                   int specification, const Words &words, bool returnsData = false) {
        validRowNames.append(QLatin1String(name));
        QTest::newRow(tag) << QString(name) << text << code << specification << words
                           << returnsData;
    };

    row("clear counters", "FD_MACRO_CLEAR_COUNTERS", "5", 63, 1, {5});
    row("clear counters, widest word", "FD_MACRO_CLEAR_COUNTERS", "65535", 63, 1, {65535});
    row("clear counters, leading zeros", "FD_MACRO_CLEAR_COUNTERS", "0012", 63, 1, {12});
    row("clear signals", "FD_MACRO_CLEAR_SIGNALS", "3 1", 47, 1, {3, 1});
    row("control switch", "FD_MACRO_CONTROL_SWITCH", "1 2 3", 49, 1, {1, 2, 3});
    row("login", "FD_MACRO_LOGIN", "1 7305", 44, 1, {1, 0x3337, 0x3530});
    row("login, long password: four characters sent", "FD_MACRO_LOGIN", "2 abcdefg", 44, 1,
        {2, 0x6261, 0x6463});
    row("login, short password: two zero words", "FD_MACRO_LOGIN", "3 abc", 44, 1, {3, 0, 0});
    row("login, empty password", "FD_MACRO_LOGIN", "3 ", 44, 1, {3, 0, 0});
    row("login, Latin-1 and other characters", "FD_MACRO_LOGIN",
        QString::fromUtf8("4 \xC3\xA9\xC5\x82\xE2\x82\xAC\x62"), 44, 1, {4, 0x00E9, 0x6200});
    row("logout, empty text", "FD_MACRO_LOGOUT", "", 45, 1, {});
    row("logout, any text", "FD_MACRO_LOGOUT", "x  y", 45, 1, {});
    row("read settings", "FD_MACRO_READ_SETTINGS", "4", 32, 1, {4});
    row("read settings 02", "FD_MACRO_READ_SETTINGS_02", "4 2", 32, 2, {4, 2});
    row("run bootloader", "FD_MACRO_RUN_BOOTLOADER", "whatever", 10, 1, {});
    row("save profile 2", "FD_MACRO_SAVE_PROFILE_2", "1 2 3 4 5", 11, 2, {1, 2, 3, 4, 5});
    row("set active profile", "FD_MACRO_SET_ACTIVE_PROFILE", "3", 36, 1, {3});
    row("set control LR", "FD_MACRO_SET_CONTROL_LR", "1", 34, 2, {1});
    row("set DAR command", "FD_MACRO_SET_DAR_COMMAND", "7", 65, 1, {7});
    row("set date time", "FD_MACRO_SET_DATE_TIME", "2024 3 31 1 23 59 58 7 0", 30, 1,
        {2024, 3, 31, 1, 23, 59, 58, 7, 0});
    row("set date time, month 13 unchecked", "FD_MACRO_SET_DATE_TIME",
        "2024 13 31 1 23 59 58 255 65535", 30, 1, {2024, 13, 31, 1, 23, 59, 58, 255, 65535});
    row("set date time, every field at the top of its byte", "FD_MACRO_SET_DATE_TIME",
        "65535 255 255 255 255 255 255 255 0", 30, 1,
        {65535, 255, 255, 255, 255, 255, 255, 255, 0});
    row("set memory read type", "FD_MACRO_SET_MEMORY_READ_TYPE", "1 200", 58, 1, {1, 200});
    row("set page memory read", "FD_MACRO_SET_PAGE_MEMORY_READ", "65535", 57, 1, {65535});
    row("set page memory write", "FD_MACRO_SET_PAGE_MEMORY_WRITE", "12", 56, 1, {12});
    row("set password time", "FD_MACRO_SET_PASSWORD_TIME", "2 300", 39, 1, {2, 300});
    row("set active set of settings", "FD_MACRO_SET_ACTIVE_SETofSETTINGS", "2", 55, 1, {2});
    row("set port timeout", "FD_MACRO_SET_PORT_TIMEOUT", "1 500", 42, 1, {1, 500});
    row("set IP address", "FD_MACRO_SET_IP_ADDRESS", "3 1 0 168 192", 59, 1, {3, 1, 0, 168, 192});
    row("set IP mask", "FD_MACRO_SET_IP_MASK", "3 0 255 255 255", 60, 1, {3, 0, 255, 255, 255});
    row("set IP gateway", "FD_MACRO_SET_IP_GATEWAY", "3 254 0 168 192", 61, 1,
        {3, 254, 0, 168, 192});
    row("set user privileges", "FD_MACRO_SET_USER_PRIVILEGES", "2 15", 50, 1, {2, 15});
    row("set port address", "FD_MACRO_SET_PORT_ADDRESS", "1 17", 40, 1, {1, 17});
    row("set port settings", "FD_MACRO_SET_PORT_SETTINGS", "1 7 0 1", 41, 1, {1, 7, 0, 1});
    row("set port protocol", "FD_MACRO_SET_PORT_PROTOCOL", "1 2", 64, 1, {1, 2});
    row("set settings", "FD_MACRO_SET_SETTINGS", "1", 31, 1, {1});
    row("set settings 02", "FD_MACRO_SET_SETTINGS_02", "1 3", 31, 2, {1, 3});
    row("set serial number", "FD_MACRO_SET_SN", "54321", 1, 1, {54321});
    row("set user commands", "FD_MACRO_SET_USER_COMMANDS", "9", 53, 1, {9});
    row("set work mode", "FD_MACRO_SET_WORK_MODE", "2", 2, 1, {2});
    row("system reset", "FD_MACRO_SYSTEM_RESET", "", 241, 1, {});
    row("write flash", "FD_MACRO_WRITE_FLASH", "305419896 7", 8, 1, {0x5678, 0x1234, 7});
    row("write flash, widest value", "FD_MACRO_WRITE_FLASH", "4294967295 65535", 8, 1,
        {0xFFFF, 0xFFFF, 0xFFFF});
    row("write flash, high word only", "FD_MACRO_WRITE_FLASH", "65536 0", 8, 1, {0, 1, 0});
    row("set IEC101 parameters", "FD_MACRO_SET_IEC101_PARAMETERS", "1 2 3 4 5", 78, 1,
        {1, 2, 3, 4, 5});
    row("free macro", "FD_MACRO_SET", "100 1 1 7 8", 100, 1, {7});
    row("free macro, no parameters", "FD_MACRO_SET", "65535 255 0", 65535, 255, {});
    row("free macro, tokens after the parameters ignored", "FD_MACRO_SET", "7 2 2 1 2 x  ", 7, 2,
        {1, 2});
    row("get device info", "FD_MACRO_GET_DEVICE_INFO", "", 225, 1, {}, true);
    row("get profile header", "FD_MACRO_GET_PROFILE_HEADER", "2", 224, 1, {2}, true);
    row("get serial number, any text", "FD_MACRO_GET_SN", "anything at all", 226, 1, {}, true);
    row("get device key", "FD_MACRO_GET_DEVICE_KEY", "", 220, 1, {}, true);
    row("get events count", "FD_MACRO_GET_EVENTS_COUNT", "1", 202, 1, {}, true);
}

void TestMacroCatalogue::validText()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, code);
    QFETCH(int, specification);
    QFETCH(Words, words);
    QFETCH(bool, returnsData);

    Cmm_Write_Macro command(nullptr);
    QVERIFY(command.setFromText(name, text));
    QCOMPARE(command.macroName(), name);
    QCOMPARE(int(command.code()), code);
    QCOMPARE(int(command.specification()), specification);
    QCOMPARE(command.params(), words);
    QCOMPARE(command.returnsData(), returnsData);
    QVERIFY(!command.ok);
}

void TestMacroCatalogue::everyMacroHasAValidRow()
{
    // validText_data() ran before this test and listed the names it covers.
    QVERIFY(!validRowNames.isEmpty());
    QStringList names = MacroCatalogue::names();
    QCOMPARE(names.size(), 40);
    for (const QString &name : names)
        QVERIFY2(validRowNames.contains(name), qPrintable(name));
    names.removeDuplicates();
    QCOMPARE(names.size(), 40);
}

void TestMacroCatalogue::refusedText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("unknown name") << "FD_MACRO_UNKNOWN"
                                  << "1";
    QTest::newRow("lower-case name") << "fd_macro_clear_counters"
                                     << "1";
    QTest::newRow("upper-case OF") << "FD_MACRO_SET_ACTIVE_SETOFSETTINGS"
                                   << "1";
    QTest::newRow("empty name") << ""
                                << "";
    QTest::newRow("name with a blank") << "FD_MACRO_LOGOUT "
                                       << "";
    QTest::newRow("prefix only") << "FD_MACRO"
                                 << "";

    const char *const notNumbers[] = {"", "a", "1a", "+1", "-1", "0x10", "1.5", "1,5", " 1", "1 ",
        "1\t", "\t1", "٣", "4294967296", "65536", "99999999999"};
    for (const char *token : notNumbers) {
        const QString text = QString::fromUtf8(token);
        QTest::addRow("clear counters \"%s\"", token) << "FD_MACRO_CLEAR_COUNTERS" << text;
        QTest::addRow("set page memory read \"%s\"", token)
            << "FD_MACRO_SET_PAGE_MEMORY_READ" << text;
        QTest::addRow("set work mode \"%s\"", token) << "FD_MACRO_SET_WORK_MODE" << text;
        QTest::addRow("clear signals \"1 %s\"", token) << "FD_MACRO_CLEAR_SIGNALS"
                                                       << "1 " + text;
        QTest::addRow("login user \"%s\"", token) << "FD_MACRO_LOGIN" << text + " abcd";
        QTest::addRow("flash word \"%s\"", token) << "FD_MACRO_WRITE_FLASH"
                                                  << "1 " + text;
        QTest::addRow("free macro code \"%s\"", token) << "FD_MACRO_SET" << text + " 1 0";
        if (text != "1 ") // the free macro ignores tokens after its parameters
            QTest::addRow("free macro parameter \"%s\"", token) << "FD_MACRO_SET"
                                                                << "5 1 1 " + text;
        QTest::addRow("date time options \"%s\"", token) << "FD_MACRO_SET_DATE_TIME"
                                                         << "2024 1 1 1 0 0 0 0 " + text;
    }

    QTest::newRow("whole text: two numbers") << "FD_MACRO_SET_PAGE_MEMORY_READ"
                                             << "1 2";
    QTest::newRow("whole text, write: two numbers") << "FD_MACRO_SET_PAGE_MEMORY_WRITE"
                                                    << "1 2";
    QTest::newRow("double blank") << "FD_MACRO_CLEAR_SIGNALS"
                                  << "1  2";
    QTest::newRow("login, third token") << "FD_MACRO_LOGIN"
                                        << "1 abcd x";
    QTest::newRow("login, one token") << "FD_MACRO_LOGIN"
                                      << "1";
    QTest::newRow("login, empty text") << "FD_MACRO_LOGIN"
                                       << "";
    QTest::newRow("date time, month not a number") << "FD_MACRO_SET_DATE_TIME"
                                                   << "2024 x 1 1 0 0 0 0 0";
    QTest::newRow("date time, milliseconds above 32 bits") << "FD_MACRO_SET_DATE_TIME"
                                                           << "2024 1 1 1 0 0 0 4294967296 0";
    QTest::newRow("date time, year above 16 bits") << "FD_MACRO_SET_DATE_TIME"
                                                   << "65536 1 1 1 0 0 0 0 0";
    QTest::newRow("date time, a blank only") << "FD_MACRO_SET_DATE_TIME"
                                             << " ";
    QTest::newRow("flash, value above 32 bits") << "FD_MACRO_WRITE_FLASH"
                                                << "4294967296 1";
    QTest::newRow("free macro, two tokens") << "FD_MACRO_SET"
                                            << "100 1";
    QTest::newRow("free macro, empty text") << "FD_MACRO_SET"
                                            << "";
    QTest::newRow("free macro, a parameter missing") << "FD_MACRO_SET"
                                                     << "100 1 2 7";
    QTest::newRow("free macro, count not a number") << "FD_MACRO_SET"
                                                    << "100 1 x";
    QTest::newRow("free macro, huge count") << "FD_MACRO_SET"
                                            << "100 1 4294967295 1 2";
    QTest::newRow("free macro, specification above 8 bits") << "FD_MACRO_SET"
                                                            << "100 258 0";
    QTest::newRow("free macro, specification not a number") << "FD_MACRO_SET"
                                                            << "100 -1 0";
    QTest::newRow("free macro, empty parameter") << "FD_MACRO_SET"
                                                 << "100 1 1 ";
    QTest::newRow("set serial number above one word") << "FD_MACRO_SET_SN"
                                                      << "70000";
    QTest::newRow("IP part above one word") << "FD_MACRO_SET_IP_ADDRESS"
                                            << "3 1 0 168 65536";

    // Month to millisecond each go in a byte: a value that does not fit is
    // refused, never sent as its low 8 bits.
    const char *const fieldNames[]
        = {"month", "day", "day of week", "hour", "minute", "second", "millisecond"};
    for (int field = 0; field < 7; ++field) {
        for (const char *value : {"256", "65536", "4294967295"}) {
            QStringList tokens {"2024", "1", "1", "1", "0", "0", "0", "0", "0"};
            tokens[1 + field] = QLatin1String(value);
            QTest::addRow("date time, %s %s", fieldNames[field], value)
                << "FD_MACRO_SET_DATE_TIME" << tokens.join(' ');
        }
    }
    QTest::newRow("date time, milliseconds in 8 bits no more") << "FD_MACRO_SET_DATE_TIME"
                                                               << "2024 13 31 1 23 59 58 999 65535";
    QTest::newRow("date time, fields as their low 8 bits no more")
        << "FD_MACRO_SET_DATE_TIME"
        << "65535 257 4294967295 1 300 0 0 0 0";

    // A control character hides text or ends a line wherever it stands; no
    // macro takes one, not even those that take any text.
    const char *const controls[]
        = {"\n", "\r", "\t", "\x01", "\x1B", "\x7F", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"};
    for (const char *control : controls) {
        const QString c = QString::fromUtf8(control);
        const QString shown = QString::number(c.at(0).unicode(), 16);
        QTest::addRow("login, U+%s after the password", qPrintable(shown))
            << "FD_MACRO_LOGIN"
            << "1 7305" + c + "--help";
        QTest::addRow("logout, U+%s in any text", qPrintable(shown)) << "FD_MACRO_LOGOUT" << c;
        QTest::addRow("serial number, U+%s at the end", qPrintable(shown)) << "FD_MACRO_SET_SN"
                                                                           << "9" + c;
        QTest::addRow("date and time of the clock, U+%s", qPrintable(shown))
            << "FD_MACRO_SET_DATE_TIME" << c;
    }
}

void TestMacroCatalogue::refusedText()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    MacroRequest request;
    request.code = 0xBEEF;
    QVERIFY(!MacroCatalogue::parse(name, text, &request));
    QCOMPARE(request.code, quint16(0xBEEF)); // untouched

    Cmm_Write_Macro command(nullptr);
    QVERIFY(!command.setFromText(name, text));
    QVERIFY(!command.run());
}

void TestMacroCatalogue::wrongTokenCount_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    for (const NumbersRow &row : numbersMacros) {
        QTest::addRow("%s, %d numbers", row.name, row.count)
            << row.name << numbersText(row.count) << true;
        QTest::addRow("%s, %d numbers", row.name, row.count - 1)
            << row.name << numbersText(row.count - 1) << false;
        QTest::addRow("%s, %d numbers", row.name, row.count + 1)
            << row.name << numbersText(row.count + 1) << false;
        QTest::addRow("%s, trailing blank", row.name)
            << row.name << numbersText(row.count) + " " << false;
        QTest::addRow("%s, leading blank", row.name)
            << row.name << " " + numbersText(row.count) << false;
    }
}

void TestMacroCatalogue::wrongTokenCount()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    Cmm_Write_Macro command(nullptr);
    QCOMPARE(command.setFromText(name, text), valid);
}

void TestMacroCatalogue::refusalKeepsThePreviousMacroFromBeingSent()
{
    Cmm_Write_Macro command(nullptr);
    QVERIFY(command.setFromText("FD_MACRO_SET_SN", "12"));
    QVERIFY(!command.setFromText("FD_MACRO_SET_SN", "x"));
    // The fields still describe the last good macro ...
    QCOMPARE(command.params(), Words({12}));
    QVERIFY(command.setFromText("FD_MACRO_CLEAR_SIGNALS", "1 2"));
    QCOMPARE(int(command.code()), 47);
    QCOMPARE(command.params(), Words({1, 2}));
}

void TestMacroCatalogue::dateTimeFromTheClock()
{
    Cmm_Write_Macro command(nullptr);
    // Read the clock around the call; the words must describe a moment between.
    const QDateTime before = QDateTime::currentDateTime();
    QVERIFY(command.setFromText("FD_MACRO_SET_DATE_TIME", ""));
    const QDateTime after = QDateTime::currentDateTime();

    const Words words = command.params();
    QCOMPARE(words.size(), 9);
    QCOMPARE(int(command.code()), 30);
    QCOMPARE(words.at(3), quint16(1)); // day of week
    QCOMPARE(words.at(8), quint16(0)); // options
    for (int i = 1; i < 8; ++i)
        QVERIFY(words.at(i) <= 0xFF);

    const QDate date(words.at(0), words.at(1), words.at(2));
    QVERIFY(date.isValid());
    bool between = false;
    for (int millisecond = words.at(7); millisecond < 1000; millisecond += 256) {
        const QDateTime moment(date, QTime(words.at(4), words.at(5), words.at(6), millisecond));
        if (moment >= before && moment <= after)
            between = true;
    }
    QStringList sent;
    for (const quint16 word : words)
        sent.append(QString::number(word));
    QVERIFY2(between,
        qPrintable(before.toString(Qt::ISODateWithMs) + " .. " + after.toString(Qt::ISODateWithMs)
            + ": " + sent.join(' ')));
}

void TestMacroCatalogue::freeMacroCarriesUpTo117WordsAndMore()
{
    // The catalogue passes any announced count; the engine refuses more than
    // 117 words before sending.
    for (const int count : {0, 117, 118}) {
        Cmm_Write_Macro command(nullptr);
        QVERIFY(command.setFromText(
            "FD_MACRO_SET", "300 2 " + QString::number(count) + " " + numbersText(count, 1000)));
        QCOMPARE(command.params().size(), count);
        if (count > 0)
            QCOMPARE(command.params().last(), quint16(1000 + count - 1));
    }
}

QTEST_GUILESS_MAIN(TestMacroCatalogue)
#include "tst_macrocatalogue.moc"
