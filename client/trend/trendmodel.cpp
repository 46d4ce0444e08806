#include "trendmodel.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <limits>

bool trendPoint::isGap() const
{
    return std::isnan(value);
}

int trendSeries::visibleCount() const
{
    return frozenCount < 0 ? size() : frozenCount;
}

trendModel::trendModel(QObject *parent)
    : QObject(parent)
{ }

trendModel::~trendModel()
{
    for (const entry &e : entries)
        disconnect(e.destroyed);
}

void trendModel::addSeries(const QObject *row, const QString &label)
{
    if (!row || hasSeries(row))
        return;
    entry e;
    e.row = row;
    e.series = std::make_unique<trendSeries>(label);
    if (paused)
        e.series->frozenCount = 0;
    e.destroyed = connect(row, &QObject::destroyed, this, &trendModel::forget);
    index.insert(row, e.series.get());
    entries.push_back(std::move(e));
    emit seriesAdded(row);
}

void trendModel::removeSeries(const QObject *row)
{
    const auto found = std::find_if(
        entries.begin(), entries.end(), [row](const entry &e) { return e.row == row; });
    if (found == entries.end())
        return;
    disconnect(found->destroyed);
    index.remove(row);
    // The series lives until the signal is handled, so a listener can still
    // read what it held.
    std::unique_ptr<trendSeries> gone = std::move(found->series);
    entries.erase(found);
    emit seriesRemoved(row);
}

void trendModel::forget(QObject *row)
{
    removeSeries(row);
}

void trendModel::setLabel(const QObject *row, const QString &label)
{
    trendSeries *s = index.value(row);
    if (!s || s->label_ == label)
        return;
    s->label_ = label;
    emit labelChanged(row);
}

void trendModel::setUnit(const QObject *row, const QString &unit)
{
    trendSeries *s = index.value(row);
    if (!s || s->unit_ == unit)
        return;
    s->unit_ = unit;
    emit labelChanged(row);
}

QStringList trendModel::units() const
{
    QStringList list;
    for (const entry &e : entries)
        if (!e.series->unit_.isEmpty() && !list.contains(e.series->unit_))
            list.append(e.series->unit_);
    return list;
}

const trendSeries *trendModel::series(const QObject *row) const
{
    return index.value(row);
}

QList<const QObject *> trendModel::rows() const
{
    QList<const QObject *> list;
    list.reserve(static_cast<int>(entries.size()));
    for (const entry &e : entries)
        list.append(e.row);
    return list;
}

double trendModel::plotValue(const QString &shown)
{
    bool number = false;
    const double value = shown.trimmed().toDouble(&number);
    if (!number || !std::isfinite(value))
        return std::numeric_limits<double>::quiet_NaN();
    return value;
}

bool trendModel::append(const QObject *row, const QDateTime &time, bool ok, const QString &shown)
{
    trendSeries *s = index.value(row);
    if (!s)
        return false;
    trendPoint point;
    point.msecs = time.toMSecsSinceEpoch();
    point.value = ok ? plotValue(shown) : std::numeric_limits<double>::quiet_NaN();
    s->points.push_back(point);
    ++s->revision_;
    newestMsecs = std::max(newestMsecs, point.msecs);
    if (oldestMsecs < 0 || point.msecs < oldestMsecs)
        oldestMsecs = point.msecs;
    prune();
    emit changed();
    return true;
}

void trendModel::setRetention(qint64 msecs)
{
    if (msecs <= 0 || msecs == retentionMs)
        return;
    retentionMs = msecs;
    prune();
    emit changed();
}

void trendModel::setPaused(bool pause)
{
    if (pause == paused)
        return;
    paused = pause;
    pausedAt = newestMsecs;
    for (entry &e : entries) {
        e.series->frozenCount = pause ? e.series->size() : -1;
        ++e.series->revision_;
    }
    prune();
    emit changed();
}

// Drops the points older than the retention time before the newest value
// (before the newest value at the pause while paused, so the frozen picture
// stays whole). Every series is walked only when something has expired.
void trendModel::prune()
{
    const qint64 reference = paused ? pausedAt : newestMsecs;
    if (reference < 0 || oldestMsecs < 0)
        return;
    const qint64 cutoff = reference - retentionMs;
    if (oldestMsecs >= cutoff)
        return;
    oldestMsecs = -1;
    for (entry &e : entries) {
        trendSeries &s = *e.series;
        bool dropped = false;
        while (!s.points.empty() && s.points.front().msecs < cutoff) {
            s.points.pop_front();
            if (s.frozenCount > 0)
                --s.frozenCount;
            dropped = true;
        }
        if (dropped)
            ++s.revision_;
        // Points are kept in arrival order, so the first is the oldest.
        if (!s.points.empty() && (oldestMsecs < 0 || s.points.front().msecs < oldestMsecs))
            oldestMsecs = s.points.front().msecs;
    }
}
