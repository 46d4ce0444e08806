#pragma once

#include "simconfig.h"

#include <QStringList>

// The command line of qelDevSim.
namespace SimOptions {

enum class Result { Run, Help, Error };

// Reads the arguments (without the program name) into *config; on Error
// *error says what is wrong.
Result parse(const QStringList &arguments, SimConfig *config, QString *error);
QString usage();

// "V1,V2,..." with decimal, negative decimal (-32768 and up) or "0x" words.
bool parseWords(const QString &text, QVector<quint16> *words);
// "ADDR[,version=V][,sn=N|silent|exception][,id=TEXT]" onto *device.
bool parseDevice(const QString &text, DeviceProfile *device, QString *error);

} // namespace SimOptions
