#pragma once

#include <QMap>
#include <QString>

// The program's settings, read once from the platform's settings store at start
// and kept in memory; written back as a whole when the user changes one.
class settingsCache
{
public:
    // The one cache of the process, created on first use.
    static settingsCache &instance();

    // Reads every key of the store into the cache.
    void load();
    // The cached value of `key`, or the empty text. Never reads the store.
    QString get(const QString &key) const;
    void set(const QString &key, const QString &value);
    // Writes every cached key to the store. False when the store could not be
    // written.
    bool save() const;

private:
    settingsCache() = default;

    QMap<QString, QString> values;
};
