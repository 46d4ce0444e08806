#pragma once

#include <QDateTime>
#include <QString>

// The window's title for a project: title up to its first "[", without
// trailing blanks; with a project (a name that is not empty) followed by
// " [" + name + " " + time as "yyyy-MM-dd HH:mm" + "]".
QString projectTitle(const QString &title, const QString &name, const QDateTime &time);
