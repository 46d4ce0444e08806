#include "readelement.h"
#include "ui_readelement.h"

#include "addreaddata.h"
#include "markreadelementfortrend.h"
#include "steadylabel.h"
#include "undostack.h"

#include <QCheckBox>
#include <QLayout>

#include <algorithm>

readElement::readElement(QWidget *parent)
    : projectElement(parent)
    , ui(new Ui::readElement)
{
    ui->setupUi(this);
    setUpRow({ui->type, ui->addr, ui->format, ui->desc},
        {QStringLiteral("type"), QStringLiteral("addr"), QStringLiteral("format"),
            QStringLiteral("desc")},
        {3, 0, 1, 2}, ui->exe, ui->edit, ui->del);
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

// The box has already changed when this runs: it is set back, and the mark
// goes through the history, so that it can be undone and marks the project
// modified.
void readElement::commandMark(bool marked)
{
    ui->trend->setChecked(!marked);
    if (history())
        history()->push(new markReadElementForTrend(this, marked));
    else
        setTrendMarked(marked);
}

QJsonObject readElement::toJson() const
{
    QJsonObject object = projectElement::toJson();
    // Unmarked rows keep the object they always had.
    if (isTrendMarked())
        object.insert(QStringLiteral("trend"), true);
    return object;
}

void readElement::fromJson(const QJsonObject &object)
{
    projectElement::fromJson(object);
    setTrendMarked(object.value(QLatin1String("trend")).toBool());
}

elementRequest readElement::request() const
{
    return elementRequest::read(type(), addr(), format());
}

void readElement::showResult(bool ok, const QString &shown, const QString &cause)
{
    setValue(shown);
    projectElement::showResult(ok, shown, cause);
}

QDialog *readElement::createDialog(QWidget *parent, bool preset) const
{
    auto *dialog = new addReadData(parent);
    if (preset) {
        dialog->setAddress(addr().toInt());
        dialog->setDesc(desc());
        dialog->setFormat(format());
        dialog->setType(type());
    }
    return dialog;
}

QStringList readElement::dialogValues(const QDialog *dialog) const
{
    const auto *read = static_cast<const addReadData *>(dialog);
    return {read->type(), read->address(), read->format(), read->desc()};
}
