#include "probeline.h"

ProbeLine::ProbeLine(const QString &port, int baudRate, const ProbeSettings &settings)
    : ProbeLine(LineSettings::serial(port, baudRate), settings)
{ }

ProbeLine::ProbeLine(const LineSettings &line, const ProbeSettings &settings)
    : context(line.createContext())
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
