#include "macrovalues.h"

#include "fingerprint.h"

macroValues macroValues::fromJson(const QJsonObject &object)
{
    macroValues values;
    values.name = object.value(QLatin1String("macro")).toString();
    values.param = object.value(QLatin1String("param")).toString();
    values.desc = object.value(QLatin1String("desc")).toString();
    return values;
}

QJsonObject macroValues::toJson() const
{
    return {{QStringLiteral("macro"), name}, {QStringLiteral("param"), param},
        {QStringLiteral("desc"), desc}};
}

QString macroValues::fingerprint() const
{
    return ::fingerprint({desc, name, param});
}

QStringList macroValues::arguments() const
{
    return {QStringLiteral("--macro"), name, QStringLiteral("--param"), param};
}

QVector<valueField> macroValues::fields() const
{
    return {{"macro", name, valueField::DriverValue}, {"param", param, valueField::DriverValue},
        {"desc", desc, valueField::Text}};
}
