#include "probeline.h"

ProbeLine::ProbeLine(const QString &port, int baudRate)
    : context(Modbus::newRtuContext(port.toLocal8Bit().constData(), baudRate, 'N', 8, 1))
{ }

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
