#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One recognised command-line option and the argument that followed it.
struct OptionPair
{
    QString name;
    QString value;
};

// The ordered option pairs of one console program's command line.
//
// Every argument that equals a name of the program's option table gives one
// pair with the next argument as its value (empty when it was the last one).
// The value is taken whatever it is, so "--port --address" gives "--port" the
// value "--address", and "--address" also counts as an option of its own.
// Repeated options give repeated pairs, in command-line order.
class OptionPairs
{
public:
    OptionPairs() = default;
    OptionPairs(const QStringList &arguments, const QStringList &optionTable);

    bool isEmpty() const { return pairs.isEmpty(); }
    bool has(const QString &name) const;
    // Value of the first pair with this name; "" when there is none.
    QString value(const QString &name) const;
    // Values of every pair with this name, in command-line order.
    QStringList values(const QString &name) const;
    const QVector<OptionPair> &all() const { return pairs; }

private:
    QVector<OptionPair> pairs;
};
