#include "optionpairs.h"

OptionPairs::OptionPairs(const QStringList &arguments, const QStringList &optionTable)
{
    for (int i = 0; i < arguments.size(); ++i) {
        for (const QString &name : optionTable) {
            if (arguments.at(i) == name)
                pairs.append({name, i + 1 < arguments.size() ? arguments.at(i + 1) : QString()});
        }
    }
}

bool OptionPairs::has(const QString &name) const
{
    for (const OptionPair &pair : pairs) {
        if (pair.name == name)
            return true;
    }
    return false;
}

QString OptionPairs::value(const QString &name) const
{
    for (const OptionPair &pair : pairs) {
        if (pair.name == name)
            return pair.value;
    }
    return QString();
}

QStringList OptionPairs::values(const QString &name) const
{
    QStringList result;
    for (const OptionPair &pair : pairs) {
        if (pair.name == name)
            result.append(pair.value);
    }
    return result;
}
