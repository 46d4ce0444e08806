#pragma once

#include "rowvalues.h"

#include <QFrame>
#include <QJsonObject>

#include <optional>

class QAbstractButton;
class userPrompts;

// One row of the project's lists: a port or a request. It shows its values
// in labels and writes them, with what it keeps of its own, into the
// project file. Its buttons run (or activate) it, edit it and delete it; the
// row itself changes nothing of the project: an edit is asked in the row's
// dialog and handed on with editRequested(), a deletion is confirmed and
// handed on with del(). Its questions go through userPrompts.
class projectElement : public QFrame
{
    Q_OBJECT

public:
    ~projectElement() override;

    const rowValues &values() const { return stored; }
    // Takes values and shows them; values of another kind of row are not
    // taken.
    void setValues(const rowValues &values);
    // Whether values are of this row's kind.
    virtual bool holds(const rowValues &values) const;

    // The row's object of the project file: its values and what the row
    // keeps of its own (a port's "active", a read's "trend").
    virtual QJsonObject toJson() const;
    // Takes what the row keeps of its own from its file object.
    virtual void readState(const QJsonObject &object);

    // The outcome of the row's last run; a failure's cause becomes the row's
    // tool tip.
    virtual void showResult(bool ok, const QString &shown, const QString &cause);

    // Ports: whether this is the port all runs use.
    virtual bool isActive() const;
    virtual void setActive(bool active);

    // A run was asked for with the row's button and has not been carried out.
    bool isExeRequested() const { return exeRequested; }
    void setExeRequested(bool requested) { exeRequested = requested; }

    // Where the row asks its questions; the real dialogs until one is set.
    void setPrompts(userPrompts *prompts) { questions = prompts; }

signals:
    void del();
    void exe();
    void active();
    // The user accepted values in the row's dialog; the row shows them once
    // the project takes them.
    void editRequested(const rowValues &values);
    // The values were set.
    void valuesChanged();

protected:
    projectElement(const rowValues &values, QWidget *parent);

    // Sets the row up once its form is built: the three buttons and the
    // values in the labels.
    void setUpRow(
        QAbstractButton *exeButton, QAbstractButton *editButton, QAbstractButton *delButton);
    QAbstractButton *exeButton() const { return buttons[0]; }
    userPrompts &prompts() const;
    // Shows values() in the row's labels.
    virtual void showValues() = 0;
    // The row's dialog preset with its values: the values the user accepted,
    // nothing when cancelled or when no dialog serves the row.
    virtual std::optional<rowValues> askValues(userPrompts &prompts) const = 0;
    // The run button: requests ask the window to run them; ports override.
    virtual void runPressed();

private slots:
    void commandEdit();
    void commandDel();
    void commandExe();

private:
    rowValues stored;
    QAbstractButton *buttons[3] = {};
    QMetaObject::Connection connections[3];
    userPrompts *questions = nullptr;
    bool exeRequested = false;
};
