#include "probeline.h"

ProbeLine::ProbeLine(const QString &port, int baudRate, const ProbeSettings &settings)
    : context(Modbus::newRtuContext(port.toLocal8Bit().constData(), baudRate, 'N', 8, 1))
{
    if (!context)
        return;
    if (settings.responseTimeoutMs > 0)
        Modbus::setResponseTimeout(context.get(), settings.responseTimeoutMs);
    Modbus::setCancelDescriptor(context.get(), settings.cancelDescriptor);
}

ProbeLine::~ProbeLine()
{
    if (connected)
        Modbus::close(context.get());
}

bool ProbeLine::connect()
{
    connected = context && Modbus::connect(context.get()) == 0;
    return connected;
}
