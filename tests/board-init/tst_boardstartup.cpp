// The start of qelWinRB4Init: names, the Polish translation (always), the
// tool set's style and the settings read before the window is built.
#include "boardstartup.h"
#include "mainwindow.h"
#include "myproxystyle.h"
#include "settingscache.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestBoardStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void identity();
    void translation_data();
    void translation();
    void window();

private:
    QTemporaryDir store;
    QTranslator translator;
    bool translated = false;
};

void TestBoardStartup::initTestCase()
{
    QVERIFY(store.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("qel"),
        QStringLiteral("qelWinRB4Init"));
    settings.setValue(QStringLiteral("ip"), QStringLiteral("192.168.7.7"));
    settings.setValue(QStringLiteral("openSSH"), QStringLiteral("/usr/bin"));
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
    translated = prepareBoardApplication(*qApp, translator);
}

void TestBoardStartup::identity()
{
    QVERIFY(translated);
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("qelWinRB4Init"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("qel"));
    QCOMPARE(QCoreApplication::organizationDomain(), QStringLiteral("qel.local"));
    QVERIFY(dynamic_cast<MyProxyStyle *>(QApplication::style()));
    QCOMPARE(settingsCache::instance().get(QStringLiteral("ip")), QStringLiteral("192.168.7.7"));
    QCOMPARE(settingsCache::instance().get(QStringLiteral("openSSH")), QStringLiteral("/usr/bin"));
    QCOMPARE(settingsCache::instance().get(QStringLiteral("openSSHId")), QString());
}

void TestBoardStartup::translation_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("polish");
    QTest::newRow("button") << "MainWindow"
                            << "Set date" << QString::fromUtf8("Ustaw datę");
    QTest::newRow("label") << "MainWindow"
                           << "Serial number"
                           << "Numer seryjny";
    QTest::newRow("menu") << "MainWindow"
                          << "Edit"
                          << "Edycja";
    QTest::newRow("action") << "MainWindow"
                            << "Set openSSH"
                            << "Ustaw openSSH";
    QTest::newRow("question") << "MainWindow"
                              << "Do you want set date first ?"
                              << QString::fromUtf8("Czy najpierw ustawić datę ?");
    QTest::newRow("wait box") << "MainWindow"
                              << "Please wait ..." << QString::fromUtf8("Proszę czekać ...");
    QTest::newRow("path question") << "MainWindow"
                                   << "Path:" << QString::fromUtf8("Ścieżka:");
    QTest::newRow("log window") << "logWindow"
                                << "Clear" << QString::fromUtf8("Wyczyść");
}

void TestBoardStartup::translation()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, polish);
    QCOMPARE(
        QCoreApplication::translate(context.toLatin1().constData(), source.toUtf8().constData()),
        polish);
}

void TestBoardStartup::window()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("RB4 Init"));
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("setDate"))->text(),
        QString::fromUtf8("Ustaw datę"));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("copyFile"))->text(),
        QStringLiteral("Wybierz"));
    QCOMPARE(
        window.findChild<QMenu *>(QStringLiteral("menuFile"))->title(), QStringLiteral("Plik"));
}

QTEST_MAIN(TestBoardStartup)
#include "tst_boardstartup.moc"
