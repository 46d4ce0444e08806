#include "requestrunner.h"

#include "cmm_read_bitsin.h"
#include "cmm_read_coils.h"
#include "cmm_read_deviceid.h"
#include "cmm_read_regs.h"
#include "cmm_read_regsin.h"
#include "cmm_write_coil.h"
#include "cmm_write_coils.h"
#include "cmm_write_reg.h"
#include "cmm_write_regs.h"
#include "deviceidnames.h"
#include "driverconnection.h"
#include "progressbar.h"
#include "registerimagefile.h"
#include "registertext.h"
#include "reportprinter.h"
#include "translationcontext.h"
#include "wordlist.h"

#include <QCoreApplication>
#include <QThread>

#include <memory>

namespace {

constexpr TranslationContext tr("qelDrvModbus");

// Requests of range reads and block writes stay below the engine's limits of
// 125 registers read and 123 written; bits go as many as a request takes.
constexpr int RegistersPerCommand = 120;

int perCommand(const RegisterRequest &request)
{
    if (!request.isBitTable())
        return RegistersPerCommand;
    return request.kind == RegisterRequest::BlockWrite
        ? CmmNamespace::Cmm_Write_Coils::MaxCoilsPerRequest
        : Modbus::MaxReadBits;
}

// Runs one command of context that was made for one use; a failure prints
// its cause.
bool runCommand(const ModbusContext *context, CmmNamespace::Cmm &command)
{
    if (command.run())
        return true;
    printEngineError(context, command.error);
    return false;
}

// Reads with one command of the given kind into words, bits as 0 or 1.
template<class Command>
bool runRead(ModbusContext *context, int start, int count, QVector<quint16> *words)
{
    Command command(context, quint16(start), quint16(count));
    if (!runCommand(context, command))
        return false;
    words->clear();
    words->reserve(count);
    for (const auto value : command.values())
        words->append(value);
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
    case RegisterRequest::TextRead:
        return textRead(request);
    case RegisterRequest::BlockWrite:
    case RegisterRequest::TypedWrite:
    case RegisterRequest::TextWrite:
        return write(request);
    case RegisterRequest::SingleWrite:
        return singleWrite(request);
    case RegisterRequest::DeviceIdRead:
        return deviceIdRead(request);
    }
    return false;
}

bool RequestRunner::readValues(
    RegisterRequest::Table table, int start, int count, QVector<quint16> *values)
{
    using namespace CmmNamespace;
    switch (table) {
    case RegisterRequest::Holding:
        return runRead<Cmm_Read_Regs>(context, start, count, values);
    case RegisterRequest::Input:
        return runRead<Cmm_Read_RegsIn>(context, start, count, values);
    case RegisterRequest::Coils:
        return runRead<Cmm_Read_Coils>(context, start, count, values);
    case RegisterRequest::DiscreteInputs:
        return runRead<Cmm_Read_BitsIn>(context, start, count, values);
    }
    return false;
}

bool RequestRunner::typedRead(const RegisterRequest &request)
{
    QVector<quint16> words;
    const bool ok = readValues(request.table, request.start, request.count, &words);
    // A failed read shows the value 0; the exit status tells it failed.
    if (!ok)
        words = QVector<quint16>(request.count, 0);
    printReport(RegisterValue::toText(
                    request.type, words, request.display == QLatin1String("HEX"), request.order)
        + "<br>");
    return ok;
}

bool RequestRunner::readRange(
    const RegisterRequest &request, int count, bool bars, QVector<quint16> *values)
{
    const int size = perCommand(request);
    const int total = (count + size - 1) / size;
    values->clear();
    values->reserve(count);
    if (bars)
        printBar(0, 10);
    for (int done = 0; done < total; ++done) {
        QVector<quint16> part;
        if (!readValues(
                request.table, request.start + done * size, qMin(size, count - done * size), &part))
            return false;
        if (bars)
            printBar(done + 1, total);
        *values += part;
        // The pause after each request lets slow devices keep up.
        QCoreApplication::processEvents();
        if (request.pause > 0 && (bars || done + 1 < total))
            QThread::msleep(ulong(request.pause));
    }
    return true;
}

bool RequestRunner::rangeRead(const RegisterRequest &request)
{
    QVector<quint16> result;
    if (!readRange(request, request.count, true, &result))
        return false;

    // Bits are shown and saved as 0 and 1, whichever text form is asked for.
    QString display = request.display;
    if (request.isBitTable() && !display.isEmpty())
        display = QStringLiteral("DEC");
    if (request.save) {
        QString error;
        if (!RegisterImageFile::save(request.saveFile, result, display, &error)) {
            printError(error);
            return false;
        }
        return true;
    }
    printReport(
        "\n" + WordList::toText(result, display == QLatin1String("DEC") || request.isBitTable()));
    return true;
}

bool RequestRunner::textRead(const RegisterRequest &request)
{
    QVector<quint16> words;
    if (!readRange(request, request.count, false, &words))
        return false;
    // Device text is printed as it is, never taken for report markup.
    ReportPrinter::instance().printText(RegisterText::shown(RegisterText::bytesOf(words)) + "\r\n");
    return true;
}

bool RequestRunner::write(const RegisterRequest &request)
{
    using namespace CmmNamespace;
    const int size = perCommand(request);
    const int total = (request.words.size() + size - 1) / size;
    printBar(0, 10);
    for (int done = 0; done < total; ++done) {
        const int first = done * size;
        const quint16 start = quint16(request.start + first);
        const QVector<quint16> words = request.words.mid(first, size);
        std::unique_ptr<Cmm> command;
        if (request.kind == RegisterRequest::TypedWrite && request.isBitTable()) {
            command = std::make_unique<Cmm_Write_Coil>(context, start, words.value(0) != 0);
        } else if (request.isBitTable()) {
            command = std::make_unique<Cmm_Write_Coils>(
                context, start, QVector<quint8>(words.cbegin(), words.cend()));
        } else {
            command = std::make_unique<Cmm_Write_Regs>(context, start, words);
        }
        if (!runCommand(context, *command))
            return false;
        printBar(done + 1, total);
    }
    return true;
}

bool RequestRunner::singleWrite(const RegisterRequest &request)
{
    printBar(0, 10);
    CmmNamespace::Cmm_Write_Reg command(context, quint16(request.start), request.words.value(0));
    if (!runCommand(context, command))
        return false;
    printBar(1, 1);
    return true;
}

bool RequestRunner::deviceIdRead(const RegisterRequest &request)
{
    CmmNamespace::Cmm_Read_DeviceId command(context, request.deviceIdCode);
    if (!command.run()) {
        if (command.incomplete())
            printError(tr("The device still has more identification objects to follow after %1 "
                          "requests")
                           .arg(CmmNamespace::Cmm_Read_DeviceId::MaxRequests)
                + "<br>");
        else
            printEngineError(context, command.error);
        return false;
    }
    QString text;
    const QMap<int, QByteArray> &objects = command.objects();
    for (auto it = objects.cbegin(); it != objects.cend(); ++it)
        text += DeviceIdNames::name(it.key()) + ": " + RegisterText::shown(it.value()) + "\r\n";
    ReportPrinter::instance().printText(text);
    return true;
}
