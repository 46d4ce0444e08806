#include "monitorrows.h"
#include "monitorsession.h"
#include "scriptfile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <memory>

using namespace MonitorRows;

// The run of qelDrvMonitor, played by stand-in scripts: rows split across
// reads, a monitor that cannot start, fails, dies, or does not end when
// asked, Stop with the summary, and no monitor left behind when the session
// goes.
class tst_monitorSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listensUntilStopped();
    void monitorThatCannotStart();
    void monitorThatFails();
    void monitorThatDies();
    void monitorThatIgnoresStop();
    void rowsOfAnotherForm();
    void sessionEndsItsMonitor_data();
    void sessionEndsItsMonitor();

private:
    // A stand-in monitor running body; the file's path.
    QString standIn(const QString &name, const QByteArray &body);
    // A file holding bytes, for a stand-in to cat; its path quoted for the shell.
    QByteArray dataFile(const QString &name, const QByteArray &bytes);

    QTemporaryDir folder;
};

namespace {

bool processGone(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

const monitorLine line {"/dev/ttyMONITOR", 19200, 'E', 8, 1, false};

} // namespace

void tst_monitorSession::initTestCase()
{
    QVERIFY(folder.isValid());
}

QString tst_monitorSession::standIn(const QString &name, const QByteArray &body)
{
    const QString path = folder.filePath(name);
    if (!writeScript(path, body))
        return QString();
    return path;
}

QByteArray tst_monitorSession::dataFile(const QString &name, const QByteArray &bytes)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QByteArray();
    return "'" + QFile::encodeName(file.fileName()) + "'";
}

// Its arguments name the line; its rows come in pieces cut inside a row; on
// SIGTERM it prints its summary and ends with 0.
void tst_monitorSession::listensUntilStopped()
{
    const QByteArray rows = header() + readRequest() + readReply() + badFrame() + unanswered();
    const int cut = header().size() + readRequest().size() + 7;
    const QByteArray first = dataFile("first", rows.left(cut));
    const QByteArray rest = dataFile("rest", rows.mid(cut));
    const QString program = standIn("listener.sh",
        "trap 'kill $waiter; printf \"Frames: 4\\r\\nErrors: 2\\r\\n\" >&2; exit 0' TERM\n"
        "echo \"$@\" > '"
            + QFile::encodeName(folder.filePath("arguments")) + "'\n"
            + "echo \"Listening on $2, 19200 baud 8E1, RTU\" >&2\n"
              "cat "
            + first + "\nsleep 0.2\ncat " + rest
            + "\n"
              "sleep 1000 &\nwaiter=$!\nwait $waiter\n");
    monitorSession session(program);
    QSignalSpy states(&session, &monitorSession::stateChanged);
    QSignalSpy listening(&session, &monitorSession::listening);
    QSignalSpy read(&session, &monitorSession::transactionsRead);
    QSignalSpy messages(&session, &monitorSession::messageWritten);
    QSignalSpy ended(&session, &monitorSession::ended);

    QVERIFY2(session.start(line), qPrintable(session.errorString()));
    QCOMPARE(session.state(), monitorSession::Starting);
    QVERIFY(session.processId() > 0);
    QTRY_COMPARE_WITH_TIMEOUT(session.state(), monitorSession::Listening, 30000);
    QCOMPARE(listening.count(), 1);
    QCOMPARE(listening.first().first().toString(),
        QString("Listening on /dev/ttyMONITOR, 19200 baud 8E1, RTU"));

    // The request without a reply row is told once its status came.
    int transactions = 0;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            transactions = 0;
            for (const QList<QVariant> &signal : read)
                transactions += signal.first().value<QVector<monitorTransaction>>().size();
            return transactions == 3;
        }(),
        30000);
    QFile arguments(folder.filePath("arguments"));
    QVERIFY(arguments.open(QIODevice::ReadOnly));
    QCOMPARE(arguments.readAll(),
        QByteArray("--port /dev/ttyMONITOR --baudrate 19200 --parity E --data_bit 8 --stop_bit 1 "
                   "--framing RTU --csv -\n"));

    session.stop();
    QCOMPARE(session.state(), monitorSession::Stopping);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 30000);
    const auto how = ended.first().first().value<monitorSession::outcome>();
    QVERIFY(how.ok());
    QVERIFY(how.stopped);
    QVERIFY(!how.killed);
    QCOMPARE(how.messages, QString("Frames: 4\nErrors: 2\n"));
    QCOMPARE(messages.count(), 2);
    QCOMPARE(session.state(), monitorSession::Idle);
    QCOMPARE(session.processId(), qint64(0));
    QList<int> seen;
    for (const QList<QVariant> &signal : states)
        seen << signal.first().toInt();
    QCOMPARE(seen,
        QList<int>({monitorSession::Starting, monitorSession::Listening, monitorSession::Stopping,
            monitorSession::Idle}));

    // Another listening on the same session starts afresh.
    QVERIFY(session.start(line));
    QTRY_COMPARE_WITH_TIMEOUT(session.state(), monitorSession::Listening, 30000);
    session.stop();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 30000);
}

void tst_monitorSession::monitorThatCannotStart()
{
    monitorSession session(folder.filePath("no-such-monitor"));
    QSignalSpy states(&session, &monitorSession::stateChanged);
    QVERIFY(!session.start(line));
    QVERIFY2(session.errorString().contains("No such file or directory"),
        qPrintable(session.errorString()));
    QVERIFY(session.errorString().contains(folder.filePath("no-such-monitor")));
    QCOMPARE(session.state(), monitorSession::Idle);
    QCOMPARE(states.count(), 0);
    session.stop();
    QCOMPARE(session.state(), monitorSession::Idle);
}

// A line that cannot be opened: the monitor's message and its status, with
// no listening and no rows.
void tst_monitorSession::monitorThatFails()
{
    monitorSession session(standIn("fails.sh",
        "echo 'Connection fails: Permission denied' >&2\n"
        "printf 'Hint: members of the group dialout may open it' >&2\nexit 255\n"));
    QSignalSpy listening(&session, &monitorSession::listening);
    QSignalSpy read(&session, &monitorSession::transactionsRead);
    QSignalSpy ended(&session, &monitorSession::ended);
    QVERIFY(session.start(line));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 30000);
    const auto how = ended.first().first().value<monitorSession::outcome>();
    QVERIFY(!how.ok());
    QVERIFY(!how.stopped);
    QCOMPARE(how.exitCode, 255);
    QCOMPARE(how.signal, 0);
    QCOMPARE(how.messages,
        QString("Connection fails: Permission denied\n"
                "Hint: members of the group dialout may open it\n"));
    QCOMPARE(listening.count(), 0);
    QCOMPARE(read.count(), 0);
    QCOMPARE(session.state(), monitorSession::Idle);
}

// A monitor killed in the middle of its work: the rows it wrote are kept, a
// request whose reply row never came among them.
void tst_monitorSession::monitorThatDies()
{
    monitorSession session(standIn("dies.sh",
        "echo 'Listening on /dev/ttyMONITOR' >&2\ncat "
            + dataFile("rows", header() + unanswered() + readRequest()) + "\nkill -9 $$\n"));
    QSignalSpy read(&session, &monitorSession::transactionsRead);
    QSignalSpy ended(&session, &monitorSession::ended);
    QVERIFY(session.start(line));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 30000);
    const auto how = ended.first().first().value<monitorSession::outcome>();
    QCOMPARE(how.signal, SIGKILL);
    QVERIFY(!how.ok());
    QVERIFY(!how.killed);
    QVector<monitorTransaction> all;
    for (const QList<QVariant> &signal : read)
        all += signal.first().value<QVector<monitorTransaction>>();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.at(0).rows, unanswered());
    QCOMPARE(all.at(1).rows, readRequest());
}

// Stop asks; a monitor that does not end within the grace time is killed.
void tst_monitorSession::monitorThatIgnoresStop()
{
    monitorSession session(standIn(
        "stubborn.sh", "trap '' TERM\necho 'Listening on /dev/ttyMONITOR' >&2\nexec sleep 1000\n"));
    QSignalSpy ended(&session, &monitorSession::ended);
    QVERIFY(session.start(line));
    QTRY_COMPARE_WITH_TIMEOUT(session.state(), monitorSession::Listening, 30000);
    const qint64 pid = session.processId();
    session.stop();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, monitorSession::StopGraceMs + 30000);
    const auto how = ended.first().first().value<monitorSession::outcome>();
    QVERIFY(how.killed);
    QVERIFY(how.stopped);
    QCOMPARE(how.signal, SIGKILL);
    QVERIFY(processGone(pid));
}

// Rows whose header is not the monitor's would fill the wrong columns: the
// session says so and ends the listening.
void tst_monitorSession::rowsOfAnotherForm()
{
    monitorSession session(standIn("otherform.sh",
        "trap 'kill $waiter; exit 0' TERM\necho 'Listening on /dev/ttyMONITOR' >&2\n"
        "printf 'when,what\\r\\n1,2\\r\\n'\nsleep 1000 &\nwaiter=$!\nwait $waiter\n"));
    QSignalSpy read(&session, &monitorSession::transactionsRead);
    QSignalSpy messages(&session, &monitorSession::messageWritten);
    QSignalSpy ended(&session, &monitorSession::ended);
    QVERIFY(session.start(line));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 30000);
    QVERIFY(ended.first().first().value<monitorSession::outcome>().stopped);
    QCOMPARE(read.count(), 0);
    QVERIFY(!messages.isEmpty());
    QVERIFY2(messages.first().first().toString().contains("when,what"),
        qPrintable(messages.first().first().toString()));
}

void tst_monitorSession::sessionEndsItsMonitor_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ignoresStop");
    QTest::newRow("a monitor that ends when asked")
        << QByteArray("echo 'Listening on /dev/ttyMONITOR' >&2\nexec sleep 1000\n") << false;
    QTest::newRow("a monitor that has to be killed")
        << QByteArray("trap '' TERM\necho 'Listening on /dev/ttyMONITOR' >&2\nexec sleep 1000\n")
        << true;
}

// The session goes with its window, and with the client: the monitor goes
// with it, reaped, whatever it does.
void tst_monitorSession::sessionEndsItsMonitor()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, ignoresStop);
    auto session = std::make_unique<monitorSession>(standIn("ends.sh", body));
    QVERIFY(session->start(line));
    QTRY_COMPARE_WITH_TIMEOUT(session->state(), monitorSession::Listening, 30000);
    const qint64 pid = session->processId();
    QVERIFY(!processGone(pid));
    QElapsedTimer clock;
    clock.start();
    session.reset();
    QVERIFY(processGone(pid));
    // Only a monitor that ignores the request waits out the grace time.
    if (ignoresStop)
        QVERIFY(clock.elapsed() >= monitorSession::StopGraceMs - 50);
}

QTEST_GUILESS_MAIN(tst_monitorSession)
#include "tst_monitorsession.moc"
