#include "gappedcurve.h"

#include <algorithm>
#include <cmath>
#include <qwt_symbol.h>

gappedCurve::gappedCurve(const QString &title)
    : QwtPlotCurve(title)
{
    setRenderHint(QwtPlotItem::RenderAntialiased);
    setPaintAttribute(QwtPlotCurve::FilterPoints, false);
}

void gappedCurve::drawSeries(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
    const QRectF &canvasRect, int from, int to) const
{
    const int count = static_cast<int>(dataSize());
    if (to < 0 || to >= count)
        to = count - 1;
    int runStart = -1;
    auto drawRun = [&](int first, int last) {
        if (first == last) {
            QwtSymbol dot(
                QwtSymbol::Ellipse, QBrush(pen().color()), QPen(pen().color()), QSize(5, 5));
            drawSymbols(painter, dot, xMap, yMap, canvasRect, first, last);
        } else {
            QwtPlotCurve::drawSeries(painter, xMap, yMap, canvasRect, first, last);
        }
    };
    for (int i = std::max(from, 0); i <= to; ++i) {
        const bool gap = std::isnan(sample(static_cast<size_t>(i)).y());
        if (gap && runStart >= 0) {
            drawRun(runStart, i - 1);
            runStart = -1;
        } else if (!gap && runStart < 0) {
            runStart = i;
        }
    }
    if (runStart >= 0)
        drawRun(runStart, to);
}
