#include "requestrunner.h"

#include "cmm_read_regs.h"
#include "cmm_read_regsin.h"
#include "cmm_write_regs.h"
#include "driverconnection.h"
#include "progressbar.h"
#include "registerimagefile.h"
#include "reportprinter.h"
#include "wordlist.h"

#include <QCoreApplication>
#include <QThread>

#include <memory>
#include <vector>

namespace {

// Requests of range reads and block writes stay below the engine's limits of
// 125 registers read and 123 written.
constexpr int RegistersPerCommand = 120;

// Reads count registers from start with one command of the given kind; a
// failure prints its cause.
template<class Command>
bool runRead(ModbusContext *context, int start, int count, QVector<quint16> *words)
{
    const std::unique_ptr<Command> command(new Command(context, quint16(start), quint16(count)));
    if (!command->run()) {
        printEngineError(command->error);
        return false;
    }
    *words = command->words();
    return true;
}

void printBar(int done, int total)
{
    printReport(ProgressBar::markup(done, total) + "\r");
}

} // namespace

RequestRunner::RequestRunner(ModbusContext *context)
    : context(context)
{ }

bool RequestRunner::run(const RegisterRequest &request)
{
    switch (request.kind) {
    case RegisterRequest::Nothing:
        return true;
    case RegisterRequest::TypedRead:
        return typedRead(request);
    case RegisterRequest::RangeRead:
        return rangeRead(request);
    case RegisterRequest::BlockWrite:
    case RegisterRequest::TypedWrite:
        return write(request);
    }
    return false;
}

bool RequestRunner::readWords(
    RegisterRequest::Table table, int start, int count, QVector<quint16> *words)
{
    if (table == RegisterRequest::Holding)
        return runRead<CmmNamespace::Cmm_Read_Regs>(context, start, count, words);
    return runRead<CmmNamespace::Cmm_Read_RegsIn>(context, start, count, words);
}

bool RequestRunner::typedRead(const RegisterRequest &request)
{
    QVector<quint16> words;
    const bool ok = readWords(request.table, request.start, request.count, &words);
    // A failed read shows the value 0; the exit status tells it failed.
    if (!ok)
        words = QVector<quint16>(request.count, 0);
    printReport(RegisterValue::toText(request.type, words, request.display == QLatin1String("HEX"))
        + "<br>");
    return ok;
}

bool RequestRunner::rangeRead(const RegisterRequest &request)
{
    const int total = (request.count + RegistersPerCommand - 1) / RegistersPerCommand;
    QVector<quint16> result;
    result.reserve(request.count);

    printBar(0, 10);
    for (int done = 0; done < total; ++done) {
        const int start = request.start + done * RegistersPerCommand;
        const int count = qMin(RegistersPerCommand, request.count - done * RegistersPerCommand);
        QVector<quint16> words;
        if (!readWords(request.table, start, count, &words))
            return false;
        printBar(done + 1, total);
        result += words;
        // The pause after each request lets slow devices keep up.
        QCoreApplication::processEvents();
        if (request.pause > 0)
            QThread::msleep(ulong(request.pause));
    }

    if (request.save) {
        QString error;
        if (!RegisterImageFile::save(request.saveFile, result, request.display, &error)) {
            printError(error);
            return false;
        }
        return true;
    }
    printReport("\n" + WordList::toText(result, request.display == QLatin1String("DEC")));
    return true;
}

bool RequestRunner::write(const RegisterRequest &request)
{
    const int total = (request.words.size() + RegistersPerCommand - 1) / RegistersPerCommand;
    printBar(0, 10);
    for (int done = 0; done < total; ++done) {
        const int first = done * RegistersPerCommand;
        const std::unique_ptr<CmmNamespace::Cmm_Write_Regs> command(
            new CmmNamespace::Cmm_Write_Regs(context, quint16(request.start + first),
                request.words.mid(first, RegistersPerCommand)));
        if (!command->run()) {
            printEngineError(command->error);
            return false;
        }
        printBar(done + 1, total);
    }
    return true;
}
