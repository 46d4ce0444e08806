#include "macrofields.h"

#include <QCheckBox>
#include <QComboBox>

#include <limits>

namespace MacroFields {

QStringList split(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

QString join(const QList<int> &numbers)
{
    QStringList texts;
    texts.reserve(numbers.size());
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QLatin1Char(' '));
}

int number(const QString &field)
{
    bool ok = false;
    const qlonglong value = field.toLongLong(&ok, 10);
    if (!ok)
        return 0;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

quint64 mask(const QString &field)
{
    bool ok = false;
    const quint64 value = field.toULongLong(&ok, 10);
    return ok && !field.trimmed().startsWith(QLatin1Char('-')) ? value : 0;
}

int listCode(const QComboBox *list)
{
    const QVariant added = list->currentData();
    return added.isValid() ? added.toInt() : list->currentIndex();
}

void selectListCode(QComboBox *list, int code)
{
    if (code < 0)
        code = 0;
    if (code < list->count() && !list->itemData(code).isValid()) {
        list->setCurrentIndex(code);
        return;
    }
    int index = list->findData(code);
    if (index < 0) {
        list->addItem(QString::number(code), code);
        index = list->count() - 1;
    }
    list->setCurrentIndex(index);
}

int checkMask(const QList<QCheckBox *> &boxes)
{
    int mask = 0;
    for (int n = 0; n < boxes.size(); ++n) {
        if (boxes.at(n)->isChecked())
            mask |= 1 << n;
    }
    return mask;
}

void setCheckMask(const QList<QCheckBox *> &boxes, quint64 mask)
{
    for (int n = 0; n < boxes.size(); ++n)
        boxes.at(n)->setChecked((mask >> n) & 1u);
}

} // namespace MacroFields
