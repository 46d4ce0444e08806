#pragma once

#include <QString>

// An HTML font tag around text for the log: face, color and size are written
// only when given, and the tag ends with a line feed. Inside a widget class
// call it as ::font(...), since QWidget::font() hides it there.
QString font(const QString &text, const QString &face, const QString &color, const QString &size);
