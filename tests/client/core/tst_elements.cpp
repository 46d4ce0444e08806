#include "documenttesting.h"
#include "fingerprint.h"
#include "macroelement.h"
#include "modalanswer.h"
#include "readelement.h"
#include "rtuelement.h"
#include "tcpelement.h"
#include "writeelement.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

// The five element rows: their form, values, file objects, fingerprints,
// port command lines, and what their buttons do; their edits as the project
// document takes them.
class tst_elements : public QObject
{
    Q_OBJECT

private:
    using Factory = std::function<QFrame *()>;
    static portValues serial(const QString &com, const QString &baudrate, const QString &addr,
        const QString &desc = QStringLiteral("desc"))
    {
        portValues values;
        values.com = com;
        values.baudrate = baudrate;
        values.addr = addr;
        values.desc = desc;
        return values;
    }
    static portValues tcp(const QString &ip, const QString &port, const QString &addr,
        const QString &desc = QStringLiteral("desc"))
    {
        portValues values;
        values.kind = portValues::Tcp;
        values.ip = ip;
        values.port = port;
        values.addr = addr;
        values.desc = desc;
        return values;
    }
    static readValues read(const QString &type, const QString &addr, const QString &format,
        const QString &desc = QStringLiteral("desc"))
    {
        return {type, addr, format, desc};
    }
    static writeValues write(const QString &type, const QString &addr, const QString &value,
        const QString &desc = QStringLiteral("desc"))
    {
        return {type, addr, value, desc};
    }
    static macroValues macro(const QString &name, const QString &param, const QString &desc)
    {
        return {name, param, desc};
    }
    static QToolButton *button(QWidget *row, const char *name)
    {
        auto *found = row->findChild<QToolButton *>(QLatin1String(name));
        if (!found)
            qFatal("no button %s", name);
        return found;
    }
    // Presses a row's button; its connection is queued.
    static void press(QWidget *row, const char *name)
    {
        QTest::mouseClick(button(row, name), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    static QImage iconImage(const QIcon &icon) { return icon.pixmap(24, 24).toImage(); }
    // Answers the next modal dialog: edit changes it, then OK or Cancel.
    static void answerDialog(std::function<void(QDialog *)> edit,
        QDialogButtonBox::StandardButton button = QDialogButtonBox::Ok)
    {
        answerModal([edit, button](QWidget *modal) {
            auto *dialog = qobject_cast<QDialog *>(modal);
            if (!dialog)
                return;
            edit(dialog);
            const QList<QDialogButtonBox *> boxes = dialog->findChildren<QDialogButtonBox *>();
            boxes.first()->button(button)->click();
        });
    }

private slots:
    void form_data();
    void form();
    void fileObjects();
    void fingerprints_data();
    void fingerprints();
    void portCommandLines_data();
    void portCommandLines();
    void activePortIcon();
    void runButtons();
    void deleteAsks_data();
    void deleteAsks();
    void editThroughHistory();
    void editWithoutChangePushesNothing();
    void editCancelled();
    void editWithoutHistory();
    void editKeepsUnlistedPortAndRate();
    void editReadKeepsFormat();
    void editWriteOpensWithValue();
    void editMacro();
    void editUnknownMacroOpensNothing();
};

Q_DECLARE_METATYPE(std::function<QFrame *()>)

void tst_elements::form_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("labels"); // object name=initial text, in form order
    QTest::addColumn<QString>("exeIcon");

    QTest::newRow("rtuElement") << Factory([] { return new rtuElement; }) << "rtuElement"
                                << QStringList {"com=COM10", "baudrate=115200", "addr=0",
                                       "line=RTU 8N1", "desc=desc"}
                                << ":/_icons/disabled.png";
    QTest::newRow("tcpElement") << Factory([] { return new tcpElement; }) << "tcpElement"
                                << QStringList {"ip=192.168.1.1", "port=502", "addr=0", "line=MBAP",
                                       "desc=desc"}
                                << ":/_icons/disabled.png";
    QTest::newRow("readElement") << Factory([] { return new readElement; }) << "readElement"
                                 << QStringList {"kind=Holding", "type=F32", "addr=32768",
                                        "format=", "value=", "desc=desc"}
                                 << ":/_icons/exe_128.png";
    QTest::newRow("writeElement") << Factory([] { return new writeElement; }) << "writeElement"
                                  << QStringList {"kind=Holding", "type=F32", "addr=32768",
                                         "value=0", "desc=desc"}
                                  << ":/_icons/exe_128.png";
    QTest::newRow("macroElement") << Factory([] { return new macroElement; }) << "macroElement"
                                  << QStringList {"macro=MACRO", "param=PARAM", "desc=desc"}
                                  << ":/_icons/exe_128.png";
}

void tst_elements::form()
{
    QFETCH(Factory, create);
    QFETCH(QString, name);
    QFETCH(QStringList, labels);
    QFETCH(QString, exeIcon);

    std::unique_ptr<QFrame> row(create());
    QCOMPARE(row->objectName(), name);
    QCOMPARE(row->windowTitle(), QStringLiteral("Frame"));
    auto *layout = qobject_cast<QHBoxLayout *>(row->layout());
    QVERIFY(layout);
    QCOMPARE(layout->objectName(), QStringLiteral("horizontalLayout"));
    QCOMPARE(layout->spacing(), 1);
    QCOMPARE(layout->contentsMargins(), QMargins());

    // Labels then the three buttons, in this order.
    QStringList order;
    for (int i = 0; i < layout->count(); ++i)
        order << layout->itemAt(i)->widget()->objectName();
    QStringList expectedOrder;
    // A read row starts with its trend mark.
    if (name == QLatin1String("readElement"))
        expectedOrder << "trend";
    for (const QString &entry : qAsConst(labels))
        expectedOrder << entry.section(QLatin1Char('='), 0, 0);
    expectedOrder << "exe"
                  << "edit"
                  << "del";
    QCOMPARE(order, expectedOrder);
    for (const QString &entry : qAsConst(labels)) {
        auto *label = row->findChild<QLabel *>(entry.section(QLatin1Char('='), 0, 0));
        QVERIFY(label);
        QCOMPARE(label->text(), entry.section(QLatin1Char('='), 1));
        // Values are shown as typed, never as markup.
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }
    QCOMPARE(iconImage(button(row.get(), "exe")->icon()), iconImage(QIcon(exeIcon)));
    QCOMPARE(iconImage(button(row.get(), "edit")->icon()),
        iconImage(QIcon(QStringLiteral(":/_icons/data_edit_128.png"))));
    QCOMPARE(iconImage(button(row.get(), "del")->icon()),
        iconImage(QIcon(QStringLiteral(":/_icons/edit_delete_128.png"))));
}

void tst_elements::fileObjects()
{
    rtuElement rtu(serial("COM3", "9600", "7", "Incomer"));
    rtu.setActive(true);
    QCOMPARE(QJsonDocument(rtu.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"active":true,"addr":"7","baudrate":"9600","com":"COM3",)"
                   R"("desc":"Incomer","type":"RTU"})"));

    tcpElement tcpRow(tcp("10.0.0.7", "1502", "255", "Bay 5"));
    QCOMPARE(QJsonDocument(tcpRow.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"active":false,"addr":"255","desc":"Bay 5","ip":"10.0.0.7",)"
                   R"("port":"1502","type":"TCP"})"));

    readElement readRow(read("U16", "100", "F_X_XX", "Voltage"));
    readRow.setValue(QStringLiteral("45.67"));
    QCOMPARE(QJsonDocument(readRow.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"addr":"100","desc":"Voltage","format":"F_X_XX","type":"U16"})"));

    writeElement writeRow(write("F32", "300", "2.5", "Trip level"));
    QCOMPARE(QJsonDocument(writeRow.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"addr":"300","desc":"Trip level","type":"F32","value":"2.5"})"));

    macroElement macroRow(macro("FD_MACRO_LOGIN", "1 0042", "<b>login</b>"));
    QCOMPARE(QJsonDocument(macroRow.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"desc":"<b>login</b>","macro":"FD_MACRO_LOGIN","param":"1 0042"})"));
}

void tst_elements::fingerprints_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("hash");

    // The same values and references as the dialogs' fingerprints.
    QTest::newRow("rtu") << Factory([] {
        return new rtuElement(serial("COM3", "115200", "1", "Feeder 3"));
    }) << "bb217a9f7f5e9f7df4b0513c656dfd5b";
    QTest::newRow("tcp") << Factory([] {
        return new tcpElement(tcp("10.0.0.7", "502", "255", "Bay 5"));
    }) << "11471b502b9beaa61113abd52937c5d1";
    QTest::newRow("read") << Factory([] {
        auto *row = new readElement(read("U32", "1024", "F_X_XX", "Meter total"));
        row->setValue("12.34"); // the shown result is not part of it
        return row;
    }) << "d5cb4bd57c768c3a8110e566f223c68e";
    QTest::newRow("write") << Factory([] {
        return new writeElement(write("S16", "100", "-32768", "Setpoint trip delay"));
    }) << "19383a94764b5a837cf0dd58414735fd";
    QTest::newRow("macro") << Factory([] {
        return new macroElement(macro("FD_MACRO_LOGIN", "1 0042", "Operator"));
    }) << fingerprint({"Operator", "FD_MACRO_LOGIN", "1 0042"});
}

void tst_elements::fingerprints()
{
    QFETCH(Factory, create);
    QFETCH(QString, hash);
    std::unique_ptr<QFrame> row(create());
    const rowValues &values = qobject_cast<projectElement *>(row.get())->values();
    QCOMPARE(std::visit([](const auto &kind) { return kind.fingerprint(); }, values), hash);
}

void tst_elements::portCommandLines_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("line");

    QTest::newRow("serial line") << Factory([] {
        return new rtuElement(serial("COM3", "115200", "1"));
    }) << "--address 1 --port \\\\.\\COM3 --baudrate 115200";
    QTest::newRow("serial line of this machine")
        << Factory([] { return new rtuElement(serial("ttyUSB0", "19200", "247")); })
        << "--address 247 --port \\\\.\\ttyUSB0 --baudrate 19200";
    QTest::newRow("TCP") << Factory([] {
        return new tcpElement(tcp("192.168.1.10", "502", "255"));
    }) << "--address 255 --ip 192.168.1.10 --port 502";
}

// The port part of the drivers' arguments, as a command line writes it.
void tst_elements::portCommandLines()
{
    QFETCH(Factory, create);
    QFETCH(QString, line);
    std::unique_ptr<QFrame> row(create());
    QCOMPARE(qobject_cast<portElement *>(row.get())->line().arguments().join(' '), line);
}

void tst_elements::activePortIcon()
{
    const QImage active = iconImage(QIcon(QStringLiteral(":/_icons/active.png")));
    const QImage inactive = iconImage(QIcon(QStringLiteral(":/_icons/disabled.png")));
    rtuElement rtu;
    tcpElement tcp;
    QVERIFY(!rtu.isActive() && !tcp.isActive());
    rtu.setActive(true);
    tcp.setActive(true);
    QVERIFY(rtu.isActive() && tcp.isActive());
    QCOMPARE(iconImage(button(&rtu, "exe")->icon()), active);
    QCOMPARE(iconImage(button(&tcp, "exe")->icon()), active);
    QCOMPARE(button(&rtu, "exe")->iconSize(), QSize(24, 24));
    QVERIFY(rtu.toJson().value(QStringLiteral("active")).toBool());
    rtu.setActive(false);
    QVERIFY(!rtu.isActive());
    QCOMPARE(iconImage(button(&rtu, "exe")->icon()), inactive);
    QVERIFY(!rtu.toJson().value(QStringLiteral("active")).toBool());
}

void tst_elements::runButtons()
{
    rtuElement rtu;
    QSignalSpy activated(&rtu, &rtuElement::active);
    QTest::mouseClick(button(&rtu, "exe"), Qt::LeftButton);
    QCOMPARE(activated.count(), 0); // queued: handled from the event loop
    QCoreApplication::processEvents();
    QCOMPARE(activated.count(), 1);
    QVERIFY(!rtu.isActive()); // the main window decides

    tcpElement tcp;
    QSignalSpy tcpActivated(&tcp, &tcpElement::active);
    press(&tcp, "exe");
    QCOMPARE(tcpActivated.count(), 1);

    readElement read;
    writeElement write;
    macroElement macro;
    QSignalSpy readRun(&read, &readElement::exe);
    QSignalSpy writeRun(&write, &writeElement::exe);
    QSignalSpy macroRun(&macro, &macroElement::exe);
    QVERIFY(!read.isExeRequested() && !write.isExeRequested() && !macro.isExeRequested());
    press(&read, "exe");
    press(&write, "exe");
    press(&macro, "exe");
    QCOMPARE(readRun.count(), 1);
    QCOMPARE(writeRun.count(), 1);
    QCOMPARE(macroRun.count(), 1);
    QVERIFY(read.isExeRequested() && write.isExeRequested() && macro.isExeRequested());
    read.setExeRequested(false);
    QVERIFY(!read.isExeRequested());
}

void tst_elements::deleteAsks_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("deleted");

    const Factory kinds[] = {[] { return new rtuElement; }, [] { return new tcpElement; },
        [] { return new readElement; }, [] { return new writeElement; },
        [] { return new macroElement; }};
    const char *names[] = {"rtu", "tcp", "read", "write", "macro"};
    for (int i = 0; i < 5; ++i) {
        QTest::addRow("%s yes", names[i]) << kinds[i] << int(QMessageBox::Yes) << 1;
        QTest::addRow("%s no", names[i]) << kinds[i] << int(QMessageBox::No) << 0;
    }
}

void tst_elements::deleteAsks()
{
    QFETCH(Factory, create);
    QFETCH(int, answer);
    QFETCH(int, deleted);

    std::unique_ptr<QFrame> row(create());
    QSignalSpy del(row.get(), SIGNAL(del()));
    QString title;
    QString text;
    bool hasIcon = false;
    answerModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        hasIcon = !box->windowIcon().isNull();
        QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("Yes"));
        QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("No"));
        box->button(QMessageBox::StandardButton(answer))->click();
    });
    press(row.get(), "del");
    QCOMPARE(title, QStringLiteral("Asking"));
    QCOMPARE(text, QStringLiteral("Del current object ?") + QString(49, QLatin1Char(' ')));
    QVERIFY(hasIcon);
    QCOMPARE(del.count(), deleted);
}

void tst_elements::editThroughHistory()
{
    openedProject opened;
    tcpElement *row = opened.open<tcpElement>(tcp("10.0.0.7", "502", "3", "Bay 5"));
    QVERIFY(!opened.undoAction.isEnabled());

    QString presetIp;
    answerDialog([&](QDialog *dialog) {
        presetIp = dialog->findChild<QLineEdit *>(QStringLiteral("ip"))->text();
        QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("port"))->value(), 502);
        QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("slave"))->value(), 3);
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("desc"))->setPlainText("Bay 6");
    });
    press(row, "edit");
    QCOMPARE(presetIp, QStringLiteral("10.0.0.7"));
    QCOMPARE(row->line().desc, QStringLiteral("Bay 6"));
    QCOMPARE(row->findChild<QLabel *>(QStringLiteral("desc"))->text(), QStringLiteral("Bay 6"));
    QVERIFY(opened.undoAction.isEnabled());
    QVERIFY(opened.document.isModified());

    opened.document.undo();
    QCOMPARE(row->line().toJson(), tcp("10.0.0.7", "502", "3", "Bay 5").toJson());
    QCOMPARE(row->findChild<QLabel *>(QStringLiteral("desc"))->text(), QStringLiteral("Bay 5"));
    opened.document.redo();
    QCOMPARE(row->line().toJson(), tcp("10.0.0.7", "502", "3", "Bay 6").toJson());
}

void tst_elements::editWithoutChangePushesNothing()
{
    openedProject opened;
    readElement *row = opened.open<readElement>(read("U16", "100", "F_X_XX"));
    bool asked = false;
    answerDialog([&](QDialog *) { asked = true; });
    press(row, "edit");
    QVERIFY(asked);
    QVERIFY(!opened.document.isModified());
    QVERIFY(!opened.undoAction.isEnabled());
}

void tst_elements::editCancelled()
{
    openedProject opened;
    writeElement *row = opened.open<writeElement>(writeValues());
    answerDialog(
        [](QDialog *dialog) {
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("desc"))->setPlainText("x");
        },
        QDialogButtonBox::Cancel);
    press(row, "edit");
    QVERIFY(!opened.document.isModified());
    QCOMPARE(row->request().desc, QStringLiteral("desc"));
}

// A row that belongs to no project only asks: the values come with
// editRequested, and the row keeps its own until they are taken.
void tst_elements::editWithoutHistory()
{
    rtuElement rtu(serial("COM3", "115200", "0"));
    QSignalSpy requested(&rtu, &projectElement::editRequested);
    answerDialog([](QDialog *dialog) {
        dialog->findChild<QSpinBox *>(QStringLiteral("slave"))->setValue(12);
    });
    press(&rtu, "edit");
    QCOMPARE(requested.count(), 1);
    const portValues asked = std::get<portValues>(requested.at(0).at(0).value<rowValues>());
    QCOMPARE(asked.addr, QStringLiteral("12"));
    QCOMPARE(asked.com, QStringLiteral("COM3"));
    QCOMPARE(rtu.line().addr, QStringLiteral("0"));
    rtu.setValues(asked);
    QCOMPARE(rtu.findChild<QLabel *>(QStringLiteral("addr"))->text(), QStringLiteral("12"));
}

void tst_elements::editKeepsUnlistedPortAndRate()
{
    // A port that is not there now and a rate the list lacks survive an edit
    // of the description alone.
    openedProject opened;
    rtuElement *rtu = opened.open<rtuElement>(serial("COM99", "19200", "5"));
    answerDialog([](QDialog *dialog) {
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("desc"))->setPlainText("Old feeder");
    });
    press(rtu, "edit");
    QCOMPARE(rtu->line().desc, QStringLiteral("Old feeder"));
    QCOMPARE(rtu->line().com, QStringLiteral("COM99"));
    QCOMPARE(rtu->line().baudrate, QStringLiteral("19200"));
    QCOMPARE(rtu->line().addr, QStringLiteral("5"));
}

void tst_elements::editReadKeepsFormat()
{
    openedProject opened;
    readElement *row = opened.open<readElement>(read("U32", "1024", "F_X_XX"));
    row->setValue(QStringLiteral("12.34"));
    answerDialog([](QDialog *dialog) {
        QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("format"))->currentText(),
            QStringLiteral("F_X_XX"));
        dialog->findChild<QSpinBox *>(QStringLiteral("address"))->setValue(1026);
    });
    press(row, "edit");
    QCOMPARE(row->request().addr, QStringLiteral("1026"));
    QCOMPARE(row->request().format, QStringLiteral("F_X_XX"));
    QCOMPARE(row->request().type, QStringLiteral("U32"));
    QCOMPARE(row->value(), QStringLiteral("12.34"));
    opened.document.undo();
    QCOMPARE(row->request().addr, QStringLiteral("1024"));
}

void tst_elements::editWriteOpensWithValue()
{
    openedProject opened;
    writeElement *row = opened.open<writeElement>(write("U32", "32768", "4294967295"));
    double preset = 0;
    answerDialog([&](QDialog *dialog) {
        auto *value = dialog->findChild<QDoubleSpinBox *>(QStringLiteral("value"));
        preset = value->value();
        dialog->findChild<QComboBox *>(QStringLiteral("type"))->setCurrentText("U16");
    });
    press(row, "edit");
    QCOMPARE(preset, 4294967295.0);
    QCOMPARE(row->request().type, QStringLiteral("U16"));
    QCOMPARE(row->request().value, QStringLiteral("65535"));
    opened.document.undo();
    QCOMPARE(row->request().type, QStringLiteral("U32"));
    QCOMPARE(row->request().value, QStringLiteral("4294967295"));
}

void tst_elements::editMacro()
{
    openedProject opened;
    macroElement *row = opened.open<macroElement>(macro("FD_MACRO_LOGIN", "1 0042", "Operator"));
    QString presetDesc;
    answerDialog([&](QDialog *dialog) {
        auto *desc = dialog->findChild<QTextEdit *>(QStringLiteral("desc"));
        presetDesc = desc->toPlainText();
        desc->setPlainText(QStringLiteral("Service login"));
    });
    press(row, "edit");
    QCOMPARE(presetDesc, QStringLiteral("Operator"));
    QCOMPARE(row->request().desc, QStringLiteral("Service login"));
    QCOMPARE(row->request().name, QStringLiteral("FD_MACRO_LOGIN"));
    QCOMPARE(row->request().param, QStringLiteral("1 0042"));
    opened.document.undo();
    QCOMPARE(row->request().desc, QStringLiteral("Operator"));
    opened.document.redo();
    QCOMPARE(row->request().desc, QStringLiteral("Service login"));
}

void tst_elements::editUnknownMacroOpensNothing()
{
    openedProject opened;
    macroElement *row = opened.open<macroElement>(macroValues()); // "MACRO" names no dialog
    press(row, "edit");
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(!opened.document.isModified());
    QCOMPARE(row->request().name, QStringLiteral("MACRO"));
}

QTEST_MAIN(tst_elements)
#include "tst_elements.moc"
