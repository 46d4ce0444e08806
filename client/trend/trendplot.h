#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <qwt_plot.h>

class QTimer;
class QwtPlotMagnifier;
class QwtPlotPanner;
class QwtPlotTextLabel;
class QwtPlotZoomer;
class gappedCurve;
class trendModel;

// The trend plot: one curve per series of the model, titled with the row's
// description, over a wall-clock time axis. Dragging with the left button
// zooms into a rectangle (right button steps back), the middle button pans,
// the wheel zooms about the pointer; autoscale() fits both axes to the data
// again and keeps them following it. New values are drawn at most once a
// second, so a fast refresh costs no drawing per value. The curves
// read the model's series directly: the model must outlive the plot.
class trendPlot : public QwtPlot
{
    Q_OBJECT

public:
    explicit trendPlot(trendModel *model, QWidget *parent = nullptr);
    ~trendPlot() override;

    // Whether both axes follow the data (true until the user zooms or pans).
    bool isAutoscale() const;
    // The curve drawn for row, null when row has no series.
    const gappedCurve *curve(const QObject *row) const { return curves.value(row); }

public slots:
    void autoscale();

private slots:
    void addCurve(const QObject *row);
    void removeCurve(const QObject *row);
    void retitle(const QObject *row);
    void scheduleReplot();
    void refresh();

private:
    void showEmptyNote();
    // Names the value axis by the units of the curves.
    void showUnits();

    trendModel *model;
    QHash<const QObject *, gappedCurve *> curves;
    int colourIndex = 0;
    QTimer *replotTimer;
    QElapsedTimer sinceReplot; // since the last replot ended
    qint64 lastReplotMs = 0; // what the last replot took
    QwtPlotZoomer *zoomer;
    QwtPlotPanner *panner;
    QwtPlotMagnifier *magnifier;
    QwtPlotTextLabel *emptyNote;
};
