#pragma once

#include <QString>
#include <QStringList>

// Splits an option text written as on a shell's command line into the words a
// POSIX shell would pass on, without any expansion: blanks and tabs separate
// words, single quotes keep everything literally, double quotes keep blanks
// (a backslash in them escapes only ", \, $ and `), and a backslash outside
// quotes keeps the next character. An unterminated quote runs to the end.
// "-o 'StrictHostKeyChecking no'" gives "-o" and "StrictHostKeyChecking no".
QStringList shellWords(const QString &text);
