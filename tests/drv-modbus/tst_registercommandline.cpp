// The register driver's checks before a line is opened, and the operation it
// chooses from a command line.

#include "optionpairs.h"
#include "optiontable.h"
#include "registercommandline.h"
#include "registerrequest.h"
#include "reportprinter.h"

#include <QtTest>

using Words = QVector<quint16>;
Q_DECLARE_METATYPE(ValueType)
Q_DECLARE_METATYPE(RegisterRequest::Kind)
Q_DECLARE_METATYPE(RegisterRequest::Table)

class TestRegisterCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void missingParameters_data();
    void missingParameters();
    void invalidParameters_data();
    void invalidParameters();
    void chosenOperation_data();
    void chosenOperation();
    void requestSettings();
    void loadWords();
};

static OptionPairs commandLine(const QStringList &arguments)
{
    return RegisterCommandLine::optionTable().scan(QStringList {"qelDrvModbus"} + arguments);
}

static QString plain(const QString &markup)
{
    return ReportPrinter::toPlainText(markup, "\n");
}

static const QStringList serial {"--port", "/dev/null", "--address", "1"};
static const QStringList tcp {"--ip", "127.0.0.1"};

void TestRegisterCommandLine::missingParameters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("lines");
    QTest::newRow("serial without port and address")
        << QStringList {"--read_u16", "0"} << " --port\n --address\n";
    QTest::newRow("serial without address")
        << QStringList {"--port", "COM1", "--read_u16", "0"} << " --address\n";
    QTest::newRow("tcp needs neither") << tcp + QStringList {"--read_u16", "0"} << "";
    QTest::newRow("block write without data or load")
        << tcp + QStringList {"--write", "0"} << " --load\n";
    QTest::newRow("block write with data")
        << tcp + QStringList {"--write", "0", "--data", "1"} << "";
    QTest::newRow("block write with load")
        << tcp + QStringList {"--write", "0", "--load", "f"} << "";
    QTest::newRow("format not a member")
        << tcp + QStringList {"--write", "0", "--load", "f", "--format", "hex"}
        << " hex is not a member of: DEC HEX BIN\n";
    QTest::newRow("format checked with data too")
        << tcp + QStringList {"--write", "0", "--data", "1", "--format", "TXT"}
        << " TXT is not a member of: DEC HEX BIN\n";
    QTest::newRow("missing load and bad format") << QStringList {"--write", "0", "--format",
        "X"} << " --port\n --address\n --load\n X is not a member of: DEC HEX BIN\n";
    QTest::newRow("typed write without data")
        << tcp + QStringList {"--write_f32", "0"} << " --data\n";
    QTest::newRow("range read without range") << tcp + QStringList {"--read", "0"} << " --range\n";
    QTest::newRow("input range read without range")
        << tcp + QStringList {"--readIn", "0"} << " --range\n";
    QTest::newRow("block write rule comes first")
        << tcp + QStringList {"--write", "0", "--read", "0"} << " --load\n";
    QTest::newRow("typed write rule before range rule")
        << tcp + QStringList {"--read", "0", "--write_u16", "0"} << " --data\n";
    QTest::newRow("coils without range") << tcp + QStringList {"--read_coils", "0"} << " --range\n";
    QTest::newRow("coils written without data or load")
        << tcp + QStringList {"--write_coils", "0"} << " --load\n";
    QTest::newRow("coil without data") << tcp + QStringList {"--write_coil", "0"} << " --data\n";
    QTest::newRow("single register without data")
        << tcp + QStringList {"--write_single", "0"} << " --data\n";
    QTest::newRow("text read without range")
        << tcp + QStringList {"--read_str", "0"} << " --range\n";
    QTest::newRow("text write without range and data")
        << tcp + QStringList {"--write_str", "0"} << " --range\n --data\n";
    QTest::newRow("identification needs nothing more")
        << tcp + QStringList {"--read_device_id", "basic"} << "";
    QTest::newRow("connect only") << serial << "";
}

void TestRegisterCommandLine::missingParameters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lines);
    QCOMPARE(plain(RegisterCommandLine::missingParameters(commandLine(arguments))), lines);
}

// The lines of "Invalid parameters": the command-line checks, then the checks
// of the chosen operation's data, as the driver collects them.
static QString invalidLines(const QStringList &arguments)
{
    const OptionPairs options = commandLine(arguments);
    QString lines = RegisterCommandLine::invalidParameters(options);
    RegisterRequest request(options, &lines);
    return plain(lines);
}

void TestRegisterCommandLine::invalidParameters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("lines");

    const QStringList read {"--read_u16", "0"};
    // Device address
    QTest::newRow("serial address 247")
        << QStringList {"--port", "p", "--address", "247"} + read << "";
    QTest::newRow("serial address 248") << QStringList {"--port", "p", "--address", "248"} + read
                                        << " 248 is not a device address: 0..247\n";
    QTest::newRow("serial address 255") << QStringList {"--port", "p", "--address", "255"} + read
                                        << " 255 is not a device address: 0..247\n";
    QTest::newRow("tcp address 255") << tcp + QStringList {"--address", "255"} + read << "";
    QTest::newRow("tcp address 254") << tcp + QStringList {"--address", "254"} + read
                                     << " 254 is not a device address: 0..247, 255\n";
    QTest::newRow("hex address would read as 0") << QStringList {"--port", "p", "--address", "0x01"}
            + read << " 0x01 is not a device address: 0..247\n";
    QTest::newRow("address not a number, one line")
        << QStringList {"--port", "p", "--address", "one"} + read << " one is not a number\n";

    // Line settings
    QTest::newRow("baud rate in hex passes")
        << serial + QStringList {"--baudrate", "0x2580"} + read << "";
    QTest::newRow("baud rate text")
        << serial + QStringList {"--baudrate", "fast"} + read << " fast is not a number\n";
    QTest::newRow("parity X") << serial + QStringList {"--parity", "X"} + read
                              << " X is not a member of: N O E\n";
    QTest::newRow("parity Even") << serial + QStringList {"--parity", "Even"} + read
                                 << " Even is not a member of: N O E\n";
    QTest::newRow("data bits 7") << serial + QStringList {"--data_bit", "7"} + read
                                 << " 7 is not a member of: 8\n";
    QTest::newRow("stop bits 3") << serial + QStringList {"--stop_bit", "3"} + read
                                 << " 3 is not a member of: 1 2\n";
    QTest::newRow("display BIN") << serial + QStringList {"--display", "BIN"} + read
                                 << " BIN is not a member of: HEX DEC\n";
    QTest::newRow("frame delay") << serial + QStringList {"--fdelay", "soon"} + read
                                 << " soon is not a number\n";
    QTest::newRow("tcp port 502") << tcp + QStringList {"--port", "502"} + read << "";
    QTest::newRow("tcp port beyond 65535") << tcp + QStringList {"--port", "66038"}
            + read << " 66038 is not a decimal whole number from 1 to 65535\n";
    // The connection reads the port in decimal; the check reads it the same way.
    for (const char *port : {"0x1F6", "502.0", "5.02e2", "0", "+502", " 502"}) {
        QTest::addRow("tcp port %s", port) << tcp + QStringList {"--port", port}
                + read << QString(" %1 is not a decimal whole number from 1 to 65535\n").arg(port);
    }
    // A whole number of milliseconds, never cut to 16 bits.
    for (const char *delay : {"-1", "99999999", "65536", "1.5"}) {
        QTest::addRow("frame delay %s", delay) << serial + QStringList {"--fdelay", delay}
                + read << QString(" %1 is not a whole number from 0 to 65535\n").arg(delay);
    }
    QTest::newRow("frame delay 65535") << serial + QStringList {"--fdelay", "65535"} + read << "";
    QTest::newRow("tcp port text")
        << tcp + QStringList {"--port", "modbus"} + read << " modbus is not a number\n";
    QTest::newRow("serial port name not checked")
        << QStringList {"--port", "x", "--address", "1"} << "";

    // Registers and counts are whole numbers 0..65535, never cut
    QTest::newRow("register 65535") << tcp + QStringList {"--read_u16", "65535"} << "";
    QTest::newRow("register 65536") << tcp + QStringList {"--write_u16", "65536", "--data", "1"}
                                    << " 65536 is not a whole number from 0 to 65535\n";
    QTest::newRow("register hex 0x10000") << tcp + QStringList {"--read_s16", "0x10000"}
                                          << " 0x10000 is not a whole number from 0 to 65535\n";
    QTest::newRow("register negative") << tcp + QStringList {"--readIn_u32", "-1"}
                                       << " -1 is not a whole number from 0 to 65535\n";
    QTest::newRow("register fraction") << tcp + QStringList {"--read_f32", "1,5"}
                                       << " 1,5 is not a whole number from 0 to 65535\n";
    QTest::newRow("register text, one line")
        << tcp + QStringList {"--readIn_s32", "ten"} << " ten is not a number\n";
    QTest::newRow("register empty, last argument")
        << tcp + QStringList {"--readIn_f32"} << "  is not a number\n";
    QTest::newRow("range 65536") << tcp + QStringList {"--read", "0", "--range", "65536"}
                                 << " 65536 is not a whole number from 0 to 65535\n";
    QTest::newRow("every register option is checked")
        << tcp + QStringList {"--read_u16", "0", "--write", "1e9", "--data", "1", "--readIn", "-2"}
        << " 1e9 is not a whole number from 0 to 65535\n -2 is not a whole number from 0 to "
           "65535\n";

    // Registers past 65535
    QTest::newRow("range to the last register")
        << tcp + QStringList {"--read", "1", "--range", "65535"} << "";
    QTest::newRow("range past the last register")
        << tcp + QStringList {"--read", "65500", "--range", "100"}
        << " 65500 is not a whole number from 0 to 65436\n";
    QTest::newRow("input range past the last register")
        << tcp + QStringList {"--readIn", "2", "--range", "65535"}
        << " 2 is not a whole number from 0 to 1\n";
    QTest::newRow("range 0 at the last register")
        << tcp + QStringList {"--read", "65535", "--range", "0"} << "";
    QTest::newRow("U32 at the last register") << tcp + QStringList {"--read_u32", "65535"}
                                              << " 65535 is not a whole number from 0 to 65534\n";
    QTest::newRow("F32 write at the last register")
        << tcp + QStringList {"--write_f32", "65535", "--data", "1"}
        << " 65535 is not a whole number from 0 to 65534\n";
    QTest::newRow("S16 write at the last register")
        << tcp + QStringList {"--write_s16", "65535", "--data", "1"} << "";
    QTest::newRow("block write past the last register")
        << tcp + QStringList {"--write", "65534", "--data", "[1,2,3]"}
        << " 65534 is not a whole number from 0 to 65533\n";
    // One limit whichever way the words come: 65535 registers.
    const QString words65535 = QString("7,").repeated(65535).chopped(1);
    QTest::newRow("block write of 65535 words at register 0")
        << tcp + QStringList {"--write", "0", "--data", words65535} << "";
    QTest::newRow("block write of 65535 words at register 2")
        << tcp + QStringList {"--write", "2", "--data", words65535}
        << " 2 is not a whole number from 0 to 1\n";
    QTest::newRow("block write of 65536 words")
        << tcp + QStringList {"--write", "0", "--data", words65535 + ",7"}
        << " 65536 words do not fit in the 65535 registers of a block write\n";

    // Data of the chosen operation
    QTest::newRow("block data part")
        << tcp + QStringList {"--write", "5", "--data", "[1,x,3]"} << " x is not a number\n";
    QTest::newRow("block data beyond a word")
        << tcp + QStringList {"--write", "5", "--data", "70000"}
        << " 70000 is not a whole number from 0 to 65535\n";
    QTest::newRow("block data ignored when a file is loaded")
        << tcp + QStringList {"--write", "5", "--data", "x", "--load", "f"} << "";
    QTest::newRow("U16 value cut") << tcp + QStringList {"--write_u16", "0", "--data", "70000"}
                                   << " 70000 is not a whole number from 0 to 65535\n";
    QTest::newRow("S16 value") << tcp + QStringList {"--write_s16", "0", "--data", "40000"}
                               << " 40000 is not a whole number from -32768 to 32767\n";
    QTest::newRow("U32 value") << tcp + QStringList {"--write_u32", "0", "--data", "-1"}
                               << " -1 is not a whole number from 0 to 4294967295\n";
    QTest::newRow("S32 value") << tcp + QStringList {"--write_s32", "0", "--data", "0xFFFFFFFF"}
                               << " 0xFFFFFFFF is not a whole number from -2147483648 to "
                                  "2147483647\n";
    QTest::newRow("F32 value") << tcp + QStringList {"--write_f32", "0", "--data", "1e40"}
                               << " 1e40 is not a finite F32 value\n";
    QTest::newRow("typed value text")
        << tcp + QStringList {"--write_u32", "0", "--data", "lots"} << " lots is not a number\n";
    QTest::newRow("data of an operation not chosen")
        << tcp + QStringList {"--read_u16", "0", "--write_u16", "0", "--data", "lots"} << "";

    // Everything in one message, in order
    QTest::newRow("all problems together")
        << QStringList {"--port", "p", "--address", "300", "--parity", "X", "--write_u16", "70000",
               "--data", "-1", "--fdelay", "x"}
        << " 300 is not a device address: 0..247\n 70000 is not a whole number from 0 to 65535\n"
           " X is not a member of: N O E\n x is not a number\n -1 is not a whole number from 0 "
           "to 65535\n";
}

void TestRegisterCommandLine::invalidParameters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lines);
    QCOMPARE(invalidLines(arguments), lines);
}

void TestRegisterCommandLine::chosenOperation_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<RegisterRequest::Kind>("kind");
    QTest::addColumn<RegisterRequest::Table>("table");
    QTest::addColumn<ValueType>("type");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<Words>("words");

    QTest::newRow("nothing") << serial << RegisterRequest::Nothing << RegisterRequest::Holding
                             << ValueType::U16 << 0 << 0 << Words {};
    QTest::newRow("U16 read") << QStringList {"--read_u16", "100"} << RegisterRequest::TypedRead
                              << RegisterRequest::Holding << ValueType::U16 << 100 << 1 << Words {};
    QTest::newRow("F32 input read at hex register")
        << QStringList {"--readIn_f32", "0x10"} << RegisterRequest::TypedRead
        << RegisterRequest::Input << ValueType::F32 << 16 << 2 << Words {};
    QTest::newRow("S32 read") << QStringList {"--read_s32", "7"} << RegisterRequest::TypedRead
                              << RegisterRequest::Holding << ValueType::S32 << 7 << 2 << Words {};
    QTest::newRow("range read") << QStringList {"--read", "1", "--range", "250"}
                                << RegisterRequest::RangeRead << RegisterRequest::Holding
                                << ValueType::U16 << 1 << 250 << Words {};
    QTest::newRow("input range read")
        << QStringList {"--readIn", "0", "--range", "0x10"} << RegisterRequest::RangeRead
        << RegisterRequest::Input << ValueType::U16 << 0 << 16 << Words {};
    QTest::newRow("block write") << QStringList {"--write", "5", "--data", "[1, 2]"}
                                 << RegisterRequest::BlockWrite << RegisterRequest::Holding
                                 << ValueType::U16 << 5 << 0 << Words {1, 2};
    QTest::newRow("S16 write") << QStringList {"--write_s16", "3", "--data", "-2"}
                               << RegisterRequest::TypedWrite << RegisterRequest::Holding
                               << ValueType::S16 << 3 << 0 << Words {0xFFFE};
    QTest::newRow("U32 write") << QStringList {"--write_u32", "0", "--data", "0x11223344"}
                               << RegisterRequest::TypedWrite << RegisterRequest::Holding
                               << ValueType::U32 << 0 << 0 << Words {0x3344, 0x1122};
    QTest::newRow("reads are tried before writes")
        << QStringList {"--write_u16", "1", "--data", "3", "--read_s32", "4"}
        << RegisterRequest::TypedRead << RegisterRequest::Holding << ValueType::S32 << 4 << 2
        << Words {};
    QTest::newRow("holding range before typed input read")
        << QStringList {"--readIn_u16", "1", "--read", "2", "--range", "3"}
        << RegisterRequest::RangeRead << RegisterRequest::Holding << ValueType::U16 << 2 << 3
        << Words {};
    QTest::newRow("typed input reads: S16 before U32")
        << QStringList {"--readIn_u32", "1", "--readIn_s16", "2"} << RegisterRequest::TypedRead
        << RegisterRequest::Input << ValueType::S16 << 2 << 1 << Words {};
    QTest::newRow("block write before typed writes")
        << QStringList {"--write_f32", "1", "--write", "9", "--data", "4"}
        << RegisterRequest::BlockWrite << RegisterRequest::Holding << ValueType::U16 << 9 << 0
        << Words {4};
    QTest::newRow("coils") << QStringList {"--read_coils", "10", "--range", "2001"}
                           << RegisterRequest::RangeRead << RegisterRequest::Coils << ValueType::Bit
                           << 10 << 2001 << Words {};
    QTest::newRow("one discrete input")
        << QStringList {"--readIn_bit", "3"} << RegisterRequest::TypedRead
        << RegisterRequest::DiscreteInputs << ValueType::Bit << 3 << 1 << Words {};
    QTest::newRow("one coil written")
        << QStringList {"--write_coil", "3", "--data", "1"} << RegisterRequest::TypedWrite
        << RegisterRequest::Coils << ValueType::Bit << 3 << 0 << Words {1};
    QTest::newRow("coils written")
        << QStringList {"--write_coils", "3", "--data", "[1,0,1]"} << RegisterRequest::BlockWrite
        << RegisterRequest::Coils << ValueType::Bit << 3 << 0 << Words {1, 0, 1};
    QTest::newRow("single register, signed")
        << QStringList {"--write_single", "4", "--data", "-2"} << RegisterRequest::SingleWrite
        << RegisterRequest::Holding << ValueType::U16 << 4 << 0 << Words {0xFFFE};
    QTest::newRow("S64 write in ABCD")
        << QStringList {"--write_s64", "8", "--data", "-2", "--order", "ABCD"}
        << RegisterRequest::TypedWrite << RegisterRequest::Holding << ValueType::S64 << 8 << 0
        << Words {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFE};
    QTest::newRow("F64 input read")
        << QStringList {"--readIn_f64", "8"} << RegisterRequest::TypedRead << RegisterRequest::Input
        << ValueType::F64 << 8 << 4 << Words {};
    QTest::newRow("text read") << QStringList {"--readIn_str", "8", "--range", "16"}
                               << RegisterRequest::TextRead << RegisterRequest::Input
                               << ValueType::U16 << 8 << 16 << Words {};
    QTest::newRow("text write") << QStringList {"--write_str", "8", "--range", "2", "--data", "ABC"}
                                << RegisterRequest::TextWrite << RegisterRequest::Holding
                                << ValueType::U16 << 8 << 2 << Words {0x4142, 0x4300};
    QTest::newRow("existing operations before the new ones")
        << QStringList {"--read_coils", "1", "--range", "1", "--write_u16", "2", "--data", "3"}
        << RegisterRequest::TypedWrite << RegisterRequest::Holding << ValueType::U16 << 2 << 0
        << Words {3};
    QTest::newRow("first value of a repeated option")
        << QStringList {"--read_u16", "8", "--read_u16", "9"} << RegisterRequest::TypedRead
        << RegisterRequest::Holding << ValueType::U16 << 8 << 1 << Words {};
}

void TestRegisterCommandLine::chosenOperation()
{
    QFETCH(QStringList, arguments);
    QFETCH(RegisterRequest::Kind, kind);
    QFETCH(RegisterRequest::Table, table);
    QFETCH(ValueType, type);
    QFETCH(int, start);
    QFETCH(int, count);
    QFETCH(Words, words);
    QString errors;
    const RegisterRequest request(commandLine(tcp + arguments), &errors);
    QCOMPARE(errors, QString());
    QCOMPARE(request.kind, kind);
    if (kind == RegisterRequest::Nothing)
        return;
    QCOMPARE(request.table, table);
    if (kind == RegisterRequest::TypedRead || kind == RegisterRequest::TypedWrite)
        QCOMPARE(request.type, type);
    QCOMPARE(request.start, start);
    QCOMPARE(request.count, count);
    QCOMPARE(request.words, words);
}

void TestRegisterCommandLine::requestSettings()
{
    const QStringList range {"--read", "0", "--range", "1"};
    const RegisterRequest plainRequest(commandLine(tcp + range), nullptr);
    QCOMPARE(plainRequest.pause, 20);
    QVERIFY(!plainRequest.save);
    QCOMPARE(plainRequest.display, QString());

    const RegisterRequest tuned(
        commandLine(
            tcp + range + QStringList {"--fdelay", "0", "--display", "DEC", "--save", "out.txt"}),
        nullptr);
    QCOMPARE(tuned.pause, 0);
    QVERIFY(tuned.save);
    QCOMPARE(tuned.saveFile, QString("out.txt"));
    QCOMPARE(tuned.display, QString("DEC"));

    QCOMPARE(
        RegisterRequest(commandLine(tcp + range + QStringList {"--fdelay", "7,9"}), nullptr).pause,
        7);
    // "--save" as the last argument still asks for a file, not for the console.
    QVERIFY(RegisterRequest(commandLine(tcp + range + QStringList {"--save"}), nullptr).save);

    const RegisterRequest load(
        commandLine(tcp + QStringList {"--write", "0", "--data", "1", "--load", "f.txt"}), nullptr);
    QVERIFY(load.load);
    QCOMPARE(load.loadFile, QString("f.txt"));
    QCOMPARE(load.format, QString("BIN"));
    QVERIFY(load.words.isEmpty());
}

void TestRegisterCommandLine::loadWords()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString fileName = directory.filePath("image.txt");
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("1,2,3");
    file.close();

    auto request = [&](const QString &start, const QString &name) {
        return RegisterRequest(
            commandLine(tcp + QStringList {"--write", start, "--load", name, "--format", "DEC"}),
            nullptr);
    };

    RegisterRequest fits = request("65533", fileName);
    QString message;
    QVERIFY(fits.loadWords(&message));
    QCOMPARE(fits.words, Words({1, 2, 3}));

    RegisterRequest past = request("65534", fileName);
    QVERIFY(!past.loadWords(&message));
    QCOMPARE(plain(message),
        QString("Invalid parameters:\n 65534 is not a whole number from 0 to 65533\n"));
    QVERIFY(past.words.isEmpty());

    for (const int count : {65536, 65537}) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("1 ").repeated(count));
        file.close();
        RegisterRequest tooMany = request("0", fileName);
        QVERIFY(!tooMany.loadWords(&message));
        QCOMPARE(plain(message),
            QString("Invalid parameters:\n %1 words do not fit in the 65535 registers of a block "
                    "write\n")
                .arg(count));
        QVERIFY(tooMany.words.isEmpty());
    }

    RegisterRequest missing = request("0", directory.filePath("none.txt"));
    QVERIFY(!missing.loadWords(&message));
    QVERIFY(plain(message).startsWith(
        "Unable to load data from \"" + directory.filePath("none.txt") + "\":\n"));

    // Other operations load nothing.
    RegisterRequest read(
        commandLine(tcp + QStringList {"--read_u16", "0", "--load", "none"}), nullptr);
    QVERIFY(read.loadWords(&message));
}

QTEST_APPLESS_MAIN(TestRegisterCommandLine)
#include "tst_registercommandline.moc"
