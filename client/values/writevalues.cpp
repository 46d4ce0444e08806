#include "writevalues.h"

#include "fingerprint.h"

writeValues writeValues::fromJson(const QJsonObject &object)
{
    writeValues values;
    values.type = object.value(QLatin1String("type")).toString();
    values.addr = object.value(QLatin1String("addr")).toString();
    values.value = object.value(QLatin1String("value")).toString();
    values.desc = object.value(QLatin1String("desc")).toString();
    return values;
}

QJsonObject writeValues::toJson() const
{
    return {{QStringLiteral("type"), type}, {QStringLiteral("addr"), addr},
        {QStringLiteral("value"), value}, {QStringLiteral("desc"), desc}};
}

QString writeValues::fingerprint() const
{
    return ::fingerprint({desc, type, addr, value});
}

QStringList writeValues::arguments() const
{
    return {QStringLiteral("--write_") + type.toLower(), addr, QStringLiteral("--data"), value};
}
