#include "fingerprint.h"
#include "macroelement.h"
#include "modalanswer.h"
#include "readelement.h"
#include "rtuelement.h"
#include "tcpelement.h"
#include "undostack.h"
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
// port command lines, and what their buttons do.
class tst_elements : public QObject
{
    Q_OBJECT

private:
    using Factory = std::function<QFrame *()>;
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

    QTest::newRow("rtuElement") << Factory([] {
        return new rtuElement;
    }) << "rtuElement" << QStringList {"com=COM10", "baudrate=115200", "addr=0", "desc=desc"}
                                << ":/_icons/disabled.png";
    QTest::newRow("tcpElement") << Factory([] { return new tcpElement; }) << "tcpElement"
                                << QStringList {"ip=192.168.1.1", "port=502", "addr=0", "desc=desc"}
                                << ":/_icons/disabled.png";
    QTest::newRow("readElement") << Factory([] {
        return new readElement;
    }) << "readElement" << QStringList {"type=F32", "addr=32768", "format=", "value=", "desc=desc"}
                                 << ":/_icons/exe_128.png";
    QTest::newRow("writeElement") << Factory([] { return new writeElement; }) << "writeElement"
                                  << QStringList {"type=F32", "addr=32768", "value=0", "desc=desc"}
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
    rtuElement rtu;
    rtu.setCom(QStringLiteral("COM3"));
    rtu.setBaudrate(QStringLiteral("9600"));
    rtu.setAddr(QStringLiteral("7"));
    rtu.setDesc(QStringLiteral("Incomer"));
    rtu.setActive(true);
    QCOMPARE(QJsonDocument(rtu.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"active":true,"addr":"7","baudrate":"9600","com":"COM3",)"
                   R"("desc":"Incomer","type":"RTU"})"));

    tcpElement tcp;
    tcp.setIp(QStringLiteral("10.0.0.7"));
    tcp.setPort(QStringLiteral("1502"));
    tcp.setAddr(QStringLiteral("255"));
    tcp.setDesc(QStringLiteral("Bay 5"));
    QCOMPARE(QJsonDocument(tcp.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"active":false,"addr":"255","desc":"Bay 5","ip":"10.0.0.7",)"
                   R"("port":"1502","type":"TCP"})"));

    readElement read;
    read.setType(QStringLiteral("U16"));
    read.setAddr(QStringLiteral("100"));
    read.setFormat(QStringLiteral("F_X_XX"));
    read.setValue(QStringLiteral("45.67"));
    read.setDesc(QStringLiteral("Voltage"));
    QCOMPARE(QJsonDocument(read.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"addr":"100","desc":"Voltage","format":"F_X_XX","type":"U16"})"));

    writeElement write;
    write.setType(QStringLiteral("F32"));
    write.setAddr(QStringLiteral("300"));
    write.setValue(QStringLiteral("2.5"));
    write.setDesc(QStringLiteral("Trip level"));
    QCOMPARE(QJsonDocument(write.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"addr":"300","desc":"Trip level","type":"F32","value":"2.5"})"));

    macroElement macro;
    macro.setMacro(QStringLiteral("FD_MACRO_LOGIN"));
    macro.setParam(QStringLiteral("1 0042"));
    macro.setDesc(QStringLiteral("<b>login</b>"));
    QCOMPARE(QJsonDocument(macro.toJson()).toJson(QJsonDocument::Compact),
        QByteArray(R"({"desc":"<b>login</b>","macro":"FD_MACRO_LOGIN","param":"1 0042"})"));
}

void tst_elements::fingerprints_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("hash");

    // The same values and references as the dialogs' fingerprints.
    QTest::newRow("rtu") << Factory([] {
        auto *row = new rtuElement;
        row->setCom("COM3");
        row->setBaudrate("115200");
        row->setAddr("1");
        row->setDesc("Feeder 3");
        return row;
    }) << "bb217a9f7f5e9f7df4b0513c656dfd5b";
    QTest::newRow("tcp") << Factory([] {
        auto *row = new tcpElement;
        row->setIp("10.0.0.7");
        row->setPort("502");
        row->setAddr("255");
        row->setDesc("Bay 5");
        return row;
    }) << "11471b502b9beaa61113abd52937c5d1";
    QTest::newRow("read") << Factory([] {
        auto *row = new readElement;
        row->setType("U32");
        row->setAddr("1024");
        row->setFormat("F_X_XX");
        row->setValue("12.34"); // the shown result is not part of it
        row->setDesc("Meter total");
        return row;
    }) << "d5cb4bd57c768c3a8110e566f223c68e";
    QTest::newRow("write") << Factory([] {
        auto *row = new writeElement;
        row->setType("S16");
        row->setAddr("100");
        row->setValue("-32768");
        row->setDesc("Setpoint trip delay");
        return row;
    }) << "19383a94764b5a837cf0dd58414735fd";
    QTest::newRow("macro") << Factory([] {
        auto *row = new macroElement;
        row->setMacro("FD_MACRO_LOGIN");
        row->setParam("1 0042");
        row->setDesc("Operator");
        return row;
    }) << fingerprint({"Operator", "FD_MACRO_LOGIN", "1 0042"});
}

void tst_elements::fingerprints()
{
    QFETCH(Factory, create);
    QFETCH(QString, hash);
    std::unique_ptr<QFrame> row(create());
    QString actual;
    if (auto *rtu = qobject_cast<rtuElement *>(row.get()))
        actual = rtu->hash();
    else if (auto *tcp = qobject_cast<tcpElement *>(row.get()))
        actual = tcp->hash();
    else if (auto *read = qobject_cast<readElement *>(row.get()))
        actual = read->hash();
    else if (auto *write = qobject_cast<writeElement *>(row.get()))
        actual = write->hash();
    else if (auto *macro = qobject_cast<macroElement *>(row.get()))
        actual = macro->hash();
    QCOMPARE(actual, hash);
}

void tst_elements::portCommandLines_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("line");

    QTest::newRow("serial line") << Factory([] {
        auto *row = new rtuElement;
        row->setCom("COM3");
        row->setBaudrate("115200");
        row->setAddr("1");
        return row;
    }) << "--address 1 --port \\\\.\\COM3 --baudrate 115200";
    QTest::newRow("serial line of this machine") << Factory([] {
        auto *row = new rtuElement;
        row->setCom("ttyUSB0");
        row->setBaudrate("19200");
        row->setAddr("247");
        return row;
    }) << "--address 247 --port \\\\.\\ttyUSB0 --baudrate 19200";
    QTest::newRow("TCP") << Factory([] {
        auto *row = new tcpElement;
        row->setIp("192.168.1.10");
        row->setPort("502");
        row->setAddr("255");
        return row;
    }) << "--address 255 --ip 192.168.1.10 --port 502";
}

void tst_elements::portCommandLines()
{
    QFETCH(Factory, create);
    QFETCH(QString, line);
    std::unique_ptr<QFrame> row(create());
    if (auto *rtu = qobject_cast<rtuElement *>(row.get()))
        QCOMPARE(rtu->commandLine(), line);
    else
        QCOMPARE(qobject_cast<tcpElement *>(row.get())->commandLine(), line);
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
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    tcpElement row;
    row.setIp(QStringLiteral("10.0.0.7"));
    row.setPort(QStringLiteral("502"));
    row.setAddr(QStringLiteral("3"));
    row.setDesc(QStringLiteral("Bay 5"));
    row.setUndoStack(&history);

    QString presetIp;
    answerDialog([&](QDialog *dialog) {
        presetIp = dialog->findChild<QLineEdit *>(QStringLiteral("ip"))->text();
        QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("port"))->value(), 502);
        QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("slave"))->value(), 3);
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("desc"))->setPlainText("Bay 6");
    });
    press(&row, "edit");
    QCOMPARE(presetIp, QStringLiteral("10.0.0.7"));
    QCOMPARE(row.desc(), QStringLiteral("Bay 6"));
    QVERIFY(undoAction.isEnabled());

    history.undo();
    QCOMPARE(row.desc(), QStringLiteral("Bay 5"));
    QCOMPARE(row.ip(), QStringLiteral("10.0.0.7"));
    QCOMPARE(row.port(), QStringLiteral("502"));
    QCOMPARE(row.addr(), QStringLiteral("3"));
    history.redo();
    QCOMPARE(row.desc(), QStringLiteral("Bay 6"));
    QCOMPARE(row.ip(), QStringLiteral("10.0.0.7"));
    QCOMPARE(row.port(), QStringLiteral("502"));
    QCOMPARE(row.addr(), QStringLiteral("3"));
}

void tst_elements::editWithoutChangePushesNothing()
{
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    readElement read;
    read.setType(QStringLiteral("U16"));
    read.setAddr(QStringLiteral("100"));
    read.setFormat(QStringLiteral("F_X_XX"));
    read.setUndoStack(&history);
    bool asked = false;
    answerDialog([&](QDialog *) { asked = true; });
    press(&read, "edit");
    QVERIFY(asked);
    QVERIFY(history.isEmpty());
    QVERIFY(!undoAction.isEnabled());
}

void tst_elements::editCancelled()
{
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    writeElement write;
    write.setUndoStack(&history);
    answerDialog(
        [](QDialog *dialog) {
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("desc"))->setPlainText("x");
        },
        QDialogButtonBox::Cancel);
    press(&write, "edit");
    QVERIFY(history.isEmpty());
    QCOMPARE(write.desc(), QStringLiteral("desc"));
}

void tst_elements::editWithoutHistory()
{
    rtuElement rtu;
    rtu.setCom(QStringLiteral("COM3"));
    answerDialog([](QDialog *dialog) {
        dialog->findChild<QSpinBox *>(QStringLiteral("slave"))->setValue(12);
    });
    press(&rtu, "edit");
    QCOMPARE(rtu.addr(), QStringLiteral("12"));
    QCOMPARE(rtu.com(), QStringLiteral("COM3"));
}

void tst_elements::editKeepsUnlistedPortAndRate()
{
    // A port that is not there now and a rate the list lacks survive an edit
    // of the description alone.
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    rtuElement rtu;
    rtu.setCom(QStringLiteral("COM99"));
    rtu.setBaudrate(QStringLiteral("19200"));
    rtu.setAddr(QStringLiteral("5"));
    rtu.setUndoStack(&history);
    answerDialog([](QDialog *dialog) {
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("desc"))->setPlainText("Old feeder");
    });
    press(&rtu, "edit");
    QCOMPARE(rtu.desc(), QStringLiteral("Old feeder"));
    QCOMPARE(rtu.com(), QStringLiteral("COM99"));
    QCOMPARE(rtu.baudrate(), QStringLiteral("19200"));
    QCOMPARE(rtu.addr(), QStringLiteral("5"));
}

void tst_elements::editReadKeepsFormat()
{
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    readElement read;
    read.setType(QStringLiteral("U32"));
    read.setAddr(QStringLiteral("1024"));
    read.setFormat(QStringLiteral("F_X_XX"));
    read.setValue(QStringLiteral("12.34"));
    read.setUndoStack(&history);
    answerDialog([](QDialog *dialog) {
        QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("format"))->currentText(),
            QStringLiteral("F_X_XX"));
        dialog->findChild<QSpinBox *>(QStringLiteral("address"))->setValue(1026);
    });
    press(&read, "edit");
    QCOMPARE(read.addr(), QStringLiteral("1026"));
    QCOMPARE(read.format(), QStringLiteral("F_X_XX"));
    QCOMPARE(read.type(), QStringLiteral("U32"));
    QCOMPARE(read.value(), QStringLiteral("12.34"));
    history.undo();
    QCOMPARE(read.addr(), QStringLiteral("1024"));
}

void tst_elements::editWriteOpensWithValue()
{
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    writeElement write;
    write.setType(QStringLiteral("U32"));
    write.setValue(QStringLiteral("4294967295"));
    write.setUndoStack(&history);
    double preset = 0;
    answerDialog([&](QDialog *dialog) {
        auto *value = dialog->findChild<QDoubleSpinBox *>(QStringLiteral("value"));
        preset = value->value();
        dialog->findChild<QComboBox *>(QStringLiteral("type"))->setCurrentText("U16");
    });
    press(&write, "edit");
    QCOMPARE(preset, 4294967295.0);
    QCOMPARE(write.type(), QStringLiteral("U16"));
    QCOMPARE(write.value(), QStringLiteral("65535"));
    history.undo();
    QCOMPARE(write.type(), QStringLiteral("U32"));
    QCOMPARE(write.value(), QStringLiteral("4294967295"));
}

void tst_elements::editMacro()
{
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    macroElement macro;
    macro.setMacro(QStringLiteral("FD_MACRO_LOGIN"));
    macro.setParam(QStringLiteral("1 0042"));
    macro.setDesc(QStringLiteral("Operator"));
    macro.setUndoStack(&history);
    QString presetDesc;
    answerDialog([&](QDialog *dialog) {
        auto *desc = dialog->findChild<QTextEdit *>(QStringLiteral("desc"));
        presetDesc = desc->toPlainText();
        desc->setPlainText(QStringLiteral("Service login"));
    });
    press(&macro, "edit");
    QCOMPARE(presetDesc, QStringLiteral("Operator"));
    QCOMPARE(macro.desc(), QStringLiteral("Service login"));
    QCOMPARE(macro.macro(), QStringLiteral("FD_MACRO_LOGIN"));
    QCOMPARE(macro.param(), QStringLiteral("1 0042"));
    history.undo();
    QCOMPARE(macro.desc(), QStringLiteral("Operator"));
    history.redo();
    QCOMPARE(macro.desc(), QStringLiteral("Service login"));
}

void tst_elements::editUnknownMacroOpensNothing()
{
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    macroElement macro; // "MACRO" names no dialog
    macro.setUndoStack(&history);
    press(&macro, "edit");
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(history.isEmpty());
    QCOMPARE(macro.macro(), QStringLiteral("MACRO"));
}

QTEST_MAIN(tst_elements)
#include "tst_elements.moc"
