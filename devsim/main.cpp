// qelDevSim: a Modbus device simulator on TCP, a pseudo-terminal or a serial line.

#include "asciiformat.h"
#include "bitbank.h"
#include "demoimage.h"
#include "devicesimulator.h"
#include "filenames.h"
#include "logfile.h"
#include "macrolog.h"
#include "mbapformat.h"
#include "modbusslave.h"
#include "registerbank.h"
#include "reportprinter.h"
#include "requestlog.h"
#include "rtuformat.h"
#include "serialline.h"
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

// The frame format of each connection (or of the serial line).
TcpLine::FormatMaker formatMaker(const SimConfig &config, DeviceSimulator &simulator)
{
    switch (config.framing) {
    case SimConfig::Framing::Rtu:
        return [&simulator] { return std::make_unique<RtuFormat>(simulator); };
    case SimConfig::Framing::Ascii:
        return [&simulator] { return std::make_unique<AsciiFormat>(simulator); };
    case SimConfig::Framing::LineDefault:
        break;
    }
    if (config.line == SimConfig::Line::Tcp)
        return [&simulator] { return std::make_unique<MbapFormat>(simulator); };
    return [&simulator] { return std::make_unique<RtuFormat>(simulator); };
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
    BitBank bits;
    for (const SimConfig::BitInit &init : config.bits) {
        if (init.discrete)
            bits.setDiscreteInputs(init.start, init.bits);
        else
            bits.setCoils(init.start, init.bits);
    }
    RequestLog requestLog;
    if (!config.requestLog.isEmpty() && !requestLog.open(config.requestLog, &error))
        return fail(error);
    if (!config.replyLog.isEmpty() && !requestLog.openReplies(config.replyLog, &error))
        return fail(error);
    MacroLog macroLog;
    if (!config.macroLog.isEmpty() && !macroLog.open(config.macroLog, &error))
        return fail(error);
    LogFile tlsLog;
    if (!config.tlsLog.isEmpty() && !tlsLog.open(config.tlsLog, &error))
        return fail(error);

    ModbusSlave slave(bank, bits, config.answers, macroLog);
    slave.setMacrosEnabled(config.macros);
    DeviceSimulator simulator(config.devices, slave, config.faults);
    simulator.setAnswerBroadcast(config.answerBroadcast);

    ShutdownSignals shutdown;
    if (!shutdown.install())
        return fail(QStringLiteral("cannot install the signal handlers"));
    QObject::connect(&shutdown, &ShutdownSignals::requested, &app, &QCoreApplication::quit);
    if (config.exitWithParent && !ShutdownSignals::followParent())
        return fail(QStringLiteral("the starting process has ended"));

    const TcpLine::FormatMaker makeFormat = formatMaker(config, simulator);
    std::unique_ptr<TcpLine> tcp;
    std::unique_ptr<SerialLine> serial;
    QString name;
    if (config.line == SimConfig::Line::Tcp) {
        tcp = std::make_unique<TcpLine>(makeFormat, requestLog, config.frameGapMs);
        if (config.tls.isOn()
            && !tcp->useTls(config.tls.certificate, config.tls.privateKey, config.tls.authorities,
                tlsLog, &error))
            return fail(error);
        if (!tcp->listen(config.host, config.port, &error))
            return fail(error);
        name = tcp->name();
    } else {
        serial = std::make_unique<SerialLine>(makeFormat(), requestLog, config.frameGapMs);
        const bool opened = config.line == SimConfig::Line::Pty
            ? serial->openPseudoTerminal(&error)
            : serial->openSerialDevice(config.serial, &error);
        if (!opened)
            return fail(error);
        name = serial->name();
    }
    // The first line tells a starter where to connect; the line is ready by now.
    QTextStream(stdout) << name << Qt::endl;
    return app.exec();
}
