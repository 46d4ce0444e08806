#include "writevalues.h"

#include "fingerprint.h"
#include "registertypes.h"
#include "requestextras.h"

writeValues writeValues::fromJson(const QJsonObject &object)
{
    writeValues values;
    values.type = object.value(QLatin1String("type")).toString();
    values.addr = object.value(QLatin1String("addr")).toString();
    values.value = object.value(QLatin1String("value")).toString();
    values.desc = object.value(QLatin1String("desc")).toString();
    requestExtras::read(object, &values.kind, &values.order, &values.length);
    values.single = object.value(QLatin1String("function")).toString() == QLatin1String("6");
    values.scaling = engineeringScale::fromJson(object);
    return values;
}

QJsonObject writeValues::toJson() const
{
    QJsonObject object {{QStringLiteral("type"), type}, {QStringLiteral("addr"), addr},
        {QStringLiteral("value"), value}, {QStringLiteral("desc"), desc}};
    requestExtras::write(kind, order, length, &object);
    if (single)
        object.insert(QStringLiteral("function"), QStringLiteral("6"));
    scaling.writeJson(&object);
    return object;
}

QString writeValues::fingerprint() const
{
    QStringList fields = QStringList {desc, type, addr, value}
        + requestExtras::fingerprinted(kind, order, length) + scaling.fingerprinted();
    if (single)
        fields << QStringLiteral("function=6");
    return ::fingerprint(fields);
}

QStringList writeValues::arguments() const
{
    // A value that has no raw value leaves --data empty: the command is not
    // run (driverCommand says why).
    QString error;
    const QString raw = rawValue(&error);
    const QString data = QStringLiteral("--data");
    if (kind == registerTypes::coil)
        return {QStringLiteral("--write_coil"), addr, data, raw};
    if (type == registerTypes::text)
        return {QStringLiteral("--write_str"), addr, QStringLiteral("--range"), length, data, raw};
    if (single && registerTypes::takesSingleWrite(type))
        return {QStringLiteral("--write_single"), addr, data, raw};
    return QStringList {QStringLiteral("--write_") + type.toLower(), addr, data, raw}
    + requestExtras::orderArguments(type, order);
}

bool writeValues::isKnown() const
{
    return registerTypes::writeKinds().contains(kind)
        && registerTypes::types(kind).contains(type, Qt::CaseInsensitive);
}

bool writeValues::isText() const
{
    return kind == registerTypes::holding && type == registerTypes::text;
}

QString writeValues::rawValue(QString *error) const
{
    return scaling.rawValue(value, type, error);
}

QString writeValues::shown() const
{
    QString error;
    const QString raw = rawValue(&error);
    const QString text = scaling.withUnit(value);
    return scaling.converts() && !raw.isEmpty()
        ? text + QStringLiteral(" (") + raw + QLatin1Char(')')
        : text;
}

QVector<valueField> writeValues::fields() const
{
    return QVector<valueField> {{"type", type, valueField::Text},
               {"addr", addr, valueField::DriverValue}, {"value", value, valueField::DriverValue},
               {"desc", desc, valueField::Text}}
    + requestExtras::fields(kind, order, length) + scaling.fields();
}
