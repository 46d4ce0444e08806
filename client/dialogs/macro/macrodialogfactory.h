#pragma once

#include <QString>
#include <QStringList>

class FD_MACRO;
class QWidget;

// Creates the parameter dialog of the macro with the given catalogue name (for example
// "FD_MACRO_LOGIN" or "FD_MACRO_SET_ACTIVE_SETofSETTINGS"); the class-name spelling
// "FD_MACRO_SET_ACTIVE_SETOFSETTINGS" is taken as well. Returns nullptr when no dialog serves
// the name. The caller owns the dialog and uses it for one edit.
FD_MACRO *createMacroDialog(const QString &macroName, QWidget *parent = nullptr);

// Catalogue names of every macro that has a parameter dialog, in alphabetical order of the
// dialog classes.
QStringList macroDialogNames();

// Catalogue names of the macros the macro chooser offers, in its order.
QStringList macroChooserNames();
