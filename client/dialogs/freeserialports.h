#pragma once

#include <QStringList>

// Names of the machine's serial ports that no program holds open now, sorted
// in plain string order (COM10 before COM2).
QStringList freeSerialPorts();
