#include "linesettings.h"

#include "numbers.h"
#include "optionpairs.h"

#include <QFile>

namespace {

constexpr int MbapPort = 502;
constexpr int SecurePort = 802;
constexpr int AnyUnit = 255;

// Connection options are unsigned decimal; absent options take their default.
int decimalOption(const OptionPairs &options, const QString &name, int defaultValue)
{
    return options.has(name) ? int(Numbers::toDecimal(options.value(name))) : defaultValue;
}

} // namespace

LineKind LineSettings::kindOf(const OptionPairs &options)
{
    const QString framing = options.value(QStringLiteral("--framing"));
    const bool ascii = framing == QLatin1String("ASCII");
    if (options.has(QStringLiteral("--tls")))
        return LineKind::Tls;
    if (options.has(QStringLiteral("--ip"))) {
        if (framing == QLatin1String("RTU"))
            return LineKind::TcpRtu;
        return ascii ? LineKind::TcpAscii : LineKind::Tcp;
    }
    return ascii ? LineKind::SerialAscii : LineKind::Serial;
}

LineSettings LineSettings::fromOptions(const OptionPairs &options)
{
    LineSettings line;
    line.kind = kindOf(options);
    if (overNetwork(line.kind)) {
        line.host = options.value(QStringLiteral("--ip"));
        line.port = decimalOption(
            options, QStringLiteral("--port"), line.kind == LineKind::Tls ? SecurePort : MbapPort);
        line.certificate = options.value(QStringLiteral("--cert"));
        line.privateKey = options.value(QStringLiteral("--key"));
        line.authorities = options.value(QStringLiteral("--ca"));
        return line;
    }
    line.device = options.value(QStringLiteral("--port"));
    line.baudRate = decimalOption(options, QStringLiteral("--baudrate"), line.baudRate);
    const QString parity = options.has(QStringLiteral("--parity"))
        ? options.value(QStringLiteral("--parity"))
        : QStringLiteral("N");
    line.parity = parity.isEmpty() ? '\0' : parity.at(0).toLatin1();
    line.dataBits = decimalOption(options, QStringLiteral("--data_bit"), line.dataBits);
    line.stopBits = decimalOption(options, QStringLiteral("--stop_bit"), line.stopBits);
    return line;
}

LineSettings LineSettings::serial(const QString &device, int baudRate)
{
    LineSettings line;
    line.device = device;
    line.baudRate = baudRate;
    return line;
}

int LineSettings::defaultAddress() const
{
    return takesAnyUnit(kind) ? AnyUnit : 1;
}

Modbus::ContextPtr LineSettings::createContext() const
{
    const QByteArray name = device.toLocal8Bit();
    const QByteArray ip = host.toLatin1();
    switch (kind) {
    case LineKind::Serial:
        return Modbus::ContextPtr(
            Modbus::newRtuContext(name.constData(), baudRate, parity, dataBits, stopBits));
    case LineKind::SerialAscii:
        return Modbus::ContextPtr(
            Modbus::newAsciiContext(name.constData(), baudRate, parity, dataBits, stopBits));
    case LineKind::Tcp:
        return Modbus::ContextPtr(Modbus::newTcpContext(ip.constData(), port));
    case LineKind::TcpRtu:
        return Modbus::ContextPtr(Modbus::newRtuTcpContext(ip.constData(), port));
    case LineKind::TcpAscii:
        return Modbus::ContextPtr(Modbus::newAsciiTcpContext(ip.constData(), port));
    case LineKind::Tls: {
        const Modbus::TlsFiles files {QFile::encodeName(certificate).toStdString(),
            QFile::encodeName(privateKey).toStdString(),
            QFile::encodeName(authorities).toStdString()};
        return Modbus::ContextPtr(Modbus::newTlsContext(ip.constData(), port, files));
    }
    }
    return nullptr;
}
