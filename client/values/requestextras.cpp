#include "requestextras.h"

#include "registertypes.h"

namespace requestExtras {

void read(const QJsonObject &object, QString *kind, QString *order, QString *length)
{
    *kind = object.value(QLatin1String("kind")).toString(registerTypes::holding);
    *order = object.value(QLatin1String("order")).toString(registerTypes::defaultOrder);
    *length = object.value(QLatin1String("length")).toString();
}

void write(const QString &kind, const QString &order, const QString &length, QJsonObject *object)
{
    if (kind != registerTypes::holding)
        object->insert(QStringLiteral("kind"), kind);
    if (order != registerTypes::defaultOrder)
        object->insert(QStringLiteral("order"), order);
    if (!length.isEmpty())
        object->insert(QStringLiteral("length"), length);
}

QStringList fingerprinted(const QString &kind, const QString &order, const QString &length)
{
    QStringList fields;
    if (kind != registerTypes::holding)
        fields << QStringLiteral("kind=") + kind;
    if (order != registerTypes::defaultOrder)
        fields << QStringLiteral("order=") + order;
    if (!length.isEmpty())
        fields << QStringLiteral("length=") + length;
    return fields;
}

QStringList orderArguments(const QString &type, const QString &order)
{
    if (!registerTypes::hasOrder(type.toUpper()) || order == registerTypes::defaultOrder)
        return {};
    return {QStringLiteral("--order"), order};
}

QVector<valueField> fields(const QString &kind, const QString &order, const QString &length)
{
    return {{"kind", kind, valueField::Text}, {"order", order, valueField::DriverValue},
        {"length", length, valueField::DriverValue}};
}

} // namespace requestExtras
