#include "trendplot.h"

#include "gappedcurve.h"
#include "trendcurvedata.h"
#include "trendmodel.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <qwt_date_scale_draw.h>
#include <qwt_date_scale_engine.h>
#include <qwt_legend.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_magnifier.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_textlabel.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_draw.h>
#include <qwt_text.h>

namespace {

// Colours that stay apart from each other on a white canvas.
const QColor curveColours[] = {
    QColor(0x1f, 0x77, 0xb4),
    QColor(0xd6, 0x27, 0x28),
    QColor(0x2c, 0xa0, 0x2c),
    QColor(0xff, 0x7f, 0x0e),
    QColor(0x94, 0x67, 0xbd),
    QColor(0x8c, 0x56, 0x4b),
    QColor(0xe3, 0x77, 0xc2),
    QColor(0x7f, 0x7f, 0x7f),
    QColor(0xbc, 0xbd, 0x22),
    QColor(0x17, 0xbe, 0xcf),
};

// New values are drawn at most once a second, and no more often than keeps
// drawing under a twentieth of the time: a plot of many curves takes tens of
// milliseconds to draw, and the requests must not wait for it.
constexpr qint64 MinReplotGapMs = 1000;
constexpr qint64 ReplotCostFactor = 20;

// The locale whose numbers the interface's language writes: the translation
// names it, so the axes follow the language the client shows ("1 400" and
// "12,5" in Polish) whatever the system's settings.
QLocale interfaceLocale()
{
    return QLocale(trendPlot::tr("en_US", "the locale of the numbers on the trend's axes"));
}

// The value axis writes its numbers in the interface's locale.
class valueScaleDraw : public QwtScaleDraw
{
public:
    QwtText label(double value) const override
    {
        // A value that is zero but for rounding is written as 0.
        if (qFuzzyCompare(value + 1.0, 1.0))
            value = 0.0;
        return interfaceLocale().toString(value);
    }
};

// The zoomer's position readout shows the time under the pointer as a clock
// time, not as milliseconds since the epoch.
class timeZoomer : public QwtPlotZoomer
{
public:
    explicit timeZoomer(QWidget *canvas)
        : QwtPlotZoomer(canvas)
    { }

protected:
    QwtText trackerTextF(const QPointF &pos) const override
    {
        const QDateTime time = QwtDate::toDateTime(pos.x(), Qt::LocalTime);
        return QwtText(time.toString(QStringLiteral("HH:mm:ss.zzz")) + QStringLiteral("  ")
            + interfaceLocale().toString(pos.y(), 'g', 6));
    }
};

} // namespace

trendPlot::trendPlot(trendModel *model, QWidget *parent)
    : QwtPlot(parent)
    , model(model)
    , replotTimer(new QTimer(this))
{
    auto *canvas = new QwtPlotCanvas();
    canvas->setFrameStyle(QFrame::Box | QFrame::Plain);
    setCanvas(canvas);
    setCanvasBackground(Qt::white);

    auto *scaleDraw = new QwtDateScaleDraw(Qt::LocalTime);
    scaleDraw->setDateFormat(QwtDate::Millisecond, QStringLiteral("HH:mm:ss.zzz"));
    scaleDraw->setDateFormat(QwtDate::Second, QStringLiteral("HH:mm:ss"));
    scaleDraw->setDateFormat(QwtDate::Minute, QStringLiteral("HH:mm"));
    scaleDraw->setDateFormat(QwtDate::Hour, QStringLiteral("HH:mm"));
    scaleDraw->setDateFormat(QwtDate::Day, QStringLiteral("yyyy-MM-dd"));
    setAxisScaleDraw(QwtPlot::xBottom, scaleDraw);
    setAxisScaleEngine(QwtPlot::xBottom, new QwtDateScaleEngine(Qt::LocalTime));
    setAxisScaleDraw(QwtPlot::yLeft, new valueScaleDraw);
    setAxisAutoScale(QwtPlot::xBottom, true);
    setAxisAutoScale(QwtPlot::yLeft, true);

    auto *grid = new QwtPlotGrid();
    grid->setMajorPen(QColor(0xdd, 0xdd, 0xdd), 0, Qt::DotLine);
    grid->attach(this);

    insertLegend(new QwtLegend(), QwtPlot::BottomLegend);

    emptyNote = new QwtPlotTextLabel();
    emptyNote->attach(this);
    showEmptyNote();

    zoomer = new timeZoomer(canvas);
    zoomer->setTrackerMode(QwtPicker::AlwaysOn);
    panner = new QwtPlotPanner(canvas);
    panner->setMouseButton(Qt::MiddleButton);
    magnifier = new QwtPlotMagnifier(canvas);
    magnifier->setMouseButton(Qt::NoButton);
    // Stepping back out of the last zoom follows the data again.
    connect(zoomer, &QwtPlotZoomer::zoomed, this, [this] {
        if (zoomer->zoomRectIndex() == 0)
            autoscale();
    });

    replotTimer->setSingleShot(true);
    connect(replotTimer, &QTimer::timeout, this, &trendPlot::refresh);
    connect(model, &trendModel::seriesAdded, this, &trendPlot::addCurve);
    connect(model, &trendModel::seriesRemoved, this, &trendPlot::removeCurve);
    connect(model, &trendModel::labelChanged, this, &trendPlot::retitle);
    connect(model, &trendModel::changed, this, &trendPlot::scheduleReplot);

    for (const QObject *row : model->rows())
        addCurve(row);
    refresh();
}

trendPlot::~trendPlot()
{
    disconnect(model, nullptr, this, nullptr);
}

bool trendPlot::isAutoscale() const
{
    return axisAutoScale(QwtPlot::xBottom) && axisAutoScale(QwtPlot::yLeft);
}

void trendPlot::autoscale()
{
    setAxisAutoScale(QwtPlot::xBottom, true);
    setAxisAutoScale(QwtPlot::yLeft, true);
    refresh();
}

void trendPlot::addCurve(const QObject *row)
{
    const trendSeries *series = model->series(row);
    if (!series || curves.contains(row))
        return;
    auto *curve = new gappedCurve(series->label());
    curve->setPen(curveColours[colourIndex++ % std::size(curveColours)], 1.5);
    curve->setData(new trendCurveData(series));
    curve->attach(this);
    curves.insert(row, curve);
    showEmptyNote();
    showUnits();
    scheduleReplot();
}

void trendPlot::removeCurve(const QObject *row)
{
    gappedCurve *curve = curves.take(row);
    if (!curve)
        return;
    curve->detach();
    delete curve;
    showEmptyNote();
    showUnits();
    scheduleReplot();
}

void trendPlot::retitle(const QObject *row)
{
    gappedCurve *curve = curves.value(row);
    if (curve)
        curve->setTitle(model->series(row)->label());
    showUnits();
}

void trendPlot::scheduleReplot()
{
    if (replotTimer->isActive())
        return;
    const qint64 gap = std::max(MinReplotGapMs, ReplotCostFactor * lastReplotMs);
    const qint64 wait = sinceReplot.isValid() ? gap - sinceReplot.elapsed() : 0;
    replotTimer->start(static_cast<int>(std::max<qint64>(0, wait)));
}

void trendPlot::refresh()
{
    replotTimer->stop();
    QElapsedTimer cost;
    cost.start();
    replot();
    lastReplotMs = cost.elapsed();
    sinceReplot.start();
    // While following the data, stepping back from a zoom returns to what is
    // shown now, not to the scales of the moment the plot was made.
    if (isAutoscale() && zoomer->zoomRectIndex() == 0)
        zoomer->setZoomBase(false);
}

void trendPlot::showUnits()
{
    setAxisTitle(QwtPlot::yLeft, model->units().join(QStringLiteral(", ")));
}

void trendPlot::showEmptyNote()
{
    QwtText note(curves.isEmpty()
            ? tr("Mark read rows with their trend box to plot their values here.")
            : QString());
    note.setColor(QColor(0x80, 0x80, 0x80));
    emptyNote->setText(note);
}
