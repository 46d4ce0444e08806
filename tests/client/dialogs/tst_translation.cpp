#include "addreaddata.h"
#include "addrtuport.h"
#include "addtcpport.h"
#include "addwritedata.h"
#include "logwindow.h"
#include "macroelement.h"
#include "readelement.h"
#include "rtuelement.h"
#include "tcpelement.h"
#include "writedata.h"
#include "writeelement.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

// Every visible text of the port and data dialogs and of the log window has
// its Polish translation in the resources.
class tst_translation : public QObject
{
    Q_OBJECT

private:
    using Factory = std::function<QWidget *()>;
    // Object name (the window itself as "") and visible text of a widget tree.
    static QMap<QString, QString> texts(QWidget *window)
    {
        QMap<QString, QString> found;
        found.insert(QString(), window->windowTitle());
        for (QLabel *label : window->findChildren<QLabel *>())
            if (!label->objectName().isEmpty())
                found.insert(label->objectName(), label->text());
        for (QGroupBox *box : window->findChildren<QGroupBox *>())
            found.insert(box->objectName(), box->title());
        for (QToolButton *button : window->findChildren<QToolButton *>())
            if (!button->objectName().isEmpty())
                found.insert(button->objectName(), button->toolTip());
        for (QToolBar *bar : window->findChildren<QToolBar *>())
            found.insert(bar->objectName(), bar->windowTitle());
        for (QMenu *menu : window->findChildren<QMenu *>())
            found.insert(menu->objectName(), menu->title());
        for (QAction *action : window->findChildren<QAction *>())
            if (!action->objectName().isEmpty())
                found.insert(action->objectName(), action->text());
        return found;
    }

private slots:
    void everyTextTranslated_data();
    void everyTextTranslated();
};

Q_DECLARE_METATYPE(std::function<QWidget *()>)

void tst_translation::everyTextTranslated_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QStringList>("sameInPolish");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("polish");

    QTest::newRow("addRTUPort") << Factory([] { return new addRTUPort(QStringList {"COM1"}); })
                                << QStringList {"COM"} << "label_3"
                                << "Adres urządzenia";
    QTest::newRow("addTCPPort") << Factory([] { return new addTCPPort; })
                                << QStringList {"IP", "Port", "CA"} << "label_4"
                                << "Opis";
    QTest::newRow("addReadData") << Factory([] { return new addReadData; })
                                 << QStringList {"Format"} << ""
                                 << "Odczyt danych";
    QTest::newRow("addWriteData") << Factory([] { return new addWriteData; }) << QStringList {}
                                  << "label_3"
                                  << "Wartość";
    QTest::newRow("writeData") << Factory([] { return new writeData; }) << QStringList {}
                               << "groupBox"
                               << "Parametry";
    QTest::newRow("logWindow") << Factory([] { return new logWindow; }) << QStringList {}
                               << "actionClear"
                               << "Wyczyść";
    // The rows' values are data, not texts; their buttons' tips are. The
    // short name of holding registers is the same in Polish.
    const QStringList values {"COM10", "115200", "0", "desc", "192.168.1.1", "502", "F32", "32768",
        "", "MACRO", "PARAM", "Frame", "RTU 8N1", "MBAP", "Holding"};
    QTest::newRow("rtuElement") << Factory([] { return new rtuElement; }) << values << "exe"
                                << "Ustaw ten port jako aktywny";
    QTest::newRow("tcpElement") << Factory([] { return new tcpElement; }) << values << "edit"
                                << "Edytuj";
    QTest::newRow("readElement") << Factory([] { return new readElement; }) << values << "exe"
                                 << "Wykonaj";
    QTest::newRow("writeElement") << Factory([] { return new writeElement; }) << values << "del"
                                  << "Usuń";
    QTest::newRow("macroElement") << Factory([] { return new macroElement; }) << values << "exe"
                                  << "Wykonaj";
}

void tst_translation::everyTextTranslated()
{
    QFETCH(Factory, create);
    QFETCH(QStringList, sameInPolish);
    QFETCH(QString, label);
    QFETCH(QString, polish);

    std::unique_ptr<QWidget> english(create());
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/file/qelWinModbusClient_pl.qm")));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    std::unique_ptr<QWidget> translated(create());
    QCoreApplication::removeTranslator(&translator);

    const QMap<QString, QString> source = texts(english.get());
    const QMap<QString, QString> target = texts(translated.get());
    QCOMPARE(target.keys(), source.keys());
    QVERIFY(source.size() >= 4);
    for (auto it = source.cbegin(); it != source.cend(); ++it) {
        if (it.value().isEmpty() || sameInPolish.contains(it.value()))
            QCOMPARE(target.value(it.key()), it.value());
        else
            QVERIFY2(target.value(it.key()) != it.value(), qPrintable(it.value()));
    }
    QCOMPARE(target.value(label), polish);
}

QTEST_MAIN(tst_translation)
#include "tst_translation.moc"
