#pragma once

#include <qwt_plot_curve.h>

// A curve that breaks at samples whose y is NaN: each run of values between
// gaps is drawn as its own line, and a value standing alone between two gaps
// as a dot, so a failed read shows as a hole rather than a fall to zero.
class gappedCurve : public QwtPlotCurve
{
public:
    explicit gappedCurve(const QString &title);

protected:
    void drawSeries(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
        const QRectF &canvasRect, int from, int to) const override;
};
