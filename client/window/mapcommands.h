#pragma once

#include "mapoptions.h"

#include <QObject>

class QAction;
class QMenu;
class QWidget;
class projectDocument;
class userPrompts;

// File → Import register map… and Export register map…: a map read into
// the project's reads and writes after its preview, as one step of the
// history, and the project's reads and writes written as a map. How a map
// is read is remembered per kind of file (CSV, xlsx) in the settings.
class mapCommands : public QObject
{
    Q_OBJECT

public:
    // The actions go into fileMenu after the action after; questions and
    // errors are asked through prompts over window. They act while a
    // project is open.
    mapCommands(QMenu *fileMenu, QAction *after, projectDocument *project, userPrompts *prompts,
        QWidget *window);

    // The preview of the map in path; once accepted its requests are added.
    // Returns whether any were.
    bool importFrom(const QString &path);
    // Writes the project's reads and writes to path; false, and the user
    // told why, when it cannot be written.
    bool exportTo(const QString &path);

    // The options last chosen for a kind of file ("csv", "xlsx").
    static mapOptions rememberedOptions(const QString &fileKind);

signals:
    // An HTML fragment for the log.
    void logged(const QString &html);

private:
    void showState();
    void chooseImport();
    void chooseExport();
    QString activePortText() const;

    projectDocument *project;
    userPrompts *prompts;
    QWidget *window;
    QAction *importMap;
    QAction *exportMap;
};
