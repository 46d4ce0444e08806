// The settings cache: read once, answered from memory, written back whole.
#include "settingscache.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsCache : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void loadsEveryKey_data();
    void loadsEveryKey();
    void answersFromMemory();
    void savesEveryKey();

private:
    QTemporaryDir store;
};

void TestSettingsCache::initTestCase()
{
    QVERIFY(store.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    QCoreApplication::setOrganizationName(QStringLiteral("qel"));
    QCoreApplication::setApplicationName(QStringLiteral("qelWinRB4Init"));
    QSettings settings;
    settings.setValue(QStringLiteral("openSSH"), QStringLiteral("C:/Program Files/OpenSSH"));
    settings.setValue(QStringLiteral("openSSHId"), QStringLiteral("/home/u/.ssh/id key"));
    settings.setValue(QStringLiteral("ip"), QStringLiteral("192.168.1.10"));
    settings.setValue(QStringLiteral("other"), 42);
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
    QVERIFY(settings.fileName().startsWith(store.path()));
    settingsCache::instance().load();
}

void TestSettingsCache::loadsEveryKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("openSSH") << "openSSH"
                             << "C:/Program Files/OpenSSH";
    QTest::newRow("openSSHId") << "openSSHId"
                               << "/home/u/.ssh/id key";
    QTest::newRow("ip") << "ip"
                        << "192.168.1.10";
    QTest::newRow("a key of another kind, as text") << "other"
                                                    << "42";
    QTest::newRow("missing key") << "nothing"
                                 << "";
}

void TestSettingsCache::loadsEveryKey()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(settingsCache::instance().get(key), value);
}

void TestSettingsCache::answersFromMemory()
{
    // Changes in the store after the start are not seen, and set() does not write.
    QSettings settings;
    settings.setValue(QStringLiteral("ip"), QStringLiteral("10.9.9.9"));
    settings.sync();
    settingsCache &cache = settingsCache::instance();
    QCOMPARE(cache.get(QStringLiteral("ip")), QStringLiteral("192.168.1.10"));
    cache.set(QStringLiteral("openSSH"), QStringLiteral("/usr/bin"));
    QCOMPARE(cache.get(QStringLiteral("openSSH")), QStringLiteral("/usr/bin"));
    settings.sync();
    QCOMPARE(settings.value(QStringLiteral("openSSH")).toString(),
        QStringLiteral("C:/Program Files/OpenSSH"));
}

void TestSettingsCache::savesEveryKey()
{
    QVERIFY(settingsCache::instance().save());
    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("openSSH")).toString(), QStringLiteral("/usr/bin"));
    QCOMPARE(settings.value(QStringLiteral("ip")).toString(), QStringLiteral("192.168.1.10"));
    QCOMPARE(settings.value(QStringLiteral("openSSHId")).toString(),
        QStringLiteral("/home/u/.ssh/id key"));
    QCOMPARE(settings.value(QStringLiteral("other")).toString(), QStringLiteral("42"));
}

QTEST_GUILESS_MAIN(TestSettingsCache)
#include "tst_settingscache.moc"
