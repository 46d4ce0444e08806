#include "settingscache.h"

#include <QSettings>

settingsCache &settingsCache::instance()
{
    // Lives as long as the program; never destroyed while a caller may use it.
    static settingsCache *cache = new settingsCache;
    return *cache;
}

void settingsCache::load()
{
    QSettings store;
    const QStringList keys = store.allKeys();
    for (const QString &key : keys)
        values.insert(key, store.value(key, QString()).toString());
}

QString settingsCache::get(const QString &key) const
{
    return values.value(key);
}

void settingsCache::set(const QString &key, const QString &value)
{
    values.insert(key, value);
}

bool settingsCache::save() const
{
    QSettings store;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        store.setValue(it.key(), it.value());
    store.sync();
    return store.status() == QSettings::NoError;
}
