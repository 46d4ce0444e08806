#pragma once

#include <QString>
#include <QStringList>

// Fingerprint of a set of values: MD5 over the UTF-8 bytes of the values joined without
// separators, as 32 lower-case hexadecimal digits. An edit changed something exactly when the
// fingerprint of the dialog's values differs from that of the stored ones.
QString fingerprint(const QStringList &values);
