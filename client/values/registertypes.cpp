#include "registertypes.h"

#include <QCoreApplication>

namespace registerTypes {

const QString holding = QStringLiteral("holding");
const QString input = QStringLiteral("input");
const QString coil = QStringLiteral("coil");
const QString discrete = QStringLiteral("discrete");
const QString bit = QStringLiteral("BIT");
const QString text = QStringLiteral("STR");
const QString defaultOrder = QStringLiteral("CDAB");

QStringList readKinds()
{
    return {holding, input, coil, discrete};
}

QStringList writeKinds()
{
    return {holding, coil};
}

QString kindLabel(const QString &kind)
{
    if (kind == holding)
        return QCoreApplication::translate("registerTypes", "Holding register");
    if (kind == input)
        return QCoreApplication::translate("registerTypes", "Input register");
    if (kind == coil)
        return QCoreApplication::translate("registerTypes", "Coil");
    if (kind == discrete)
        return QCoreApplication::translate("registerTypes", "Discrete input");
    return QString();
}

QString kindShortLabel(const QString &kind)
{
    if (kind == holding)
        return QCoreApplication::translate("registerTypes", "Holding");
    if (kind == input)
        return QCoreApplication::translate("registerTypes", "Input");
    if (kind == coil)
        return QCoreApplication::translate("registerTypes", "Coil");
    if (kind == discrete)
        return QCoreApplication::translate("registerTypes", "Discrete");
    return kind;
}

QStringList types(const QString &kind)
{
    if (isBitKind(kind))
        return {bit};
    if (kind != holding && kind != input)
        return {};
    return {QStringLiteral("F32"), QStringLiteral("U32"), QStringLiteral("S32"),
        QStringLiteral("U16"), QStringLiteral("S16"), QStringLiteral("U64"), QStringLiteral("S64"),
        QStringLiteral("F64"), text};
}

bool isBitKind(const QString &kind)
{
    return kind == coil || kind == discrete;
}

bool hasOrder(const QString &type)
{
    static const QStringList wide {QStringLiteral("U32"), QStringLiteral("S32"),
        QStringLiteral("F32"), QStringLiteral("U64"), QStringLiteral("S64"), QStringLiteral("F64")};
    return wide.contains(type);
}

bool takesSingleWrite(const QString &type)
{
    return type == QLatin1String("U16") || type == QLatin1String("S16");
}

bool isNumeric(const QString &type)
{
    return type != text;
}

bool isInteger(const QString &type)
{
    static const QStringList integers {QStringLiteral("U16"), QStringLiteral("S16"),
        QStringLiteral("U32"), QStringLiteral("S32"), QStringLiteral("U64"), QStringLiteral("S64")};
    return integers.contains(type);
}

QStringList orders()
{
    return {QStringLiteral("ABCD"), QStringLiteral("BADC"), defaultOrder, QStringLiteral("DCBA")};
}

QString typeText(const QString &type, const QString &order, const QString &length)
{
    if (type == text)
        return type + QLatin1Char(' ') + length;
    if (hasOrder(type) && order != defaultOrder)
        return type + QLatin1Char(' ') + order;
    return type;
}

} // namespace registerTypes
