#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The text fields of a row's values, as each values type lists them in
// fields(), and the rules every project file and every edit must keep. A new
// text field of a row is one more entry in its type's fields(); the loader,
// the edit path and the type check of the project file all read that list.
struct valueField
{
    enum Use {
        Text, // shown and stored only
        DriverValue, // also a value on a driver's command line
    };

    const char *key; // in the project file
    QString text;
    Use use;
};

class valueFields
{
    Q_DECLARE_TR_FUNCTIONS(valueFields)

public:
    // Why the fields cannot be taken, naming the first field that breaks a
    // rule; empty when they all keep them. No field holds a control
    // character (NUL, a line break, a tab, ...): a driver would get less
    // than the row shows, or another line. No driver value begins with
    // "--": the driver's option scan would take it for an option as well.
    static QString problem(const QVector<valueField> &fields);

    // Whether text holds a character that is not shown as itself on one
    // line: a control character or a line or paragraph separator.
    static bool hasControlCharacter(const QString &text, QChar *found = nullptr);
};
