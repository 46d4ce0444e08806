#include "addrtuport.h"
#include "addtcpport.h"
#include "dialogtesting.h"
#include "userprompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QToolButton>
#include <QtTest>

// The serial line and TCP connection dialogs.
class tst_portdialogs : public QObject
{
    Q_OBJECT

private:
    template<typename T> static T *control(QDialog &dialog, const char *name)
    {
        T *found = dialog.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    static QStringList items(QComboBox *box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    }

private slots:
    void rtuInitial();
    void rtuWithoutFreePort();
    void rtuPreset_data();
    void rtuPreset();
    void rtuHash_data();
    void rtuHash();
    void tcpInitial();
    void tcpTakesIpAsTyped();
    void tcpHash_data();
    void tcpHash();
    void answers_data();
    void answers();
    void rtuFraming();
    void tcpFramingAndTls();
    void editKeepsLine_data();
    void editKeepsLine();
    void keepLineOpen();
};

namespace {

// File choosers that answer with the names given, one per question, and
// keep the captions asked.
class fileAnswers : public userPrompts
{
public:
    QStringList names;
    QStringList captions;

    QString openFileName(QWidget *, const QString &caption, const QString &) override
    {
        captions << caption;
        return names.isEmpty() ? QString() : names.takeFirst();
    }
};

} // namespace

void tst_portdialogs::rtuInitial()
{
    addRTUPort dialog(QStringList {"COM2", "COM10", "COM1"});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("RTUPort"));
    QVERIFY(!dialog.windowIcon().isNull());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(control<QGroupBox>(dialog, "groupBox")->title(), QStringLiteral("Parameters"));

    QCOMPARE(items(control<QComboBox>(dialog, "com")), (QStringList {"COM1", "COM10", "COM2"}));
    QCOMPARE(dialog.com(), QStringLiteral("COM1"));
    QCOMPARE(items(control<QComboBox>(dialog, "baudrate")),
        (QStringList {"1200", "2400", "4800", "9600", "38400", "57600", "115200", "230400",
            "460800", "921600"}));
    QCOMPARE(dialog.baudrate(), QStringLiteral("115200"));
    auto *slave = control<QSpinBox>(dialog, "slave");
    QCOMPARE(slave->minimum(), 0);
    QCOMPARE(slave->maximum(), 255);
    QCOMPARE(dialog.slave(), QStringLiteral("1"));
    QVERIFY(control<QPlainTextEdit>(dialog, "desc")->toPlainText().isEmpty());
    QCOMPARE(dialog.desc(), QString());
}

void tst_portdialogs::rtuWithoutFreePort()
{
    addRTUPort dialog(QStringList {});
    QCOMPARE(dialog.com(), QString());
    QCOMPARE(dialog.hash(), QStringLiteral("56b421bb58c8160dae45a2f23db074bb"));
}

void tst_portdialogs::rtuPreset_data()
{
    QTest::addColumn<QString>("com");
    QTest::addColumn<QString>("baudrate");
    QTest::addColumn<QStringList>("comItems");
    QTest::addColumn<QStringList>("baudrateItems");

    const QStringList ports {"COM1", "COM3"};
    const QStringList rates {
        "1200", "2400", "4800", "9600", "38400", "57600", "115200", "230400", "460800", "921600"};
    QStringList with19200 = rates;
    with19200.insert(4, QStringLiteral("19200"));
    QStringList with300 = rates;
    with300.prepend(QStringLiteral("300"));

    QTest::newRow("both listed") << "COM3"
                                 << "9600" << ports << rates;
    QTest::newRow("port unplugged now")
        << "COM2"
        << "115200" << QStringList {"COM1", "COM2", "COM3"} << rates;
    QTest::newRow("port sorted last") << "COM7"
                                      << "57600" << QStringList {"COM1", "COM3", "COM7"} << rates;
    QTest::newRow("rate of an older project") << "COM1"
                                              << "19200" << ports << with19200;
    QTest::newRow("rate below the list") << "COM1"
                                         << "300" << ports << with300;
}

void tst_portdialogs::rtuPreset()
{
    QFETCH(QString, com);
    QFETCH(QString, baudrate);
    QFETCH(QStringList, comItems);
    QFETCH(QStringList, baudrateItems);

    addRTUPort dialog(QStringList {"COM3", "COM1"});
    dialog.setCom(com);
    dialog.setBaudrate(baudrate);
    dialog.setSlave(17);
    dialog.setDesc(QStringLiteral("Incomer"));
    QCOMPARE(dialog.com(), com);
    QCOMPARE(dialog.baudrate(), baudrate);
    QCOMPARE(dialog.slave(), QStringLiteral("17"));
    QCOMPARE(dialog.desc(), QStringLiteral("Incomer"));
    QCOMPARE(items(control<QComboBox>(dialog, "com")), comItems);
    QCOMPARE(items(control<QComboBox>(dialog, "baudrate")), baudrateItems);

    // Presetting twice adds nothing more.
    dialog.setCom(com);
    dialog.setBaudrate(baudrate);
    QCOMPARE(items(control<QComboBox>(dialog, "com")), comItems);
    QCOMPARE(items(control<QComboBox>(dialog, "baudrate")), baudrateItems);
}

void tst_portdialogs::rtuHash_data()
{
    QTest::addColumn<QString>("com");
    QTest::addColumn<QString>("baudrate");
    QTest::addColumn<int>("slave");
    QTest::addColumn<QString>("desc");
    QTest::addColumn<QString>("hash");

    QTest::newRow("as built") << "COM1"
                              << "115200" << 1 << ""
                              << "82464a5397c6212d7ff143a5160f4e96";
    QTest::newRow("feeder 3") << "COM3"
                              << "115200" << 1 << "Feeder 3"
                              << "bb217a9f7f5e9f7df4b0513c656dfd5b";
    QTest::newRow("only the description differs") << "COM3"
                                                  << "115200" << 1 << "Feeder 4"
                                                  << "d3e6a872cab7c77240e66fb187e09a87";
}

void tst_portdialogs::rtuHash()
{
    QFETCH(QString, com);
    QFETCH(QString, baudrate);
    QFETCH(int, slave);
    QFETCH(QString, desc);
    QFETCH(QString, hash);

    addRTUPort dialog(QStringList {"COM1", "COM3"});
    dialog.setCom(com);
    dialog.setBaudrate(baudrate);
    dialog.setSlave(slave);
    dialog.setDesc(desc);
    QCOMPARE(dialog.hash(), hash);

    // The same values in another dialog give the same fingerprint.
    addRTUPort other(QStringList {com});
    other.setBaudrate(baudrate);
    other.setSlave(slave);
    other.setDesc(desc);
    QCOMPARE(other.hash(), hash);
}

void tst_portdialogs::tcpInitial()
{
    addTCPPort dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("TCPPort"));
    QVERIFY(!dialog.windowIcon().isNull());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(control<QLineEdit>(dialog, "ip")->text(), QStringLiteral("192.168.1.1"));
    auto *port = control<QSpinBox>(dialog, "port");
    QCOMPARE(port->minimum(), 0);
    QCOMPARE(port->maximum(), 65535);
    auto *slave = control<QSpinBox>(dialog, "slave");
    QCOMPARE(slave->minimum(), 0);
    QCOMPARE(slave->maximum(), 255);
    QCOMPARE(slave->singleStep(), 1);
    QCOMPARE(dialog.ip(), QStringLiteral("192.168.1.1"));
    QCOMPARE(dialog.port(), QStringLiteral("502"));
    QCOMPARE(dialog.slave(), QStringLiteral("255"));
    QCOMPARE(dialog.desc(), QString());
    QCOMPARE(dialog.hash(), QStringLiteral("e03804fb73037168be258938b00ce340"));
}

void tst_portdialogs::tcpTakesIpAsTyped()
{
    addTCPPort dialog;
    QLineEdit *ip = control<QLineEdit>(dialog, "ip");
    ip->clear();
    QTest::keyClicks(ip, QStringLiteral("plc-3.local"));
    QCOMPARE(dialog.ip(), QStringLiteral("plc-3.local"));
}

void tst_portdialogs::tcpHash_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("slave");
    QTest::addColumn<QString>("desc");
    QTest::addColumn<QString>("hash");

    QTest::newRow("bay 5") << "10.0.0.7" << 502 << 255 << "Bay 5"
                           << "11471b502b9beaa61113abd52937c5d1";
    QTest::newRow("as built") << "192.168.1.1" << 502 << 255 << ""
                              << "e03804fb73037168be258938b00ce340";
}

void tst_portdialogs::tcpHash()
{
    QFETCH(QString, ip);
    QFETCH(int, port);
    QFETCH(int, slave);
    QFETCH(QString, desc);
    QFETCH(QString, hash);

    addTCPPort dialog;
    dialog.setIp(ip);
    dialog.setPort(port);
    dialog.setSlave(slave);
    dialog.setDesc(desc);
    QCOMPARE(dialog.ip(), ip);
    QCOMPARE(dialog.port(), QString::number(port));
    QCOMPARE(dialog.slave(), QString::number(slave));
    QCOMPARE(dialog.hash(), hash);
    dialog.setDesc(desc + QLatin1Char('.'));
    QVERIFY(dialog.hash() != hash);
}

void tst_portdialogs::answers_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << int(QDialogButtonBox::Ok) << int(QDialog::Accepted);
    QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << int(QDialog::Rejected);
}

void tst_portdialogs::answers()
{
    QFETCH(int, button);
    QFETCH(int, result);
    const auto answer = QDialogButtonBox::StandardButton(button);
    addRTUPort rtu(QStringList {"COM1"});
    QCOMPARE(execAnswering(rtu, answer), result);
    addTCPPort tcp;
    QCOMPARE(execAnswering(tcp, answer), result);
}

// RTU or ASCII; 7 data bits only with ASCII, and back to 8 with RTU. The
// values carry what is not a default, and come back in the controls.
void tst_portdialogs::rtuFraming()
{
    addRTUPort dialog(QStringList {"COM1"});
    auto *framing = control<QComboBox>(dialog, "framing");
    auto *dataBits = control<QComboBox>(dialog, "dataBits");
    auto *parity = control<QComboBox>(dialog, "parity");
    QCOMPARE(items(framing), (QStringList {"RTU", "ASCII"}));
    QCOMPARE(items(dataBits), (QStringList {"8", "7"}));
    QCOMPARE(items(parity), (QStringList {"N", "E", "O"}));
    const auto sevenOffered = [dataBits] {
        return qobject_cast<QStandardItemModel *>(dataBits->model())->item(1)->isEnabled();
    };
    QVERIFY(!sevenOffered());
    QCOMPARE(dialog.values().lineText(), QStringLiteral("RTU 8N1"));

    framing->setCurrentText("ASCII");
    QVERIFY(sevenOffered());
    dataBits->setCurrentText("7");
    parity->setCurrentText("E");
    const portValues ascii = dialog.values();
    QCOMPARE(ascii.framing, QStringLiteral("ASCII"));
    QCOMPARE(ascii.arguments().mid(6),
        (QStringList {"--framing", "ASCII", "--data_bit", "7", "--parity", "E"}));
    QVERIFY(dialog.hash() != addRTUPort(QStringList {"COM1"}).hash());

    framing->setCurrentText("RTU");
    QCOMPARE(dialog.dataBits(), QStringLiteral("8"));
    QVERIFY(!sevenOffered());
    QCOMPARE(dialog.framing(), QString());

    addRTUPort edited(QStringList {"COM1"});
    edited.setValues(ascii);
    QCOMPARE(edited.values().toJson(), ascii.toJson());
}

// MBAP, RTU or ASCII; with TLS the frames are MBAP, the port moves between
// 502 and 802, and OK waits for the three files, which the choosers fill.
void tst_portdialogs::tcpFramingAndTls()
{
    addTCPPort dialog;
    fileAnswers answers;
    dialog.setPrompts(&answers);
    auto *framing = control<QComboBox>(dialog, "framing");
    auto *tls = control<QCheckBox>(dialog, "tls");
    QPushButton *ok = control<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    QCOMPARE(items(framing), (QStringList {"MBAP", "RTU", "ASCII"}));
    QVERIFY(!tls->isChecked());
    QVERIFY(!control<QLineEdit>(dialog, "cert")->isEnabled());
    QVERIFY(ok->isEnabled());
    QCOMPARE(dialog.values().lineText(), QStringLiteral("MBAP"));

    // A gateway's RTU device has no "any unit": 255 becomes 1, other
    // addresses stay, and a stored 255 stays for the driver to refuse.
    auto *slave = control<QSpinBox>(dialog, "slave");
    QCOMPARE(slave->value(), 255);
    framing->setCurrentText("ASCII");
    QCOMPARE(dialog.values().arguments(),
        (QStringList {
            "--address", "1", "--ip", "192.168.1.1", "--port", "502", "--framing", "ASCII"}));
    slave->setValue(17);
    framing->setCurrentText("RTU");
    QCOMPARE(dialog.slave(), QStringLiteral("17"));
    portValues anyUnit = dialog.values();
    anyUnit.addr = QStringLiteral("255");
    addTCPPort gateway;
    gateway.setValues(anyUnit);
    QCOMPARE(gateway.values().toJson(), anyUnit.toJson());
    framing->setCurrentText("ASCII");
    slave->setValue(255);

    tls->setChecked(true);
    QCOMPARE(dialog.framing(), QString());
    QVERIFY(!framing->isEnabled());
    QCOMPARE(dialog.port(), QStringLiteral("802"));
    QVERIFY(!ok->isEnabled());
    answers.names = QStringList {"/certs/me.pem", "/certs/my key.pem", "/certs/ca.pem"};
    for (const char *browse : {"certBrowse", "keyBrowse", "caBrowse"})
        control<QToolButton>(dialog, browse)->click();
    QCOMPARE(answers.captions,
        (QStringList {
            "Client certificate", "Client private key", "Certificates of the authorities"}));
    QVERIFY(ok->isEnabled());
    const portValues secure = dialog.values();
    QCOMPARE(secure.arguments().mid(6),
        (QStringList {"--tls", "--cert", "/certs/me.pem", "--key", "/certs/my key.pem", "--ca",
            "/certs/ca.pem"}));
    QCOMPARE(secure.lineText(), QStringLiteral("TLS"));

    // A stored port is kept as it was, 8802 with TLS too.
    portValues stored = secure;
    stored.port = QStringLiteral("8802");
    addTCPPort edited;
    edited.setValues(stored);
    QCOMPARE(edited.values().toJson(), stored.toJson());

    tls->setChecked(false);
    QCOMPARE(dialog.port(), QStringLiteral("502"));
    QVERIFY(framing->isEnabled());
    QCOMPARE(dialog.values().toJson(), addTCPPort().values().toJson());
}

void tst_portdialogs::editKeepsLine_data()
{
    QTest::addColumn<QByteArray>("json"); // a port as the project file holds it

    QTest::newRow("serial ASCII 7E1")
        << QByteArray(R"({"addr":"1","baudrate":"9600","com":"COM3","databits":"7","desc":"d",)"
                      R"("framing":"ASCII","parity":"E","type":"RTU"})");
    QTest::newRow("serial ASCII 8N1")
        << QByteArray(R"({"addr":"3","baudrate":"115200","com":"COM1","desc":"",)"
                      R"("framing":"ASCII","type":"RTU"})");
    QTest::newRow("serial RTU 8O1") << QByteArray(R"({"addr":"247","baudrate":"1200","com":"COM2",)"
                                                  R"("desc":"","parity":"O","type":"RTU"})");
    QTest::newRow("RTU through a gateway")
        << QByteArray(R"({"addr":"0","desc":"gw","framing":"RTU","ip":"10.0.0.9",)"
                      R"("port":"4001","type":"TCP"})");
    QTest::newRow("ASCII through a gateway, address 255 kept")
        << QByteArray(R"({"addr":"255","desc":"","framing":"ASCII","ip":"10.0.0.9",)"
                      R"("port":"502","type":"TCP"})");
    QTest::newRow("TLS on 802") << QByteArray(
        R"({"addr":"255","ca":"/c/ca.pem","cert":"/c/me.pem",)"
        R"("desc":"","ip":"10.0.0.7","key":"/c/me key.pem",)"
        R"("port":"802","tls":true,"type":"TCP"})");
    QTest::newRow("serial line kept open")
        << QByteArray(R"({"addr":"1","baudrate":"9600","com":"COM3","desc":"","keepopen":true,)"
                      R"("type":"RTU"})");
    QTest::newRow("TLS kept open") << QByteArray(
        R"({"addr":"1","ca":"ca.pem","cert":"me.pem","desc":"","ip":"h","keepopen":true,)"
        R"("key":"me.key","port":"802","tls":true,"type":"TCP"})");
    QTest::newRow("TLS on 502") << QByteArray(R"({"addr":"1","ca":"ca.pem","cert":"me.pem",)"
                                              R"("desc":"","ip":"h","key":"me.key","port":"502",)"
                                              R"("tls":true,"type":"TCP"})");
}

// A port's dialog preset from a stored port gives back the same values and
// the fingerprint of the stored ones, so an edit that changes nothing is no
// change and the project saves the same bytes.
void tst_portdialogs::editKeepsLine()
{
    QFETCH(QByteArray, json);
    const std::optional<portValues> stored
        = portValues::fromJson(QJsonDocument::fromJson(json).object());
    QVERIFY(stored);
    portValues edited;
    QString hash;
    if (stored->kind == portValues::Serial) {
        addRTUPort dialog(QStringList {"COM1"});
        dialog.setValues(*stored);
        edited = dialog.values();
        hash = dialog.hash();
    } else {
        addTCPPort dialog;
        dialog.setValues(*stored);
        edited = dialog.values();
        hash = dialog.hash();
    }
    QCOMPARE(QJsonDocument(edited.toJson()).toJson(QJsonDocument::Compact), json);
    QCOMPARE(hash, stored->fingerprint());
}

// Both dialogs offer "Keep the line open", off at first; on, the port keeps
// its line open and its file object says so; off, it says nothing.
void tst_portdialogs::keepLineOpen()
{
    addRTUPort serial(QStringList {"COM1"});
    addTCPPort tcp;
    const QList<QDialog *> dialogs {&serial, &tcp};
    for (QDialog *dialog : dialogs) {
        auto *box = control<QCheckBox>(*dialog, "keepOpen");
        QCOMPARE(box->text(), QStringLiteral("Keep the line open"));
        QVERIFY(!box->isChecked());
        const auto values = [&]() { return dialog == &tcp ? tcp.values() : serial.values(); };
        QVERIFY(!values().keepOpen);
        QVERIFY(!values().toJson().contains("keepopen"));
        const QString before = values().fingerprint();
        box->setChecked(true);
        QVERIFY(values().keepOpen);
        QCOMPARE(values().toJson().value("keepopen"), QJsonValue(true));
        QVERIFY(values().fingerprint() != before);
        // The drivers' options stay the same: a driver that serves takes them.
        const QStringList kept = values().arguments();
        box->setChecked(false);
        QCOMPARE(values().arguments(), kept);
    }
}

QTEST_MAIN(tst_portdialogs)
#include "tst_portdialogs.moc"
