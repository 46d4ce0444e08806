#include "portvalues.h"

#include "fingerprint.h"

namespace {

const QString serialType = QStringLiteral("RTU");
const QString tcpType = QStringLiteral("TCP");

} // namespace

std::optional<portValues> portValues::fromJson(const QJsonObject &object)
{
    const QString type = object.value(QLatin1String("type")).toString();
    if (type != serialType && type != tcpType)
        return std::nullopt;
    const auto text
        = [&object](const char *key) { return object.value(QLatin1String(key)).toString(); };
    portValues values;
    values.addr = text("addr");
    values.desc = text("desc");
    if (type == serialType) {
        values.kind = Serial;
        values.com = text("com");
        values.baudrate = text("baudrate");
    } else {
        values.kind = Tcp;
        values.ip = text("ip");
        values.port = text("port");
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
    }
    return object;
}

QString portValues::fingerprint() const
{
    if (kind == Serial)
        return ::fingerprint({desc, baudrate, addr, com});
    return ::fingerprint({desc, port, addr, ip});
}

QStringList portValues::arguments() const
{
    if (kind == Serial)
        return {QStringLiteral("--address"), addr, QStringLiteral("--port"),
            QStringLiteral("\\\\.\\") + com, QStringLiteral("--baudrate"), baudrate};
    return {QStringLiteral("--address"), addr, QStringLiteral("--ip"), ip, QStringLiteral("--port"),
        port};
}
