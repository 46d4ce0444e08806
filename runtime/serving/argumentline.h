#pragma once

#include <QString>
#include <QStringList>

// A list of program arguments written as one line of text, as the shell of
// the drivers' platform reads a command line: blanks separate arguments,
// double quotes group (a quoted part keeps its blanks), three double quotes
// stand for one double quote, and a pair of double quotes is an empty
// argument of its own. The client writes its driver command lines this way,
// and a serving driver reads its request lines so.
namespace ArgumentLine {

QStringList split(const QString &text);
// The line that split() turns back into arguments: an argument that is
// empty or holds a blank or a double quote is written in double quotes,
// each double quote in it as three.
QString join(const QStringList &arguments);

} // namespace ArgumentLine
