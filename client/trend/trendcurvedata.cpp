#include "trendcurvedata.h"

#include "trendmodel.h"

#include <algorithm>

trendCurveData::trendCurveData(const trendSeries *series)
    : series(series)
{ }

size_t trendCurveData::size() const
{
    return static_cast<size_t>(series->visibleCount());
}

QPointF trendCurveData::sample(size_t i) const
{
    const trendPoint &p = series->at(static_cast<int>(i));
    return QPointF(static_cast<double>(p.msecs), p.value);
}

QRectF trendCurveData::boundingRect() const
{
    if (cachedRevision == series->revision())
        return cachedBounds;
    double left = 0, right = 0, bottom = 0, top = 0;
    bool any = false;
    for (int i = 0, n = series->visibleCount(); i < n; ++i) {
        const trendPoint &p = series->at(i);
        if (p.isGap())
            continue;
        const double x = static_cast<double>(p.msecs);
        if (!any) {
            left = right = x;
            bottom = top = p.value;
            any = true;
            continue;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, p.value);
        top = std::max(top, p.value);
    }
    // An invalid rectangle tells Qwt that this curve has nothing to scale by.
    cachedBounds = any ? QRectF(left, bottom, right - left, top - bottom) : QRectF(0, 0, -1, -1);
    cachedRevision = series->revision();
    return cachedBounds;
}
