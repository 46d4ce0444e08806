// Lines kept open ("--serve") against one-shot runs, measured side by side
// in one run against the simulator:
//  - the client's ReadAll of 1,000 rows over TCP (every row marked for the
//    trend, the trend window shown), each request a driver run of its own
//    against the port's "Keep the line open": wall time per request and the
//    client's own processor time per request (drivers not included);
//  - a serving qelDrvModbus answering 10,000 "--read_u16 0" request lines
//    written by this program one at a time, against a pymodbus client
//    process making the same 10,000 reads over one connection;
//  - the client's ReadAll over TLS (Modbus/TCP Security), one-shot against
//    served.
// Run on a display or with QT_QPA_PLATFORM=offscreen, from a release build.
//
//   bench_serve [rows] [requests] [tls rows]      (default 1000 10000 200)

#include "benchcertificates.h"
#include "clientenvironment.h"
#include "mainwindow.h"
#include "processortime.h"
#include "projectdocument.h"
#include "resultsink.h"
#include "serveprotocol.h"
#include "trendcommands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString beside(const char *program)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(program));
}

// The simulator on TCP at a port the system chooses.
class simulator
{
public:
    bool start(const QStringList &options)
    {
        process.start(beside("qelDevSim"), QStringList {"--tcp", "127.0.0.1:0"} + options);
        if (!process.waitForReadyRead(10000))
            return false;
        port = QString::fromLatin1(process.readLine()).trimmed().section(':', 1);
        return !port.isEmpty();
    }
    ~simulator()
    {
        process.terminate();
        process.waitForFinished(5000);
    }

    QProcess process;
    QString port;
};

QByteArray projectText(int rows, const QJsonObject &port)
{
    QJsonArray reads;
    for (int i = 0; i < rows; ++i)
        reads.append(QJsonObject {{"addr", QString::number(1000 + i % 10)},
            {"desc", QStringLiteral("Value %1").arg(i)}, {"format", ""}, {"type", "U16"},
            {"trend", true}});
    const QJsonObject root {{"communications", QJsonArray {port}}, {"macro", QJsonArray()},
        {"name", "bench"}, {"read", reads}, {"write", QJsonArray()}};
    return QJsonDocument(root).toJson();
}

struct readAllRun
{
    double wallMs = 0;
    double cpuMs = 0;
    int failed = 0;
};

// One ReadAll of the project at path in window.
readAllRun readAll(MainWindow &window, const QString &path)
{
    window.document()->clear();
    window.loadFile(path);
    window.trends()->results()->showWindow();
    QCoreApplication::processEvents();
    readAllRun run;
    const QMetaObject::Connection counting = QObject::connect(&window, &MainWindow::logAppended,
        [&run](const QString &html) { run.failed += html.contains(QLatin1String(">ERROR<")); });
    const double cpuStart = processorMs();
    QElapsedTimer timer;
    timer.start();
    QMetaObject::invokeMethod(&window, "commandReadAll", Qt::DirectConnection, Q_ARG(bool, false));
    run.wallMs = timer.nsecsElapsed() / 1e6;
    run.cpuMs = processorMs() - cpuStart;
    QObject::disconnect(counting);
    window.document()->clear(); // ends the serving drivers
    QCoreApplication::processEvents();
    return run;
}

// requests "--read_u16 0" lines through one serving driver, one at a time;
// the wall time in ms, or -1 when an answer did not come or failed.
double servedRequests(const QStringList &line, int requests)
{
    QProcess driver;
    driver.start(beside("qelDrvModbus"), line + QStringList {"--serve"});
    if (!driver.waitForReadyRead(10000))
        return -1;
    const QByteArray key = ServeProtocol::keyOfReadyLine(driver.readLine().trimmed());
    if (key.isEmpty())
        return -1;
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < requests; ++i) {
        driver.write("--read_u16 0\n");
        for (;;) {
            out += driver.readAllStandardOutput();
            driver.readAllStandardError(); // its end lines, dropped
            const ServeProtocol::EndLine end = ServeProtocol::findEndLine(out, key);
            if (end.found) {
                if (end.status != 0)
                    return -1;
                out.remove(0, end.next);
                break;
            }
            if (!driver.waitForReadyRead(10000))
                return -1;
        }
    }
    const double elapsed = timer.nsecsElapsed() / 1e6;
    driver.closeWriteChannel();
    driver.waitForFinished(10000);
    return elapsed;
}

double pymodbusReads(const QString &port, int requests)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(QEL_PYMODBUS_READS), port, QString::number(requests)});
    if (!python.waitForFinished(600000) || python.exitCode() != 0)
        return -1;
    return python.readAllStandardOutput().trimmed().toDouble();
}

void printReadAll(const char *what, int rows, const readAllRun &oneShot, const readAllRun &served)
{
    std::printf("%s, %d rows:\n", what, rows);
    std::printf("  one-shot: %9.1f ms, %7.3f ms a request, client CPU %6.3f ms a request, %d "
                "failed\n",
        oneShot.wallMs, oneShot.wallMs / rows, oneShot.cpuMs / rows, oneShot.failed);
    std::printf("  served:   %9.1f ms, %7.3f ms a request, client CPU %6.3f ms a request, %d "
                "failed\n",
        served.wallMs, served.wallMs / rows, served.cpuMs / rows, served.failed);
    std::printf("  one-shot / served: %.1f x\n", oneShot.wallMs / served.wallMs);
}

} // namespace

int main(int argc, char **argv)
{
    setClientEnvironment(); // as the client's own start
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("qel-bench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_serve"));
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int requests = argc > 2 ? std::max(1, atoi(argv[2])) : 10000;
    const int tlsRows = argc > 3 ? std::max(1, atoi(argv[3])) : 200;
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    if (!makeBenchCertificates(dir.path())) {
        std::fprintf(stderr, "bench_serve: no certificates (openssl)\n");
        return 1;
    }
    const auto file = [&dir](const char *name) { return dir.filePath(name); };

    // The drivers are found beside this program.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    simulator plain, secure;
    const QStringList registers {"--no-macros", "--holding", "1000=1,2,3,4,5,6,7,8,9,10"};
    if (!plain.start(registers)
        || !secure.start(registers
            + QStringList {"--tls", file("server.pem"), file("server.key"), file("ca.pem")})) {
        std::fprintf(stderr, "bench_serve: the simulator did not start\n");
        return 1;
    }

    QJsonObject tcp {{"active", true}, {"addr", "1"}, {"desc", "simulator"}, {"ip", "127.0.0.1"},
        {"port", plain.port}, {"type", "TCP"}};
    QJsonObject tls = tcp;
    tls.insert("port", secure.port);
    tls.insert("tls", true);
    tls.insert("cert", file("client.pem"));
    tls.insert("key", file("client.key"));
    tls.insert("ca", file("ca.pem"));
    const struct
    {
        QString path;
        QJsonObject port;
        int rows;
    } projects[] = {{file("tcp.json"), tcp, rows}, {file("tcp-kept.json"), tcp, rows},
        {file("tls.json"), tls, tlsRows}, {file("tls-kept.json"), tls, tlsRows}};
    for (int i = 0; i < 4; ++i) {
        QJsonObject port = projects[i].port;
        if (i % 2)
            port.insert("keepopen", true);
        QFile out(projects[i].path);
        if (!out.open(QIODevice::WriteOnly) || out.write(projectText(projects[i].rows, port)) < 0) {
            std::fprintf(stderr, "bench_serve: cannot write %s\n", qPrintable(projects[i].path));
            return 1;
        }
    }

    MainWindow window;
    window.show();
    readAll(window, projects[1].path); // warms the page cache and the simulator
    const readAllRun tcpOneShot = readAll(window, projects[0].path);
    const readAllRun tcpServed = readAll(window, projects[1].path);
    const readAllRun tlsOneShot = readAll(window, projects[2].path);
    const readAllRun tlsServed = readAll(window, projects[3].path);

    const QStringList line {"--ip", "127.0.0.1", "--port", plain.port};
    const double driverMs = servedRequests(line, requests);
    const double pythonMs = pymodbusReads(plain.port, requests);
    if (driverMs < 0 || pythonMs < 0) {
        std::fprintf(stderr, "bench_serve: %s failed\n",
            driverMs < 0 ? "the serving driver" : "the pymodbus client");
        return 1;
    }

    printReadAll("Client ReadAll over TCP", rows, tcpOneShot, tcpServed);
    std::printf("  targets: served at least 8 x faster, client CPU at most 0.2 ms a request\n");
    printReadAll("Client ReadAll over TLS", tlsRows, tlsOneShot, tlsServed);
    std::printf("  target: served at least 20 x faster\n");
    std::printf("%d reads of one register over one TCP connection:\n", requests);
    std::printf("  serving qelDrvModbus, request lines from this program: %9.1f ms, %.4f ms a "
                "request\n",
        driverMs, driverMs / requests);
    std::printf("  pymodbus TCP client process:                           %9.1f ms, %.4f ms a "
                "request\n",
        pythonMs, pythonMs / requests);
    std::printf("  serving driver / pymodbus: %.2f (target at most 3)\n", driverMs / pythonMs);
    return 0;
}
