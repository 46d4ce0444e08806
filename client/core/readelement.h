#pragma once

#include <QFrame>
#include <QJsonObject>

class UndoStack;

namespace Ui {
class readElement;
}

// A read request of the project, one row of the "Read" list: data type,
// register address, display format, the last value read and description as
// labels, and the buttons to run, edit and delete it.
class readElement : public QFrame
{
    Q_OBJECT

public:
    explicit readElement(QWidget *parent = nullptr);
    ~readElement() override;

    QString type() const;
    QString addr() const;
    QString format() const;
    QString value() const; // the last result, not stored
    QString desc() const;
    void setType(const QString &type);
    void setAddr(const QString &addr);
    void setFormat(const QString &format);
    void setValue(const QString &value);
    void setDesc(const QString &desc);

    // The request's object of the project file.
    QJsonObject toJson() const;
    // Fingerprint of desc, type, addr, format, as addReadData::hash().
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
    Ui::readElement *ui;
    UndoStack *undoStack = nullptr;
    bool exeRequested = false;
    QMetaObject::Connection connections[3];
};
