#pragma once

#include "valuefields.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The engineering value of a request: the raw register value times scale
// plus offset, in unit ("a current of 1234 is 12.34 A": scale 0.01, unit
// "A"). The fields are texts as the project file keeps them; empty ones are
// not set: scale 1, offset 0, no unit. Integer types are worked out exactly
// (a 64-bit raw value keeps every digit, a written value either lands on a
// whole raw value or is refused); float types in double precision.
struct engineeringScale
{
    Q_DECLARE_TR_FUNCTIONS(engineeringScale)

public:
    QString scale; // a number other than 0, e.g. "0.01", "-2", "1e-3"; empty: 1
    QString offset; // a number, e.g. "-40"; empty: 0
    QString unit; // e.g. "A", "°C"

    // Whether the value is scaled or shifted (a unit alone changes no value).
    bool converts() const { return !scale.isEmpty() || !offset.isEmpty(); }
    bool isEmpty() const { return !converts() && unit.isEmpty(); }
    bool operator==(const engineeringScale &other) const;

    // "scale", "offset", "unit" of a request's object, each only when set,
    // so that a request without them is written as it always was.
    static engineeringScale fromJson(const QJsonObject &object);
    void writeJson(QJsonObject *object) const;
    // The fields a fingerprint covers: those that are set, each with its
    // key, so that no two settings give the same texts.
    QStringList fingerprinted() const;
    // The text fields "scale", "offset" and "unit", none a driver's value.
    QVector<valueField> fields() const;

    // Why the fields do not fit the data type, empty when they do: a scale
    // or offset that is no number, a scale of 0, scaling of a bit or a
    // text.
    QString problem(const QString &type) const;

    // The engineering value of a raw value as the driver printed it, without
    // the unit; the raw text unchanged when nothing converts or it is no
    // number. A display format's digits put the point that many places to
    // the left, as they do for raw values ("F_X_XX": 1234.5 shows 12.345).
    QString engineering(const QString &raw, const QString &type, int formatDigits = 0) const;
    // text followed by a blank and the unit, or text when there is none.
    QString withUnit(const QString &text) const;

    // The raw value to write for an engineering value: (value − offset) /
    // scale, as the driver takes it. For an integer type it must be a whole
    // number in the type's range, for a float type a finite value of it;
    // otherwise *error says why and the result is empty. Without a
    // conversion the value is returned unchanged.
    QString rawValue(const QString &value, const QString &type, QString *error) const;

    // Whether the type's values can be scaled: the integer and float types.
    static bool isScalable(const QString &type);
};
