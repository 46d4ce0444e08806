#include "portvalues.h"

#include "fingerprint.h"

namespace {

const QString serialType = QStringLiteral("RTU");
const QString tcpType = QStringLiteral("TCP");
const QString defaultDataBits = QStringLiteral("8");
const QString defaultParity = QStringLiteral("N");

// The other lines' fields that are not defaults, as the project file keys
// them, in key order.
QList<QPair<QString, QString>> lineFields(const portValues &values)
{
    QList<QPair<QString, QString>> fields;
    if (values.kind == portValues::Tcp && values.tls) {
        fields << qMakePair(QStringLiteral("ca"), values.authorities)
               << qMakePair(QStringLiteral("cert"), values.certificate);
    }
    if (values.kind == portValues::Serial && values.dataBits != defaultDataBits)
        fields << qMakePair(QStringLiteral("databits"), values.dataBits);
    if (!values.framing.isEmpty())
        fields << qMakePair(QStringLiteral("framing"), values.framing);
    if (values.kind == portValues::Tcp && values.tls)
        fields << qMakePair(QStringLiteral("key"), values.privateKey);
    if (values.kind == portValues::Serial && values.parity != defaultParity)
        fields << qMakePair(QStringLiteral("parity"), values.parity);
    return fields;
}

} // namespace

std::optional<portValues> portValues::fromJson(const QJsonObject &object)
{
    const QString type = object.value(QLatin1String("type")).toString();
    if (type != serialType && type != tcpType)
        return std::nullopt;
    const auto text
        = [&object](const char *key) { return object.value(QLatin1String(key)).toString(); };
    // A key of the other lines that is missing keeps the default.
    const auto textOr = [&object](const char *key, const QString &otherwise) {
        return object.contains(QLatin1String(key)) ? object.value(QLatin1String(key)).toString()
                                                   : otherwise;
    };
    portValues values;
    values.addr = text("addr");
    values.desc = text("desc");
    values.framing = text("framing");
    values.keepOpen = object.value(QLatin1String("keepopen")).toBool(false);
    if (type == serialType) {
        values.kind = Serial;
        values.com = text("com");
        values.baudrate = text("baudrate");
        values.dataBits = textOr("databits", defaultDataBits);
        values.parity = textOr("parity", defaultParity);
    } else {
        values.kind = Tcp;
        values.ip = text("ip");
        values.port = text("port");
        values.tls = object.value(QLatin1String("tls")).toBool(false);
        if (values.tls) {
            values.certificate = text("cert");
            values.privateKey = text("key");
            values.authorities = text("ca");
        }
    }
    return values;
}

QJsonObject portValues::toJson() const
{
    QJsonObject object {{QStringLiteral("addr"), addr}, {QStringLiteral("desc"), desc}};
    if (kind == Serial) {
        object.insert(QStringLiteral("com"), com);
        object.insert(QStringLiteral("baudrate"), baudrate);
        object.insert(QStringLiteral("type"), serialType);
    } else {
        object.insert(QStringLiteral("ip"), ip);
        object.insert(QStringLiteral("port"), port);
        object.insert(QStringLiteral("type"), tcpType);
        if (tls)
            object.insert(QStringLiteral("tls"), true);
    }
    for (const auto &field : lineFields(*this))
        object.insert(field.first, field.second);
    if (keepOpen)
        object.insert(QStringLiteral("keepopen"), true);
    return object;
}

QString portValues::fingerprint() const
{
    // The fields of the first lines alone give the fingerprints they always
    // gave; each other field counts with its key.
    QStringList texts = kind == Serial ? QStringList {desc, baudrate, addr, com}
                                       : QStringList {desc, port, addr, ip};
    if (kind == Tcp && tls)
        texts << QStringLiteral("\ntls");
    for (const auto &field : lineFields(*this))
        texts << QLatin1Char('\n') + field.first + QLatin1Char('=') + field.second;
    if (keepOpen)
        texts << QStringLiteral("\nkeepopen");
    return ::fingerprint(texts);
}

QStringList portValues::arguments() const
{
    QStringList list;
    if (kind == Serial)
        list = QStringList {QStringLiteral("--address"), addr, QStringLiteral("--port"),
            QStringLiteral("\\\\.\\") + com, QStringLiteral("--baudrate"), baudrate};
    else
        list = QStringList {QStringLiteral("--address"), addr, QStringLiteral("--ip"), ip,
            QStringLiteral("--port"), port};
    if (!framing.isEmpty())
        list << QStringLiteral("--framing") << framing;
    if (kind == Serial && dataBits != defaultDataBits)
        list << QStringLiteral("--data_bit") << dataBits;
    if (kind == Serial && parity != defaultParity)
        list << QStringLiteral("--parity") << parity;
    if (kind == Tcp && tls)
        list << QStringLiteral("--tls") << QStringLiteral("--cert") << certificate
             << QStringLiteral("--key") << privateKey << QStringLiteral("--ca") << authorities;
    return list;
}

QList<int> portValues::fileArguments() const
{
    if (kind != Tcp || !tls)
        return {};
    const int last = int(arguments().size()) - 1;
    return {last - 4, last - 2, last};
}

QString portValues::lineText() const
{
    if (kind == Tcp) {
        if (tls)
            return QStringLiteral("TLS");
        return framing.isEmpty() ? QStringLiteral("MBAP") : framing;
    }
    return (framing.isEmpty() ? QStringLiteral("RTU") : framing) + QLatin1Char(' ') + dataBits
        + parity + QLatin1Char('1');
}

QVector<valueField> portValues::fields() const
{
    QVector<valueField> fields;
    if (kind == Serial)
        fields = {{"com", com, valueField::DriverValue},
            {"baudrate", baudrate, valueField::DriverValue},
            {"addr", addr, valueField::DriverValue}, {"desc", desc, valueField::Text},
            {"databits", dataBits, valueField::DriverValue},
            {"parity", parity, valueField::DriverValue}};
    else
        fields = {{"ip", ip, valueField::DriverValue}, {"port", port, valueField::DriverValue},
            {"addr", addr, valueField::DriverValue}, {"desc", desc, valueField::Text}};
    fields.append({"framing", framing, valueField::DriverValue});
    if (kind == Tcp && tls)
        fields << valueField {"cert", certificate, valueField::DriverValue}
               << valueField {"key", privateKey, valueField::DriverValue}
               << valueField {"ca", authorities, valueField::DriverValue};
    return fields;
}
