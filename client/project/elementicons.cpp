#include "elementicons.h"

#include <QHash>

QIcon elementIcon(const QString &path)
{
    static QHash<QString, QIcon> icons;
    auto found = icons.find(path);
    if (found == icons.end())
        found = icons.insert(path, QIcon(path));
    return found.value();
}
