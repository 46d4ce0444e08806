#include "transactionoutput.h"

#include "filenames.h"
#include "transactiontext.h"
#include "translationcontext.h"

#include <QIODevice>

#include <cstdio>

namespace {

constexpr TranslationContext tr("qelDrvMonitor");

// Transaction lines hold what devices sent, which is no report markup, so
// they go to standard output as they are, through the stream the reports
// use, with the reports' line ends.
void printLine(const QString &line)
{
    QString text = line;
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    text += QLatin1String("\r\n");
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

TransactionOutput::TransactionOutput(const WallClock &clock, bool lines, bool hex)
    : clock(clock)
    , lines(lines)
    , hex(hex)
{ }

QString TransactionOutput::csvFailure(const QString &reason) const
{
    return "<font color=\"red\">" + tr("Unable to write the CSV file") + "&nbsp;\"" + csvName
        + "\":<br>&nbsp;" + reason + "<br></font>";
}

bool TransactionOutput::openCsv(const QString &fileName, QString *error)
{
    csvName = fileName;
    const QString target
        = fileName == QLatin1String("-") ? QStringLiteral("/dev/stdout") : fileName;
    QString reason;
    if (!csv.open(target, &reason)) {
        *error = csvFailure(reason);
        return false;
    }
    csvOpen = true;
    return writeCsv(TransactionText::csvHeader() + QLatin1String("\r\n"), error);
}

bool TransactionOutput::write(const BusTransaction &transaction, QString *error)
{
    const QDateTime requestTime = clock.at(transaction.request.startUs);
    if (lines) {
        const QDateTime lineTime = clock.at(
            transaction.hasRequest ? transaction.request.startUs : transaction.reply.startUs);
        printLine(TransactionText::line(transaction, lineTime, hex));
    }
    if (!csvOpen)
        return true;
    const QStringList rows
        = TransactionText::csvRows(transaction, requestTime, clock.at(transaction.reply.startUs));
    return writeCsv(rows.join(QLatin1String("\r\n")) + QLatin1String("\r\n"), error);
}

bool TransactionOutput::writeCsv(const QString &rows, QString *error)
{
    const QByteArray bytes = FileNames::toBytes(rows);
    QIODevice *device = csv.device();
    if (device->write(bytes) == bytes.size()) {
        csvWhole += bytes.size();
        return true;
    }
    *error = csvFailure(device->errorString());
    // The file ends with the last whole row; where it cannot be cut (a FIFO
    // or a device), what went out stays out.
    csv.truncate(csvWhole, nullptr);
    QString reason;
    if (!csv.commit(&reason))
        *error += csvFailure(reason);
    csvOpen = false;
    return false;
}

bool TransactionOutput::close(QString *error)
{
    if (!csvOpen)
        return true;
    csvOpen = false;
    QString reason;
    if (csv.commit(&reason))
        return true;
    *error = csvFailure(reason);
    return false;
}
