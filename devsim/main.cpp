// qelDevSim: a Modbus device simulator on TCP, a pseudo-terminal or a serial line.

#include "demoimage.h"
#include "devicesimulator.h"
#include "filenames.h"
#include "macrolog.h"
#include "modbusslave.h"
#include "registerbank.h"
#include "reportprinter.h"
#include "requestlog.h"
#include "rtuline.h"
#include "shutdownsignals.h"
#include "simoptions.h"
#include "tcpline.h"

#include <QCoreApplication>
#include <QTextStream>
#include <memory>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "qelDevSim: " << message << Qt::endl;
    return 1;
}

bool loadRegisters(const SimConfig &config, RegisterBank &bank, QString *error)
{
    if (config.demo)
        DemoImage::load(bank);
    for (const SimConfig::RegisterInit &init : config.registers) {
        if (!init.file.isEmpty()) {
            const bool loaded = init.input ? bank.loadInputFile(init.start, init.file, error)
                                           : bank.loadHoldingFile(init.start, init.file, error);
            if (!loaded)
                return false;
        } else if (init.input) {
            bank.setInput(init.start, init.words);
        } else {
            bank.setHolding(init.start, init.words);
        }
    }
    for (const SimConfig::Counter &counter : config.counters)
        bank.addCounter(counter.input, counter.address, counter.step);
    if (!config.dumpHolding.isEmpty() && !bank.setHoldingDump(config.dumpHolding, error))
        return false;
    if (!config.dumpInput.isEmpty() && !bank.writeInputDump(config.dumpInput, error))
        return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    FileNames::keepBytesAsGiven(); // file and device names as given
    keepRunningWhenOutputCloses(); // goes on serving when its first line is not read
    QCoreApplication app(argc, argv);
    SimConfig config;
    QString error;
    switch (SimOptions::parse(app.arguments().mid(1), &config, &error)) {
    case SimOptions::Result::Help:
        QTextStream(stdout) << SimOptions::usage();
        return 0;
    case SimOptions::Result::Error:
        QTextStream(stderr) << "qelDevSim: " << error << "\n(see qelDevSim --help)" << Qt::endl;
        return 2;
    case SimOptions::Result::Run:
        break;
    }

    RegisterBank bank;
    if (!loadRegisters(config, bank, &error))
        return fail(error);
    RequestLog requestLog;
    if (!config.requestLog.isEmpty() && !requestLog.open(config.requestLog, &error))
        return fail(error);
    if (!config.replyLog.isEmpty() && !requestLog.openReplies(config.replyLog, &error))
        return fail(error);
    MacroLog macroLog;
    if (!config.macroLog.isEmpty() && !macroLog.open(config.macroLog, &error))
        return fail(error);

    ModbusSlave slave(bank, config.answers, macroLog);
    slave.setMacrosEnabled(config.macros);
    DeviceSimulator simulator(config.devices, slave, config.faults);
    simulator.setAnswerBroadcast(config.answerBroadcast);

    ShutdownSignals shutdown;
    if (!shutdown.install())
        return fail(QStringLiteral("cannot install the signal handlers"));
    QObject::connect(&shutdown, &ShutdownSignals::requested, &app, &QCoreApplication::quit);
    if (config.exitWithParent && !ShutdownSignals::followParent())
        return fail(QStringLiteral("the starting process has ended"));

    std::unique_ptr<TcpLine> tcp;
    std::unique_ptr<RtuLine> rtu;
    QString name;
    if (config.line == SimConfig::Line::Tcp) {
        tcp = std::make_unique<TcpLine>(simulator, requestLog);
        if (!tcp->listen(config.host, config.port, &error))
            return fail(error);
        name = tcp->name();
    } else {
        rtu = std::make_unique<RtuLine>(simulator, requestLog, config.frameGapMs);
        const bool opened = config.line == SimConfig::Line::Pty
            ? rtu->openPseudoTerminal(&error)
            : rtu->openSerialDevice(config.serial, &error);
        if (!opened)
            return fail(error);
        name = rtu->name();
    }
    // The first line tells a starter where to connect; the line is ready by now.
    QTextStream(stdout) << name << Qt::endl;
    return app.exec();
}
