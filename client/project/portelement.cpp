#include "portelement.h"

#include "elementicons.h"

#include <QAbstractButton>

portElement::portElement(const QString &type, QWidget *parent)
    : projectElement(parent)
    , type(type)
{ }

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
    object.insert(QStringLiteral("type"), type);
    return object;
}

void portElement::fromJson(const QJsonObject &object)
{
    projectElement::fromJson(object);
    setActive(object.value(QLatin1String("active")).toBool());
}

QString portElement::commandLine() const
{
    return driverArguments().join(QLatin1Char(' '));
}

void portElement::runPressed()
{
    emit active();
}
