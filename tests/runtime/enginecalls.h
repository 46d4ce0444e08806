#pragma once

// Engine calls for data-driven tests: each makes one call on a context and
// writes what it read as text, so rows of a table can name the call.

#include "engine/modbus.h"

#include <QMetaType>
#include <QString>
#include <QVector>

#include <cstdint>
#include <functional>

// One engine call of a row; writes what it read into *output.
using EngineCall = std::function<int(ModbusContext *, QString *)>;
Q_DECLARE_METATYPE(EngineCall)

// Words as "0001 0002 ...".
QString wordsText(const uint16_t *words, int count);
// count words first, first + 1, ... as wire bytes "HH LL HH LL ..."
QString wireWords(int count, int first);
// The same words as wordsText() gives them.
QString wordsOut(int count, int first);
QVector<uint16_t> wordVector(int count, int first);

EngineCall readHolding(int start, int count);
EngineCall readInput(int start, int count);
EngineCall writeRegisters(int start, const QVector<uint16_t> &words);
EngineCall writeMacro(uint16_t code, int specification, const QVector<uint16_t> &parameters);
EngineCall readMacro(uint16_t code, int specification, const QVector<uint16_t> &parameters);
// The whole buffer in hex after a successful read; it starts filled with EE.
EngineCall readIdentification(int bufferSize, int version);
// Bits as "1011...".
QString bitsText(const uint8_t *bits, int count);
// Coils (function 1) or discrete inputs (2), as bitsText() gives them.
EngineCall readBits(bool coils, int start, int count);
// bits as "1011...", any length.
EngineCall writeCoils(int start, const QString &bits);
EngineCall writeCoil(int address, bool on);
EngineCall writeRegister(int address, uint16_t value);
// "81 last 00: 00=qel 01=PM": conformity level, whether more follow and the
// next object, then every object with its text.
EngineCall readDeviceId(int readCode, int objectId);
// Text as hex bytes.
QString hexOf(const char *text);
