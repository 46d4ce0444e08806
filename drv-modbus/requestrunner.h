#pragma once

#include "registerrequest.h"

struct ModbusContext;

// Carries out a register request over a connected engine context and reports
// on standard output: the value of a typed read, the progress bars and values
// of a range read, the progress bars of a write, the text of a text read, the
// objects of a device identification. Failures show in the result (false:
// the driver exits with -1) and their cause on standard error.
class RequestRunner
{
public:
    explicit RequestRunner(ModbusContext *context);
    bool run(const RegisterRequest &request);

private:
    bool typedRead(const RegisterRequest &request);
    bool rangeRead(const RegisterRequest &request);
    bool textRead(const RegisterRequest &request);
    bool write(const RegisterRequest &request);
    bool singleWrite(const RegisterRequest &request);
    bool deviceIdRead(const RegisterRequest &request);
    // Reads count registers or bits (as words 0 or 1) from start in one
    // request; a failure prints its cause.
    bool readValues(RegisterRequest::Table table, int start, int count, QVector<quint16> *values);
    // Reads count registers or bits in requests of at most perRequest, with
    // the pause after each one; bars prints the progress.
    bool readRange(const RegisterRequest &request, int count, bool bars, QVector<quint16> *values);

    ModbusContext *context;
};
