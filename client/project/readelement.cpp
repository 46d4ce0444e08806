#include "readelement.h"
#include "ui_readelement.h"

#include "addreaddata.h"
#include "registertypes.h"
#include "steadylabel.h"
#include "userprompts.h"

#include <QCheckBox>
#include <QLayout>

#include <algorithm>

readElement::readElement(const readValues &values, QWidget *parent)
    : projectElement(values, parent)
    , ui(new Ui::readElement)
{
    ui->setupUi(this);
    setUpRow(ui->exe, ui->edit, ui->del);
    connect(ui->trend, &QAbstractButton::clicked, this, &readElement::commandMark);
    // A new reading repaints its box alone, and lays the list out again only
    // when it does not fit (see setValue). The box has the row's full
    // height, as the other boxes have it. Every row has the same form, so
    // its size is worked out once.
    static const QSize valueBox = [this]() {
        const QMargins margins = layout()->contentsMargins();
        const int rowHeight = layout()->sizeHint().height() - margins.top() - margins.bottom();
        const QSize hint = ui->value->sizeHint().expandedTo(ui->value->minimumSize());
        return QSize(hint.width(), std::max(rowHeight, hint.height()));
    }();
    ui->value->setFixedSize(valueBox);
}

readElement::~readElement()
{
    delete ui;
}

void readElement::showValues()
{
    const readValues &read = request();
    ui->kind->setText(registerTypes::kindShortLabel(read.kind));
    ui->type->setText(registerTypes::typeText(read.type, read.order, read.length));
    // A text has no value to plot.
    ui->trend->setEnabled(registerTypes::isNumeric(read.type));
    ui->addr->setText(request().addr);
    ui->format->setText(request().format);
    ui->desc->setText(request().desc);
}

QString readElement::value() const
{
    return ui->value->text();
}

void readElement::setValue(const QString &value)
{
    steadyLabel::setText(ui->value, value);
}

bool readElement::isTrendMarked() const
{
    return ui->trend->isChecked();
}

void readElement::setTrendMarked(bool marked)
{
    if (marked == isTrendMarked())
        return;
    ui->trend->setChecked(marked);
    emit trendMarkChanged();
}

// The box has already changed when this runs: it is set back until the
// change is made.
void readElement::commandMark(bool marked)
{
    ui->trend->setChecked(!marked);
    emit trendMarkRequested(marked);
}

QJsonObject readElement::toJson() const
{
    QJsonObject object = projectElement::toJson();
    // Unmarked rows keep the object they always had.
    if (isTrendMarked())
        object.insert(QStringLiteral("trend"), true);
    return object;
}

void readElement::readState(const QJsonObject &object)
{
    setTrendMarked(object.value(QLatin1String("trend")).toBool());
}

void readElement::showResult(bool ok, const QString &shown, const QString &cause)
{
    setValue(shown);
    projectElement::showResult(ok, shown, cause);
}

std::optional<rowValues> readElement::askValues(userPrompts &prompts) const
{
    addReadData dialog;
    dialog.setValues(request());
    return prompts.accepted(dialog);
}
