#include "trendwindow.h"

#include "trendmodel.h"
#include "trendplot.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

trendWindow::trendWindow(trendModel *model, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , model(model)
    , plotWidget(new trendPlot(model, this))
    , pause(new QAction(tr("Pause"), this))
    , fit(new QAction(tr("Autoscale"), this))
    , minutes(new QSpinBox(this))
{
    setObjectName(QStringLiteral("trendWindow"));
    setWindowTitle(tr("Trend"));
    setWindowIcon(QIcon(QStringLiteral(":/_icons/logo_modbusclient_128.png")));

    pause->setCheckable(true);
    pause->setToolTip(tr("Freeze the plot; values keep being collected"));
    fit->setToolTip(tr("Fit both axes to the values and follow them"));
    minutes->setRange(1, MaxKeptMinutes);
    minutes->setSuffix(tr(" min"));
    minutes->setValue(static_cast<int>(model->retention() / 60000));
    minutes->setToolTip(tr("How long values are kept"));

    auto *bar = new QToolBar(this);
    bar->addAction(pause);
    bar->addAction(fit);
    bar->addSeparator();
    bar->addWidget(new QLabel(tr("Keep") + QLatin1Char(' '), bar));
    bar->addWidget(minutes);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(bar);
    layout->addWidget(plotWidget, 1);
    resize(800, 450);

    connect(pause, &QAction::toggled, model, &trendModel::setPaused);
    connect(fit, &QAction::triggered, plotWidget, &trendPlot::autoscale);
    connect(minutes, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        this->model->setRetention(qint64(value) * 60000);
        emit keptMinutesChanged(value);
    });
}

int trendWindow::keptMinutes() const
{
    return minutes->value();
}

void trendWindow::setKeptMinutes(int value)
{
    const QSignalBlocker quiet(minutes);
    minutes->setValue(value);
    model->setRetention(qint64(minutes->value()) * 60000);
}
