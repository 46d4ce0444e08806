#pragma once

#include <QFrame>
#include <QJsonObject>

class UndoStack;

namespace Ui {
class rtuElement;
}

// A serial line of the project, one row of the "Communications" list: port
// name, baud rate, device address and description as labels, and the buttons
// to make it the active port, to edit it and to delete it.
class rtuElement : public QFrame
{
    Q_OBJECT

public:
    explicit rtuElement(QWidget *parent = nullptr);
    ~rtuElement() override;

    QString com() const;
    QString baudrate() const;
    QString addr() const;
    QString desc() const;
    void setCom(const QString &com);
    void setBaudrate(const QString &baudrate);
    void setAddr(const QString &addr);
    void setDesc(const QString &desc);

    // The port's object of the project file.
    QJsonObject toJson() const;
    // Fingerprint of desc, baudrate, addr, com, as addRTUPort::hash().
    QString hash() const;

    // Marks this port as the one all runs use (with the button's icon).
    void setActive(bool active);
    bool isActive() const { return activePort; }
    // The port part of a driver command line.
    QString commandLine() const;

    // The project's undo history; edits go through it once it is set.
    void setUndoStack(UndoStack *stack) { undoStack = stack; }

signals:
    void active();
    void del();

private slots:
    void commandEdit();
    void commandDel();
    void commandExe();

private:
    Ui::rtuElement *ui;
    UndoStack *undoStack = nullptr;
    bool activePort = false;
    QMetaObject::Connection connections[3];
};
