#pragma once

#include <QByteArray>
#include <QString>

// Writes an executable shell script: "#!/bin/sh", a line end, then body.
// Returns whether the file was written and made executable.
bool writeScript(const QString &path, const QByteArray &body);
