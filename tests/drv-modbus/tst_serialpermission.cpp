// qelDrvModbus on a serial device that the user may not open: the message
// names the group whose members may open it and the command that adds the
// user to it, and only when joining that group would help.
#include "programrun.h"

#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

class TestSerialPermission : public QObject
{
    Q_OBJECT

private slots:
    void refusedDevice_data();
    void refusedDevice();
};

void TestSerialPermission::refusedDevice_data()
{
    QTest::addColumn<bool>("deviceNode");
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("hint");

    QTest::newRow("device node of dialout, group may read and write")
        << true << "dialout" << 0660 << true;
    QTest::newRow("file of uucp, group may read and write") << false << "uucp" << 0660 << true;
    QTest::newRow("group may only read: joining it does not help")
        << true << "dialout" << 0640 << false;
    QTest::newRow("superuser's group: no advice to join it") << true << "root" << 0660 << false;
}

void TestSerialPermission::refusedDevice()
{
    QFETCH(bool, deviceNode);
    QFETCH(QString, group);
    QFETCH(int, mode);
    QFETCH(bool, hint);

    // The driver runs as an unprivileged user who belongs to no group, so the
    // device's mode decides; only the superuser can set that up.
    if (geteuid() != 0)
        QSKIP("needs the superuser to hand devices to groups and start the driver as nobody");
    const struct group *entry = getgrnam(group.toLatin1().constData());
    if (!entry)
        QSKIP("the group does not exist on this machine");

    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QVERIFY(chmod(QFile::encodeName(directory.path()).constData(), 0755) == 0);
    const QString device = directory.filePath("ttyQEL0");
    const QByteArray path = QFile::encodeName(device);
    if (deviceNode) // a private node of the null device, not a real line
        QVERIFY(mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0);
    else
        QVERIFY(QFile(device).open(QIODevice::WriteOnly));
    QVERIFY(chown(path.constData(), 0, entry->gr_gid) == 0);
    QVERIFY(chmod(path.constData(), mode_t(mode)) == 0);

    const ProgramResult result = runProgram("setpriv",
        {"--reuid=65534", "--regid=65534", "--clear-groups", programPath("qelDrvModbus"), "--port",
            device, "--address", "1", "--read_u16", "0"});
    QVERIFY(result.started);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray());
    QByteArray expected = "Connection fails: Permission denied\n";
    if (hint)
        expected += "Hint: members of the group " + group.toLatin1() + " may open " + path
            + "; add your user to it with \"sudo usermod -a -G " + group.toLatin1()
            + " $USER\" and log in again.\n";
    QCOMPARE(result.err, expected);
}

QTEST_GUILESS_MAIN(TestSerialPermission)
#include "tst_serialpermission.moc"
