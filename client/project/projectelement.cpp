#include "projectelement.h"

#include "deletequestion.h"
#include "editelementtolayout.h"
#include "elementicons.h"
#include "fingerprint.h"
#include "undostack.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>

#include <memory>

projectElement::projectElement(QWidget *parent)
    : QFrame(parent)
{ }

projectElement::~projectElement()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
}

void projectElement::setUpRow(const QList<QLabel *> &labels, const QStringList &keys,
    const QList<int> &hashOrder, QAbstractButton *exeButton, QAbstractButton *editButton,
    QAbstractButton *delButton)
{
    this->labels = labels;
    this->keys = keys;
    this->hashOrder = hashOrder;
    buttons[0] = exeButton;
    buttons[1] = editButton;
    buttons[2] = delButton;
    // Every row shows the same pictures: shared icons load them once.
    exeButton->setIcon(elementIcon(QStringLiteral(":/_icons/exe_128.png")));
    editButton->setIcon(elementIcon(QStringLiteral(":/_icons/data_edit_128.png")));
    delButton->setIcon(elementIcon(QStringLiteral(":/_icons/edit_delete_128.png")));
    connections[0] = connect(exeButton, &QAbstractButton::pressed, this,
        &projectElement::commandExe, Qt::QueuedConnection);
    connections[1] = connect(editButton, &QAbstractButton::pressed, this,
        &projectElement::commandEdit, Qt::QueuedConnection);
    connections[2] = connect(delButton, &QAbstractButton::pressed, this,
        &projectElement::commandDel, Qt::QueuedConnection);
}

QString projectElement::field(int index) const
{
    return labels.at(index)->text();
}

void projectElement::setField(int index, const QString &text)
{
    labels.at(index)->setText(text);
    emit valuesChanged();
}

QStringList projectElement::values() const
{
    QStringList list;
    for (const QLabel *label : labels)
        list << label->text();
    return list;
}

void projectElement::setValues(const QStringList &values)
{
    for (int i = 0; i < labels.size() && i < values.size(); ++i)
        labels.at(i)->setText(values.at(i));
    emit valuesChanged();
}

QJsonObject projectElement::toJson() const
{
    QJsonObject object;
    for (int i = 0; i < labels.size(); ++i)
        object.insert(keys.at(i), labels.at(i)->text());
    return object;
}

void projectElement::fromJson(const QJsonObject &object)
{
    for (int i = 0; i < labels.size(); ++i)
        labels.at(i)->setText(object.value(keys.at(i)).toString());
    emit valuesChanged();
}

QString projectElement::hash() const
{
    QStringList ordered;
    for (int index : hashOrder)
        ordered << field(index);
    return fingerprint(ordered);
}

QStringList projectElement::driverArguments() const
{
    return QStringList();
}

elementRequest projectElement::request() const
{
    return elementRequest();
}

void projectElement::showResult(bool ok, const QString &, const QString &cause)
{
    setToolTip(ok ? QString() : cause);
}

bool projectElement::isActive() const
{
    return false;
}

void projectElement::setActive(bool) { }

void projectElement::runPressed()
{
    exeRequested = true;
    emit exe();
}

void projectElement::commandExe()
{
    runPressed();
}

void projectElement::commandDel()
{
    if (askDeleteElement(this))
        emit del();
}

void projectElement::commandEdit()
{
    const std::unique_ptr<QDialog> dialog(createDialog(nullptr, true));
    if (!dialog || dialog->exec() != QDialog::Accepted)
        return;
    const QStringList edited = dialogValues(dialog.get());
    QStringList ordered;
    for (int index : hashOrder)
        ordered << edited.value(index);
    if (fingerprint(ordered) == hash())
        return;
    if (undoStack)
        undoStack->push(new editElementToLayout(this, edited));
    else
        setValues(edited);
}
