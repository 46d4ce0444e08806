#include "byteorder.h"

#include <QStringList>

namespace {

bool swapsBytes(ByteOrder order)
{
    return order == ByteOrder::BADC || order == ByteOrder::DCBA;
}

bool leastSignificantWordFirst(ByteOrder order)
{
    return order == ByteOrder::CDAB || order == ByteOrder::DCBA;
}

quint16 swapped(quint16 word)
{
    return quint16(word << 8 | word >> 8);
}

} // namespace

namespace ByteOrders {

QStringList names()
{
    return {QStringLiteral("ABCD"), QStringLiteral("BADC"), QStringLiteral("CDAB"),
        QStringLiteral("DCBA")};
}

QString name(ByteOrder order)
{
    return names().at(int(order));
}

bool fromName(const QString &text, ByteOrder *order)
{
    const int index = names().indexOf(text);
    if (index < 0)
        return false;
    *order = ByteOrder(index);
    return true;
}

QVector<quint16> toWords(quint64 value, int registers, ByteOrder order)
{
    QVector<quint16> words(registers);
    if (registers == 1) {
        words[0] = quint16(value);
        return words;
    }
    for (int i = 0; i < registers; ++i) {
        // Word i counted from the least significant one.
        quint16 word = quint16(value >> (16 * i));
        if (swapsBytes(order))
            word = swapped(word);
        words[leastSignificantWordFirst(order) ? i : registers - 1 - i] = word;
    }
    return words;
}

quint64 fromWords(const QVector<quint16> &words, int registers, ByteOrder order)
{
    if (registers == 1)
        return words.value(0);
    quint64 value = 0;
    for (int i = 0; i < registers; ++i) {
        quint16 word = words.value(leastSignificantWordFirst(order) ? i : registers - 1 - i);
        if (swapsBytes(order))
            word = swapped(word);
        value |= quint64(word) << (16 * i);
    }
    return value;
}

} // namespace ByteOrders
