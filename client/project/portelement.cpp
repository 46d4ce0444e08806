#include "portelement.h"

#include "elementicons.h"

#include <QAbstractButton>

portElement::portElement(const portValues &values, QWidget *parent)
    : projectElement(values, parent)
{ }

bool portElement::holds(const rowValues &values) const
{
    const auto *port = std::get_if<portValues>(&values);
    return port && port->kind == line().kind;
}

void portElement::setActive(bool active)
{
    activePort = active;
    exeButton()->setIcon(elementIcon(
        active ? QStringLiteral(":/_icons/active.png") : QStringLiteral(":/_icons/disabled.png")));
    exeButton()->setIconSize(QSize(24, 24));
}

QJsonObject portElement::toJson() const
{
    QJsonObject object = projectElement::toJson();
    object.insert(QStringLiteral("active"), activePort);
    return object;
}

void portElement::readState(const QJsonObject &object)
{
    setActive(object.value(QLatin1String("active")).toBool());
}

void portElement::runPressed()
{
    emit active();
}
