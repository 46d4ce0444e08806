#pragma once

#include "valuefields.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The fields that read and write requests gained beyond their first ones:
// the kind of register, the byte order and the registers of a text. They
// go into the project file only when they differ from the defaults, so a
// project written before them loads and saves byte for byte as it was.
namespace requestExtras {

// From the object: "kind" (default holding), "order" (default CDAB),
// "length" (default none).
void read(const QJsonObject &object, QString *kind, QString *order, QString *length);
// Into the object: the fields that are not the defaults.
void write(const QString &kind, const QString &order, const QString &length, QJsonObject *object);
// The fields a fingerprint covers: those that are not the defaults.
QStringList fingerprinted(const QString &kind, const QString &order, const QString &length);
// "--order" and the order, for a 32- or 64-bit type in another order than
// the default; nothing otherwise.
QStringList orderArguments(const QString &type, const QString &order);
// The text fields "kind", "order" and "length"; the order and the length
// go to a driver as values of options.
QVector<valueField> fields(const QString &kind, const QString &order, const QString &length);

} // namespace requestExtras
