#pragma once

#include "projectlists.h"
#include "rowvalues.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QAction;
class QBoxLayout;
class UndoStack;
class command;
class projectElement;
class readElement;

// The project the window shows: its name, the file it was last opened from
// or saved to, its four lists of rows and the undo history of the changes
// since. It loads, saves and clears the project, and it alone makes
// changes: each is one step of the history, and the project counts as
// modified exactly while the history holds a step. It asks no questions;
// the rows' requests (edit, delete, activate, mark) reach it through their
// signals.
class projectDocument : public QObject
{
    Q_OBJECT

public:
    // The lists are the window's layouts, each ending with a spacer. Undo and
    // Redo are enabled exactly when the history can undo and redo.
    projectDocument(QBoxLayout *ports, QBoxLayout *reads, QBoxLayout *writes, QBoxLayout *macros,
        QAction *undoAction, QAction *redoAction, QObject *parent = nullptr);
    ~projectDocument() override;

    // A project is open exactly when it has a name.
    QString name() const { return projectName; }
    void setName(const QString &name) { projectName = name; }
    // The file of the project; empty until it was opened or saved.
    QString path() const { return projectPath; }
    void setPath(const QString &path) { projectPath = path; }
    bool isModified() const;

    const projectLists &lists() const { return *rows; }
    // The values of the first active port; nothing when no port is active.
    std::optional<portValues> activePort() const;

    // Replaces the project with the one in path, unmodified. On failure
    // (the file cannot be read, holds no JSON object, or one that is no
    // project: projectLists::problemOf()) the project is left cleared and
    // error says why.
    bool load(const QString &path, QString *error = nullptr);
    // Writes the project to path; once written it is unmodified. On failure
    // error says why and the project stays as it was.
    bool save(const QString &path, QString *error = nullptr);
    // Forgets every row, the history, the name and the file.
    void clear();

    // The changes, each one step of the history. Values that break the
    // rules of their fields (problemOf()) are refused: refused() says why.
    // A new row of values at the end of its list; null when refused.
    projectElement *add(const rowValues &values);
    // New rows at the ends of their lists, all in one step; nothing happens
    // for none. False when one is refused: then none is added.
    bool addAll(const QList<rowValues> &values);
    void remove(projectElement *row);
    // Nothing happens when values are those the row has, or of another kind.
    void edit(projectElement *row, const rowValues &values);
    // Makes port the active one and every other inactive; nothing happens
    // when it alone is active already.
    void activate(projectElement *port);
    void markForTrend(readElement *row, bool marked);
    void undo();
    void redo();

signals:
    // A row has come into the project, from its file or added.
    void rowAdopted(projectElement *row);
    // The rows have changed: a step done, undone or redone, or the project
    // loaded or cleared.
    void changed();
    // A change was refused: why, naming the list, the row and the field.
    void refused(const QString &why);

private:
    // Connects a new row's requests.
    void adopt(projectElement *row);
    // A new row of values at the end of its list, and the step that put it
    // there.
    std::unique_ptr<command> addition(const rowValues &values, projectElement **row);
    // Whether values may be the row at index of their list; refused() when
    // not.
    bool takes(const rowValues &values, int index);

    std::unique_ptr<projectLists> rows;
    std::unique_ptr<UndoStack> history;
    QString projectName;
    QString projectPath;
};
