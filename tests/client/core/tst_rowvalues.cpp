#include "rowvalues.h"

#include <QJsonDocument>
#include <QtTest>

// The values of the rows: their objects in the project file, read and
// written back unchanged, their fingerprints and driver arguments.
class tst_rowValues : public QObject
{
    Q_OBJECT

private slots:
    void fileObjects_data();
    void fileObjects();
    void missingKeys_data();
    void missingKeys();
    void unknownPortType_data();
    void unknownPortType();
    void arguments_data();
    void arguments();
    void fingerprintCoversEveryField_data();
    void fingerprintCoversEveryField();
};

namespace {

// The values of an object of a list, written back as the file holds them.
QByteArray roundTrip(const QString &list, const QJsonObject &object)
{
    QJsonObject written;
    if (list == "port")
        written = portValues::fromJson(object).value_or(portValues()).toJson();
    else if (list == "read")
        written = readValues::fromJson(object).toJson();
    else if (list == "write")
        written = writeValues::fromJson(object).toJson();
    else
        written = macroValues::fromJson(object).toJson();
    return QJsonDocument(written).toJson(QJsonDocument::Compact);
}

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

} // namespace

void tst_rowValues::fileObjects_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QByteArray>("json"); // as a project file holds it, "active" aside

    QTest::newRow("serial line") << "port"
                                 << QByteArray(R"({"addr":"7","baudrate":"9600","com":"COM3",)"
                                               R"("desc":"Incomer","type":"RTU"})");
    QTest::newRow("TCP connection") << "port"
                                    << QByteArray(R"({"addr":"255","desc":"Bay 5",)"
                                                  R"("ip":"10.0.0.7","port":"1502","type":"TCP"})");
    QTest::newRow("read") << "read"
                          << QByteArray(R"({"addr":"100","desc":"Voltage","format":"F_X_XX",)"
                                        R"("type":"U16"})");
    QTest::newRow("write") << "write"
                           << QByteArray(R"({"addr":"300","desc":"Trip","type":"F32",)"
                                         R"("value":"2.5"})");
    QTest::newRow("macro") << "macro"
                           << QByteArray(R"({"desc":"<b>in</b>","macro":"FD_MACRO_LOGIN",)"
                                         R"("param":"1 0042"})");
    // Hand-edited texts are kept as they are, not as numbers.
    QTest::newRow("hand-edited read") << "read"
                                      << QByteArray(R"({"addr":"0x10","desc":"","format":"F_Y",)"
                                                    R"("type":"u16"})");
    QTest::newRow("serial line, ASCII 7E1")
        << "port"
        << QByteArray(R"({"addr":"1","baudrate":"9600","com":"COM3","databits":"7",)"
                      R"("desc":"Meter","framing":"ASCII","parity":"E","type":"RTU"})");
    QTest::newRow("RTU through a gateway")
        << "port"
        << QByteArray(R"({"addr":"7","desc":"Gateway","framing":"RTU","ip":"10.0.0.9",)"
                      R"("port":"4001","type":"TCP"})");
    QTest::newRow("TLS") << "port"
                         << QByteArray(R"({"addr":"255","ca":"ca.pem","cert":"me.pem","desc":"",)"
                                       R"("ip":"10.0.0.7","key":"my key.pem","port":"802",)"
                                       R"("tls":true,"type":"TCP"})");
    QTest::newRow("serial line, RTU 8O1")
        << "port"
        << QByteArray(R"({"addr":"2","baudrate":"19200","com":"ttyUSB0","desc":"",)"
                      R"("parity":"O","type":"RTU"})");
    QTest::newRow("ASCII through a gateway, TLS off")
        << "port"
        << QByteArray(R"({"addr":"0","desc":"","framing":"ASCII","ip":"gw.local",)"
                      R"("port":"502","type":"TCP"})");
    QTest::newRow("TCP connection kept open")
        << "port"
        << QByteArray(R"({"addr":"1","desc":"","ip":"10.0.0.7","keepopen":true,"port":"502",)"
                      R"("type":"TCP"})");
    QTest::newRow("serial line kept open")
        << "port"
        << QByteArray(R"({"addr":"1","baudrate":"9600","com":"COM3","desc":"","keepopen":true,)"
                      R"("type":"RTU"})");
    QTest::newRow("hand-edited TCP port") << "port"
                                          << QByteArray(R"({"addr":"01","desc":"zażółć",)"
                                                        R"("ip":" x ","port":"-1","type":"TCP"})");
    // The keys beyond the first ones, each value other than the default.
    QTest::newRow("read of a coil") << "read"
                                    << QByteArray(R"({"addr":"3","desc":"Breaker","format":"",)"
                                                  R"("kind":"coil","type":"BIT"})");
    QTest::newRow("read of a discrete input")
        << "read"
        << QByteArray(R"({"addr":"4","desc":"","format":"","kind":"discrete","type":"BIT"})");
    QTest::newRow("read of input registers, U64 in ABCD")
        << "read"
        << QByteArray(R"({"addr":"10","desc":"Energy","format":"F_X","kind":"input",)"
                      R"("order":"ABCD","type":"U64"})");
    QTest::newRow("read of S64 in BADC")
        << "read"
        << QByteArray(R"({"addr":"1","desc":"","format":"","order":"BADC","type":"S64"})");
    QTest::newRow("read of F64 in DCBA")
        << "read"
        << QByteArray(R"({"addr":"1","desc":"","format":"","order":"DCBA","type":"F64"})");
    QTest::newRow("read of a text") << "read"
                                    << QByteArray(R"({"addr":"40","desc":"Name","format":"",)"
                                                  R"("length":"8","type":"STR"})");
    QTest::newRow("write with function 6")
        << "write"
        << QByteArray(R"({"addr":"5","desc":"Setpoint","function":"6","type":"S16","value":"-1"})");
    QTest::newRow("write of a coil")
        << "write"
        << QByteArray(R"({"addr":"3","desc":"Close","kind":"coil","type":"BIT","value":"1"})");
    QTest::newRow("write of a text")
        << "write"
        << QByteArray(R"({"addr":"40","desc":"","length":"8","type":"STR","value":"Feeder 1"})");
    QTest::newRow("write of U32 in BADC")
        << "write"
        << QByteArray(R"({"addr":"7","desc":"","order":"BADC","type":"U32","value":"4294967295"})");
    QTest::newRow("write of the most negative S64")
        << "write"
        << QByteArray(R"({"addr":"7","desc":"","order":"ABCD","type":"S64",)"
                      R"("value":"-9223372036854775808"})");
}

// An object read and written again is the same object.
void tst_rowValues::fileObjects()
{
    QFETCH(QString, list);
    QFETCH(QByteArray, json);
    QCOMPARE(roundTrip(list, object(json)), json);
}

void tst_rowValues::missingKeys_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("serial line, type only")
        << "port" << QByteArray(R"({"type":"RTU"})")
        << QByteArray(R"({"addr":"","baudrate":"","com":"","desc":"","type":"RTU"})");
    QTest::newRow("TCP keys of a serial line are dropped")
        << "port" << QByteArray(R"({"ip":"1.2.3.4","port":"502","type":"RTU","com":"COM1"})")
        << QByteArray(R"({"addr":"","baudrate":"","com":"COM1","desc":"","type":"RTU"})");
    QTest::newRow("TLS files without TLS are dropped")
        << "port" << QByteArray(R"({"cert":"a.pem","ip":"1.2.3.4","port":"802","type":"TCP"})")
        << QByteArray(R"({"addr":"","desc":"","ip":"1.2.3.4","port":"802","type":"TCP"})");
    QTest::newRow("TLS that is no boolean")
        << "port" << QByteArray(R"({"ip":"1.2.3.4","port":"802","tls":"yes","type":"TCP"})")
        << QByteArray(R"({"addr":"","desc":"","ip":"1.2.3.4","port":"802","type":"TCP"})");
    QTest::newRow("a serial line's defaults said are not kept")
        << "port" << QByteArray(R"({"databits":"8","parity":"N","type":"RTU"})")
        << QByteArray(R"({"addr":"","baudrate":"","com":"","desc":"","type":"RTU"})");
    QTest::newRow("a line not kept open says nothing")
        << "port" << QByteArray(R"({"ip":"1.2.3.4","keepopen":false,"port":"502","type":"TCP"})")
        << QByteArray(R"({"addr":"","desc":"","ip":"1.2.3.4","port":"502","type":"TCP"})");
    QTest::newRow("keep open that is no boolean")
        << "port" << QByteArray(R"({"ip":"1.2.3.4","keepopen":"yes","port":"502","type":"TCP"})")
        << QByteArray(R"({"addr":"","desc":"","ip":"1.2.3.4","port":"502","type":"TCP"})");
    QTest::newRow("read, numbers are no texts")
        << "read" << QByteArray(R"({"addr":100,"type":"U16"})")
        << QByteArray(R"({"addr":"","desc":"","format":"","type":"U16"})");
    QTest::newRow("write, empty") << "write" << QByteArray("{}")
                                  << QByteArray(R"({"addr":"","desc":"","type":"","value":""})");
    QTest::newRow("macro, empty") << "macro" << QByteArray("{}")
                                  << QByteArray(R"({"desc":"","macro":"","param":""})");
    // The defaults are no keys, whether written or not.
    QTest::newRow("read, default kind and order")
        << "read" << QByteArray(R"({"addr":"1","kind":"holding","order":"CDAB","type":"U32"})")
        << QByteArray(R"({"addr":"1","desc":"","format":"","type":"U32"})");
    QTest::newRow("write, function 16 is the default")
        << "write" << QByteArray(R"({"addr":"1","function":"16","type":"U16","value":"1"})")
        << QByteArray(R"({"addr":"1","desc":"","type":"U16","value":"1"})");
}

// A missing key, or one that holds no text, gives the empty text.
void tst_rowValues::missingKeys()
{
    QFETCH(QString, list);
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, written);
    QCOMPARE(roundTrip(list, object(json)), written);
}

void tst_rowValues::unknownPortType_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("CAN") << QByteArray(R"({"type":"CAN","ip":"x"})");
    QTest::newRow("lower case") << QByteArray(R"({"type":"tcp"})");
    QTest::newRow("none") << QByteArray(R"({"com":"COM1"})");
    QTest::newRow("not a text") << QByteArray(R"({"type":1})");
}

void tst_rowValues::unknownPortType()
{
    QFETCH(QByteArray, json);
    QVERIFY(!portValues::fromJson(object(json)));
}

void tst_rowValues::arguments_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("serial line") << QByteArray(
        R"({"addr":"1","baudrate":"115200","com":"COM3","type":"RTU"})")
                                 << "port"
                                 << QStringList {"--address", "1", "--port", "\\\\.\\COM3",
                                        "--baudrate", "115200"};
    QTest::newRow("TCP connection")
        << QByteArray(R"({"addr":"255","ip":"10.0.0.7","port":"502","type":"TCP"})") << "port"
        << QStringList {"--address", "255", "--ip", "10.0.0.7", "--port", "502"};
    QTest::newRow("serial line, ASCII 7E1")
        << QByteArray(R"({"addr":"1","baudrate":"9600","com":"COM3","databits":"7",)"
                      R"("framing":"ASCII","parity":"E","type":"RTU"})")
        << "port"
        << QStringList {"--address", "1", "--port", "\\\\.\\COM3", "--baudrate", "9600",
               "--framing", "ASCII", "--data_bit", "7", "--parity", "E"};
    QTest::newRow("TLS") << QByteArray(R"({"addr":"255","ca":"ca.pem","cert":"me.pem",)"
                                       R"("ip":"10.0.0.7","key":"me.key","port":"802",)"
                                       R"("tls":true,"type":"TCP"})")
                         << "port"
                         << QStringList {"--address", "255", "--ip", "10.0.0.7", "--port", "802",
                                "--tls", "--cert", "me.pem", "--key", "me.key", "--ca", "ca.pem"};
    // The drivers' options are the same: a driver that serves takes them.
    QTest::newRow("kept open") << QByteArray(R"({"addr":"1","ip":"10.0.0.7","keepopen":true,)"
                                             R"("port":"502","type":"TCP"})")
                               << "port"
                               << QStringList {
                                      "--address", "1", "--ip", "10.0.0.7", "--port", "502"};
    QTest::newRow("read") << QByteArray(R"({"addr":"100","type":"S32"})") << "read"
                          << QStringList {"--read_s32", "100"};
    QTest::newRow("write") << QByteArray(R"({"addr":"7","type":"F32","value":"-2.5"})") << "write"
                           << QStringList {"--write_f32", "7", "--data", "-2.5"};
    QTest::newRow("read of a coil") << QByteArray(R"({"addr":"3","kind":"coil","type":"BIT"})")
                                    << "read" << QStringList {"--read_coil", "3"};
    QTest::newRow("read of a discrete input")
        << QByteArray(R"({"addr":"3","kind":"discrete","type":"BIT"})") << "read"
        << QStringList {"--readIn_bit", "3"};
    QTest::newRow("read of input registers in ABCD")
        << QByteArray(R"({"addr":"10","kind":"input","order":"ABCD","type":"U64"})") << "read"
        << QStringList {"--readIn_u64", "10", "--order", "ABCD"};
    QTest::newRow("read of F64, default order") << QByteArray(R"({"addr":"10","type":"F64"})")
                                                << "read" << QStringList {"--read_f64", "10"};
    QTest::newRow("read of U16, an order is no option")
        << QByteArray(R"({"addr":"10","order":"ABCD","type":"U16"})") << "read"
        << QStringList {"--read_u16", "10"};
    QTest::newRow("read of a text") << QByteArray(R"({"addr":"40","length":"8","type":"STR"})")
                                    << "read" << QStringList {"--read_str", "40", "--range", "8"};
    QTest::newRow("read of a text in input registers")
        << QByteArray(R"({"addr":"40","kind":"input","length":"8","type":"STR"})") << "read"
        << QStringList {"--readIn_str", "40", "--range", "8"};
    QTest::newRow("write with function 6")
        << QByteArray(R"({"addr":"5","function":"6","type":"S16","value":"-1"})") << "write"
        << QStringList {"--write_single", "5", "--data", "-1"};
    QTest::newRow("function 6 applies to 16-bit types only")
        << QByteArray(R"({"addr":"5","function":"6","type":"F32","value":"1.5"})") << "write"
        << QStringList {"--write_f32", "5", "--data", "1.5"};
    QTest::newRow("write of a coil")
        << QByteArray(R"({"addr":"3","kind":"coil","type":"BIT","value":"1"})") << "write"
        << QStringList {"--write_coil", "3", "--data", "1"};
    QTest::newRow("write of a text")
        << QByteArray(R"({"addr":"40","length":"8","type":"STR","value":"Feeder 1"})") << "write"
        << QStringList {"--write_str", "40", "--range", "8", "--data", "Feeder 1"};
    QTest::newRow("write of F64 in DCBA")
        << QByteArray(R"({"addr":"7","order":"DCBA","type":"F64","value":"-0.5"})") << "write"
        << QStringList {"--write_f64", "7", "--data", "-0.5", "--order", "DCBA"};
    QTest::newRow("macro with blanks in its parameters")
        << QByteArray(R"({"macro":"FD_MACRO_LOGIN","param":"1 7305"})") << "macro"
        << QStringList {"--macro", "FD_MACRO_LOGIN", "--param", "1 7305"};
    QTest::newRow("macro without parameters")
        << QByteArray(R"({"macro":"FD_MACRO_LOGOUT","param":""})") << "macro"
        << QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", ""};
}

void tst_rowValues::arguments()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, list);
    QFETCH(QStringList, arguments);
    const QJsonObject fields = object(json);
    QStringList made;
    if (list == "port")
        made = portValues::fromJson(fields)->arguments();
    else if (list == "read")
        made = readValues::fromJson(fields).arguments();
    else if (list == "write")
        made = writeValues::fromJson(fields).arguments();
    else
        made = macroValues::fromJson(fields).arguments();
    QCOMPARE(made, arguments);
}

void tst_rowValues::fingerprintCoversEveryField_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("list");

    QTest::newRow("serial line") << QByteArray(R"({"addr":"1","baudrate":"9600","com":"COM3",)"
                                               R"("desc":"d","type":"RTU"})")
                                 << "port";
    QTest::newRow("TCP connection") << QByteArray(R"({"addr":"1","desc":"d","ip":"10.0.0.7",)"
                                                  R"("port":"502","type":"TCP"})")
                                    << "port";
    QTest::newRow("serial line, ASCII 7E1")
        << QByteArray(R"({"addr":"1","baudrate":"9600","com":"COM3","databits":"7",)"
                      R"("desc":"d","framing":"ASCII","parity":"E","type":"RTU"})")
        << "port";
    QTest::newRow("TLS") << QByteArray(R"({"addr":"1","ca":"ca.pem","cert":"me.pem","desc":"d",)"
                                       R"("ip":"10.0.0.7","key":"me.key","port":"802",)"
                                       R"("tls":true,"type":"TCP"})")
                         << "port";
    QTest::newRow("kept open") << QByteArray(R"({"addr":"1","desc":"d","ip":"10.0.0.7",)"
                                             R"("keepopen":true,"port":"502","type":"TCP"})")
                               << "port";
    QTest::newRow("read") << QByteArray(R"({"addr":"1","desc":"d","format":"F_X","type":"U16"})")
                          << "read";
    QTest::newRow("write") << QByteArray(R"({"addr":"1","desc":"d","type":"U16","value":"5"})")
                           << "write";
    QTest::newRow("read with kind, order and length") << QByteArray(
        R"({"addr":"1","desc":"d","format":"","kind":"input","length":"4",)"
        R"("order":"ABCD","type":"U64"})") << "read";
    QTest::newRow("write with kind, order, length and function") << QByteArray(
        R"({"addr":"1","desc":"d","function":"6","kind":"coil","length":"4",)"
        R"("order":"ABCD","type":"U16","value":"5"})") << "write";
    QTest::newRow("macro") << QByteArray(R"({"desc":"d","macro":"FD_MACRO_SET","param":"1 1 0"})")
                           << "macro";
}

// An edit of any one stored field counts as a change; the kind's own keys
// only count ("type" says which kind it is).
void tst_rowValues::fingerprintCoversEveryField()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, list);
    const auto fingerprintOfObject = [&list](const QJsonObject &fields) {
        if (list == "port")
            return portValues::fromJson(fields)->fingerprint();
        if (list == "read")
            return readValues::fromJson(fields).fingerprint();
        if (list == "write")
            return writeValues::fromJson(fields).fingerprint();
        return macroValues::fromJson(fields).fingerprint();
    };
    const QJsonObject fields = object(json);
    const QString stored = fingerprintOfObject(fields);
    QCOMPARE(fingerprintOfObject(fields), stored);
    for (const QString &key : fields.keys()) {
        if (key == "type" && list == "port")
            continue;
        QJsonObject edited = fields;
        edited.insert(key, fields.value(key).toString() + "x");
        QVERIFY2(fingerprintOfObject(edited) != stored, qPrintable(key));
    }
}

QTEST_GUILESS_MAIN(tst_rowValues)
#include "tst_rowvalues.moc"
