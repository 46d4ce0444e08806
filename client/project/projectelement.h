#pragma once

#include <QFrame>
#include <QJsonObject>
#include <QList>
#include <QStringList>

class QAbstractButton;
class QDialog;
class QLabel;
class UndoStack;

// What a request row asks of a driver: the kind of request and its values.
struct elementRequest
{
    enum Kind { None, Read, Write, Macro };
    Kind kind = None;
    QString type; // data type of a read or write
    QString addr; // register address of a read or write
    QString format; // display format of a read
    QString value; // value of a write
    QString name; // macro name
    QString param; // macro parameter text

    static elementRequest read(const QString &type, const QString &addr, const QString &format)
    {
        return {Read, type, addr, format, QString(), QString(), QString()};
    }
    static elementRequest write(const QString &type, const QString &addr, const QString &value)
    {
        return {Write, type, addr, QString(), value, QString(), QString()};
    }
    static elementRequest macro(const QString &name, const QString &param)
    {
        return {Macro, QString(), QString(), QString(), QString(), name, param};
    }
};

// One row of the project's lists: a port or a request. The row's values are
// the texts of its labels; it stores them in the project file, fingerprints
// them as its dialog does, and edits them through its dialog and the undo
// history. Its buttons run (or activate) it, edit it and delete it.
class projectElement : public QFrame
{
    Q_OBJECT

public:
    ~projectElement() override;

    // The stored values, in the order of the row's labels.
    QStringList values() const;
    void setValues(const QStringList &values);

    // The row's object of the project file, and the reverse (a missing key
    // gives the empty text).
    virtual QJsonObject toJson() const;
    virtual void fromJson(const QJsonObject &object);
    // MD5 of the values in the order of the row's dialog fingerprint.
    QString hash() const;

    // Ports: the port part of the driver arguments. Requests: empty.
    virtual QStringList driverArguments() const;
    // Requests: what the row asks of the driver. Ports: kind None.
    virtual elementRequest request() const;
    // The outcome of the row's last run; a failure's cause becomes the row's
    // tool tip.
    virtual void showResult(bool ok, const QString &shown, const QString &cause);

    // Ports: whether this is the port all runs use.
    virtual bool isActive() const;
    virtual void setActive(bool active);

    // A run was asked for with the row's button and has not been carried out.
    bool isExeRequested() const { return exeRequested; }
    void setExeRequested(bool requested) { exeRequested = requested; }

    // The project's undo history; edits go through it once it is set.
    void setUndoStack(UndoStack *stack) { undoStack = stack; }

    // A dialog for this kind of row, preset with the row's values when preset
    // is set; null when no dialog serves the row. The caller owns it.
    virtual QDialog *createDialog(QWidget *parent, bool preset) const = 0;
    // The values an accepted dialog of createDialog() holds, in values() order.
    virtual QStringList dialogValues(const QDialog *dialog) const = 0;

signals:
    void del();
    void exe();
    void active();
    // The stored values were set (by an edit, its undo, or a setter).
    void valuesChanged();

protected:
    explicit projectElement(QWidget *parent);

    // Sets the row up once its form is built: labels in value order with
    // their keys in the file, the fingerprint order as indexes into them, and
    // the three buttons.
    void setUpRow(const QList<QLabel *> &labels, const QStringList &keys,
        const QList<int> &hashOrder, QAbstractButton *exeButton, QAbstractButton *editButton,
        QAbstractButton *delButton);
    QString field(int index) const;
    void setField(int index, const QString &text);
    QAbstractButton *exeButton() const { return buttons[0]; }
    // The undo history, null until set.
    UndoStack *history() const { return undoStack; }
    // The run button: requests ask the window to run them; ports override.
    virtual void runPressed();

private slots:
    void commandEdit();
    void commandDel();
    void commandExe();

private:
    QList<QLabel *> labels;
    QStringList keys;
    QList<int> hashOrder;
    QAbstractButton *buttons[3] = {};
    QMetaObject::Connection connections[3];
    UndoStack *undoStack = nullptr;
    bool exeRequested = false;
};
