#include "projectelement.h"

#include "elementicons.h"
#include "userprompts.h"

#include <QAbstractButton>

projectElement::projectElement(const rowValues &values, QWidget *parent)
    : QFrame(parent)
    , stored(values)
{
    // Its requests carry values, also through queued connections and spies.
    static const int registered = qRegisterMetaType<rowValues>();
    Q_UNUSED(registered)
}

projectElement::~projectElement()
{
    for (const QMetaObject::Connection &connection : connections)
        disconnect(connection);
}

void projectElement::setUpRow(
    QAbstractButton *exeButton, QAbstractButton *editButton, QAbstractButton *delButton)
{
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
    showValues();
}

void projectElement::setValues(const rowValues &values)
{
    if (!holds(values))
        return;
    stored = values;
    showValues();
    emit valuesChanged();
}

bool projectElement::holds(const rowValues &values) const
{
    return values.index() == stored.index();
}

QJsonObject projectElement::toJson() const
{
    return jsonOf(stored);
}

void projectElement::readState(const QJsonObject &) { }

void projectElement::showResult(bool ok, const QString &, const QString &cause)
{
    setToolTip(ok ? QString() : cause);
}

bool projectElement::isActive() const
{
    return false;
}

void projectElement::setActive(bool) { }

userPrompts &projectElement::prompts() const
{
    static userPrompts dialogs;
    return questions ? *questions : dialogs;
}

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
    const QMessageBox::StandardButton answer
        = prompts().message(this, QMessageBox::Question, tr("Asking"), tr("Del current object ?"),
            QStringLiteral(":/_icons/system_info_128.png"), QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        emit del();
}

void projectElement::commandEdit()
{
    if (const std::optional<rowValues> edited = askValues(prompts()))
        emit editRequested(*edited);
}
