#include "readvalues.h"

#include "fingerprint.h"

readValues readValues::fromJson(const QJsonObject &object)
{
    readValues values;
    values.type = object.value(QLatin1String("type")).toString();
    values.addr = object.value(QLatin1String("addr")).toString();
    values.format = object.value(QLatin1String("format")).toString();
    values.desc = object.value(QLatin1String("desc")).toString();
    return values;
}

QJsonObject readValues::toJson() const
{
    return {{QStringLiteral("type"), type}, {QStringLiteral("addr"), addr},
        {QStringLiteral("format"), format}, {QStringLiteral("desc"), desc}};
}

QString readValues::fingerprint() const
{
    return ::fingerprint({desc, type, addr, format});
}

QStringList readValues::arguments() const
{
    return {QStringLiteral("--read_") + type.toLower(), addr};
}
