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
