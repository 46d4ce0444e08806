#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

// Where the files of an installed tool set lie.

// The bin folder of the installation the build was configured for (the
// install prefix's bin), where the installed programs are.
QString installedProgramFolder();

// The file `name` in the first of folders that holds it; when none does, the
// name in the first folder.
QString programInFolders(const QString &name, const QStringList &folders);

// The tool set's share folder seen from the running program: the folder
// <prefix>/share/qel of the installation the program was started from
// (translations, the launcher's splash picture). In a build tree it names a
// folder that does not exist.
QString installedDataFolder();

// The translation files <name>.qm to try, in order: the one in dataFolder's
// "translations" folder when it is there, then the one compiled into the
// program's resources (":/file/<name>.qm").
QStringList translationFiles(const QString &name, const QString &dataFolder);

// Loads the first of translationFiles() in installedDataFolder() that loads
// (a damaged installed file gives way to the compiled-in one) into
// translator; false when none loaded.
bool loadToolSetTranslation(QTranslator &translator, const QString &name);
