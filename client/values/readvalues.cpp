#include "readvalues.h"

#include "fingerprint.h"
#include "readformat.h"
#include "registertypes.h"
#include "requestextras.h"

readValues readValues::fromJson(const QJsonObject &object)
{
    readValues values;
    values.type = object.value(QLatin1String("type")).toString();
    values.addr = object.value(QLatin1String("addr")).toString();
    values.format = object.value(QLatin1String("format")).toString();
    values.desc = object.value(QLatin1String("desc")).toString();
    values.scaling = engineeringScale::fromJson(object);
    requestExtras::read(object, &values.kind, &values.order, &values.length);
    return values;
}

QJsonObject readValues::toJson() const
{
    QJsonObject object {{QStringLiteral("type"), type}, {QStringLiteral("addr"), addr},
        {QStringLiteral("format"), format}, {QStringLiteral("desc"), desc}};
    scaling.writeJson(&object);
    requestExtras::write(kind, order, length, &object);
    return object;
}

QString readValues::fingerprint() const
{
    return ::fingerprint(QStringList {desc, type, addr, format}
        + requestExtras::fingerprinted(kind, order, length) + scaling.fingerprinted());
}

QStringList readValues::arguments() const
{
    if (kind == registerTypes::coil)
        return {QStringLiteral("--read_coil"), addr};
    if (kind == registerTypes::discrete)
        return {QStringLiteral("--readIn_bit"), addr};
    const QString prefix
        = kind == registerTypes::input ? QStringLiteral("--readIn_") : QStringLiteral("--read_");
    if (type == registerTypes::text)
        return {prefix + QStringLiteral("str"), addr, QStringLiteral("--range"), length};
    return QStringList {prefix + type.toLower(), addr} + requestExtras::orderArguments(type, order);
}

bool readValues::isKnown() const
{
    return registerTypes::types(kind).contains(type, Qt::CaseInsensitive);
}

QString readValues::shown(const QString &raw) const
{
    return scaling.withUnit(shownNumber(raw));
}

QString readValues::shownNumber(const QString &raw) const
{
    if (!scaling.converts())
        return formatReadValue(raw, format);
    return scaling.engineering(raw, type, formatDigits(format));
}

QString readValues::logged(const QString &raw) const
{
    if (scaling.isEmpty())
        return raw;
    return shown(raw) + QStringLiteral(" (") + raw + QLatin1Char(')');
}

QVector<valueField> readValues::fields() const
{
    // The type is part of an option's name and is checked against the list of
    // types before a run.
    return QVector<valueField> {{"type", type, valueField::Text},
               {"addr", addr, valueField::DriverValue}, {"format", format, valueField::Text},
               {"desc", desc, valueField::Text}}
    + requestExtras::fields(kind, order, length) + scaling.fields();
}
