#include "monitortransaction.h"

#include "monitorcsvreader.h"

QStringList monitorTransaction::columns() const
{
    QStringList shown;
    for (int i = 0; i < ColumnCount; ++i)
        shown << QString();
    bool requestSeen = false;
    for (const QByteArray &record : monitorCsvReader::records(rows)) {
        QStringList fields = monitorCsvReader::fields(record);
        while (fields.size() < FieldCount)
            fields << QString();
        const QString &direction = fields.at(DirectionField);
        if (!requestSeen) {
            shown[Time] = fields.at(TimeField);
            shown[Address] = fields.at(AddressField);
            shown[Function] = fields.at(FunctionField);
            shown[Start] = fields.at(StartField);
            shown[Count] = fields.at(CountField);
        }
        if (direction == requestDirection()) {
            requestSeen = true;
            shown[Request] = fields.at(ValuesField);
            shown[RequestFrame] = fields.at(HexField);
        } else {
            shown[Reply] = fields.at(ValuesField);
            shown[ResponseMs] = fields.at(ResponseField);
            shown[ReplyFrame] = fields.at(HexField);
        }
        shown[Status] = fields.at(StatusField);
    }
    return shown;
}

bool monitorTransaction::isFailure(const QString &status)
{
    return status != okStatus() && status != QLatin1String("broadcast")
        && status != QLatin1String("listening ended");
}

QString monitorTransaction::requestDirection()
{
    return QStringLiteral("request");
}

QString monitorTransaction::replyDirection()
{
    return QStringLiteral("reply");
}

QString monitorTransaction::okStatus()
{
    return QStringLiteral("OK");
}
