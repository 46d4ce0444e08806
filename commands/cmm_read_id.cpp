#include "cmm_read_id.h"

#include "cmm_write_macro.h"
#include "engine/modbus.h"
#include "eventpause.h"
#include "probeline.h"
#include "reportprinter.h"

#include "translationcontext.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace CmmNamespace {

namespace {

constexpr TranslationContext tr("Cmm_Read_Id");

// Receive area of one identification read.
constexpr int IdentificationBufferSize = 256;
// Pause after a version that did not answer, and after the last attempt.
constexpr int PauseAfterFailedVersionMs = 20;
constexpr int PauseAfterAttemptsMs = 100;

} // namespace

Cmm_Read_Id::Cmm_Read_Id(ModbusContext *context)
    : context(context)
{ }

Cmm_Read_Id::~Cmm_Read_Id() = default;

void Cmm_Read_Id::setVersions(const QList<int> &list)
{
    versions = list;
}

bool Cmm_Read_Id::readVersion(int tried, QString *text)
{
    text->clear();
    QString line = "&nbsp;&nbsp;&nbsp;" + tr("Attempting to read identification in the version")
        + ": " + QString::number(tried) + " ";

    // Input left over from an earlier attempt must not be taken as the reply.
    Modbus::flush(context);
    uint8_t buffer[IdentificationBufferSize] = {};
    const bool passed
        = Modbus::readIdentification(context, IdentificationBufferSize, buffer, tried) != -1;
    // The line was silent for a whole time-out: no rest of a reply is under way.
    silent = !passed && errno == ETIMEDOUT;
    if (passed) {
        line += "<font color=\"green\">" + tr("PASSED") + "</font><br>";
        const char *bytes = reinterpret_cast<const char *>(buffer);
        *text = QString::fromLatin1(bytes, int(strnlen(bytes, IdentificationBufferSize)));
    } else {
        // A reply of another version's length may still be arriving.
        Modbus::flush(context);
        line += "<font color=\"red\">" + tr("FAILED") + "</font><br>";
    }
    if (verbose)
        print(line);
    return passed;
}

bool Cmm_Read_Id::run()
{
    ok = false;
    for (const int tried : qAsConst(versions)) {
        QString text;
        if (readVersion(tried, &text)) {
            ok = true;
            version = quint32(tried);
            identification = text;
            break;
        }
        if (pauseAfterSilence || !silent)
            pauseProcessingEvents(PauseAfterFailedVersionMs);
    }
    if (ok || pauseAfterSilence)
        pauseProcessingEvents(PauseAfterAttemptsMs);

    if (ok && verbose) {
        print(tr("Identification") + "[ " + tr("version") + " " + QString::number(version)
            + " ]: " + "<b><font color=\"green\">" + identification + "</font></b><br>");
    }
    return ok;
}

void Cmm_Read_Id::print(const QString &markup) const
{
    if (report)
        report(markup);
    else
        printReport(markup);
}

int Cmm_Read_Id::readSerialNumber(
    const QString &port, int baudRate, int address, const ProbeSettings &settings)
{
    return readSerialNumber(LineSettings::serial(port, baudRate), address, settings);
}

int Cmm_Read_Id::readSerialNumber(
    const LineSettings &settingsOfLine, int address, const ProbeSettings &settings)
{
    ProbeLine line(settingsOfLine, settings);
    if (!line.isCreated())
        return -1;
    Modbus::setAddress(line.modbusContext(), address);
    if (!line.connect())
        return -1;

    Cmm_Write_Macro command(line.modbusContext());
    if (!command.setFromText(QStringLiteral("FD_MACRO_GET_SN"), QString()) || !command.run())
        return -1;
    bool converted = false;
    const int serialNumber = command.answerText().toInt(&converted, 10);
    return converted ? serialNumber : -1;
}

} // namespace CmmNamespace
