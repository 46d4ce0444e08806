#pragma once

#include <QPointF>
#include <QRectF>
#include <qwt_series_data.h>

class trendSeries;

// The visible points of one trend series as Qwt samples: x is the time in
// milliseconds since the epoch, y the value, NaN at a gap. The bounding
// rectangle leaves the gaps out and is cached until the series changes.
class trendCurveData : public QwtSeriesData<QPointF>
{
public:
    explicit trendCurveData(const trendSeries *series);

    size_t size() const override;
    QPointF sample(size_t i) const override;
    QRectF boundingRect() const override;

private:
    const trendSeries *series;
    mutable quint64 cachedRevision = ~quint64(0);
    mutable QRectF cachedBounds;
};
