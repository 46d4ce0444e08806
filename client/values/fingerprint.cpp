#include "fingerprint.h"

#include <QCryptographicHash>

QString fingerprint(const QStringList &values)
{
    QCryptographicHash md5(QCryptographicHash::Md5);
    for (const QString &value : values)
        md5.addData(value.toUtf8());
    return QString::fromLatin1(md5.result().toHex());
}
