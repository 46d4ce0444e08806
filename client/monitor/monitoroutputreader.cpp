#include "monitoroutputreader.h"

QVector<monitorTransaction> monitorOutputReader::feed(const QByteArray &bytes)
{
    QVector<monitorTransaction> done;
    for (const QByteArray &record : csv.feed(bytes))
        take(record, &done);
    return done;
}

QVector<monitorTransaction> monitorOutputReader::finish(bool *incompleteRow)
{
    const QByteArray rest = csv.finish();
    if (incompleteRow)
        *incompleteRow = !rest.isEmpty();
    QVector<monitorTransaction> done;
    if (!waitingRequest.isEmpty()) {
        done << make(waitingRequest, waitingFields, monitorTransaction::okStatus());
        waitingRequest.clear();
    }
    return done;
}

bool monitorOutputReader::headerKnown() const
{
    return headerRow == expectedHeader();
}

QByteArray monitorOutputReader::expectedHeader()
{
    return QByteArrayLiteral(
        "time,direction,address,function,start,count,values,response ms,status,hex\r\n");
}

void monitorOutputReader::take(const QByteArray &record, QVector<monitorTransaction> *done)
{
    if (headerRow.isEmpty()) {
        headerRow = record;
        return;
    }
    QStringList fields = monitorCsvReader::fields(record);
    while (fields.size() < monitorTransaction::FieldCount)
        fields << QString();
    const QString &direction = fields.at(monitorTransaction::DirectionField);
    const QString &status = fields.at(monitorTransaction::StatusField);

    if (!waitingRequest.isEmpty()) {
        const QByteArray request = waitingRequest;
        waitingRequest.clear();
        if (direction == monitorTransaction::replyDirection()) {
            QByteArray rows;
            rows.reserve(request.size() + record.size());
            rows.append(request).append(record);
            *done << make(rows, waitingFields, status);
            return;
        }
        // The reply row that should have come did not: the request stands
        // alone, and this row is read on its own.
        *done << make(request, waitingFields, monitorTransaction::okStatus());
    }
    if (direction == monitorTransaction::requestDirection()
        && status == monitorTransaction::okStatus()) {
        waitingRequest = record;
        waitingFields = fields;
        return;
    }
    *done << make(record, fields, status);
}

monitorTransaction monitorOutputReader::make(
    const QByteArray &rows, const QStringList &first, const QString &status)
{
    monitorTransaction transaction;
    transaction.rows = rows;
    bool ok = false;
    const int address = first.at(monitorTransaction::AddressField).toInt(&ok);
    transaction.address = ok ? address : -1;
    transaction.function = shared(first.at(monitorTransaction::FunctionField));
    transaction.failed = monitorTransaction::isFailure(status);
    return transaction;
}

QString monitorOutputReader::shared(const QString &function)
{
    const auto known = functions.constFind(function);
    if (known != functions.constEnd())
        return *known;
    // The monitor names a few hundred functions at most; text that is not
    // its own is not kept here.
    if (functions.size() < MaxSharedFunctions)
        functions.insert(function);
    return function;
}
