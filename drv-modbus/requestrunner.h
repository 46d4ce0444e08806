#pragma once

#include "registerrequest.h"

struct ModbusContext;

// Carries out a register request over a connected engine context and reports
// on standard output: the value of a typed read, the progress bars and values
// of a range read, the progress bars of a write. Failures show in the result
// only (false: the driver exits with -1); the engine trace gives the cause.
class RequestRunner
{
public:
    explicit RequestRunner(ModbusContext *context);
    bool run(const RegisterRequest &request);

private:
    bool typedRead(const RegisterRequest &request);
    bool rangeRead(const RegisterRequest &request);
    bool write(const RegisterRequest &request);
    bool readWords(RegisterRequest::Table table, int start, int count, QVector<quint16> *words);

    ModbusContext *context;
};
