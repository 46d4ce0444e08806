#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The causes the drivers give for a failed request, in the interface's
// language. The drivers speak English: the engine's texts ("Illegal data
// address", "Invalid CRC"), the platform's ("Connection refused"), the TLS
// library's ("certificate has expired") and their own ("The device did not
// answer within 2000 ms"). Each known cause is one row of a table, its
// English text with %1 where a part varies: a number, or a cause of its own
// that is looked up in turn ("Connection fails: %1"). A cause the table does
// not know is shown as the driver gave it.
class knownCauses
{
    Q_DECLARE_TR_FUNCTIONS(knownCauses)

public:
    static QString translated(const QString &cause);
    // The rows' English texts, %1 where a part varies.
    static QStringList sources();
};
