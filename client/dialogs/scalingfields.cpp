#include "scalingfields.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QString numberText(const QLineEdit *field)
{
    return field->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
}

} // namespace

scalingFields::scalingFields(QWidget *parent)
    : QGroupBox(tr("Engineering value"), parent)
    , scale(new QLineEdit(this))
    , offset(new QLineEdit(this))
    , unit(new QLineEdit(this))
    , problem(new QLabel(this))
{
    setObjectName(QStringLiteral("scaling"));
    scale->setObjectName(QStringLiteral("scale"));
    offset->setObjectName(QStringLiteral("offset"));
    unit->setObjectName(QStringLiteral("unit"));
    problem->setObjectName(QStringLiteral("scalingProblem"));
    scale->setPlaceholderText(QStringLiteral("1"));
    offset->setPlaceholderText(QStringLiteral("0"));
    problem->setStyleSheet(QStringLiteral("color: #c00000"));
    problem->setWordWrap(true);
    problem->hide();

    auto *layout = new QFormLayout(this);
    const auto addRow = [this, layout](const QString &text, const char *name, QLineEdit *field) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setBuddy(field);
        layout->addRow(label, field);
        connect(field, &QLineEdit::textChanged, this, &scalingFields::changed);
    };
    addRow(tr("Scale"), "scaleLabel", scale);
    addRow(tr("Offset"), "offsetLabel", offset);
    addRow(tr("Unit"), "unitLabel", unit);
    layout->addRow(problem);
    setToolTip(tr("Shown value = raw value × scale + offset"));
}

engineeringScale scalingFields::values() const
{
    engineeringScale values;
    if (!isEnabled())
        return values;
    values.scale = numberText(scale);
    values.offset = numberText(offset);
    values.unit = unit->text().trimmed();
    return values;
}

void scalingFields::setValues(const engineeringScale &values)
{
    scale->setText(values.scale);
    offset->setText(values.offset);
    unit->setText(values.unit);
}

void scalingFields::setType(const QString &type)
{
    const bool scalable = engineeringScale::isScalable(type);
    if (scalable == isEnabled())
        return;
    setEnabled(scalable);
    emit changed();
}

void scalingFields::showProblem(const QString &text)
{
    problem->setText(text);
    problem->setVisible(!text.isEmpty());
}
