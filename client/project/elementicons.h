#pragma once

#include <QIcon>
#include <QString>

// The icon of a resource path, made once and shared by every row that shows
// it, so the picture is loaded once however many rows there are.
QIcon elementIcon(const QString &path);
