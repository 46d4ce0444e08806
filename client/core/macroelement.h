#pragma once

#include <QFrame>
#include <QJsonObject>

class UndoStack;

namespace Ui {
class macroElement;
}

// A macro request of the project, one row of the "Macro" list: macro name,
// parameter text and description as labels, and the buttons to run, edit and
// delete it.
class macroElement : public QFrame
{
    Q_OBJECT

public:
    explicit macroElement(QWidget *parent = nullptr);
    ~macroElement() override;

    QString macro() const;
    QString param() const;
    QString desc() const;
    void setMacro(const QString &macro);
    void setParam(const QString &param);
    void setDesc(const QString &desc);

    // The request's object of the project file.
    QJsonObject toJson() const;
    // Fingerprint of desc, macro, param, as FD_MACRO::macroHash().
    QString hash() const;

    // A run was asked for with the row's button and has not been carried out.
    bool isExeRequested() const { return exeRequested; }
    void setExeRequested(bool requested) { exeRequested = requested; }

    // The project's undo history; edits go through it once it is set.
    void setUndoStack(UndoStack *stack) { undoStack = stack; }

signals:
    void del();
    void exe();

private slots:
    void commandEdit();
    void commandDel();
    void commandExe();

private:
    Ui::macroElement *ui;
    UndoStack *undoStack = nullptr;
    bool exeRequested = false;
    QMetaObject::Connection connections[3];
};
