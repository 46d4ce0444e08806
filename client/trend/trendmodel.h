#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <deque>
#include <memory>
#include <vector>

class QDateTime;

// One value of a curve: the time in milliseconds since the epoch (UTC) and
// the value shown; a gap (a failed read, or a text that is no number) holds
// NaN so the curve breaks there instead of falling to zero.
struct trendPoint
{
    qint64 msecs = 0;
    double value = 0;
    bool isGap() const;
};

// The values of one marked row, oldest first. While the model is paused only
// the points that were there when it paused are visible; later ones are kept
// and appear on resume.
class trendSeries
{
public:
    explicit trendSeries(const QString &label)
        : label_(label)
    { }

    QString label() const { return label_; }
    // The unit of the values, empty when they have none.
    QString unit() const { return unit_; }
    int visibleCount() const;
    const trendPoint &at(int index) const { return points[static_cast<size_t>(index)]; }
    int size() const { return static_cast<int>(points.size()); }
    // Grows with every change, so a reader can cache what it derives.
    quint64 revision() const { return revision_; }

private:
    friend class trendModel;
    QString label_;
    QString unit_;
    std::deque<trendPoint> points;
    int frozenCount = -1; // visible points while paused, -1 when running
    quint64 revision_ = 0;
};

// The trend data of the marked read rows: per row a series of timestamped
// values as the row shows them, kept for a retention time (10 minutes unless
// set otherwise) counted back from the newest value. Pausing freezes what is
// visible without dropping anything received meanwhile. Rows are identified
// by their objects; a destroyed row's series goes with it.
class trendModel : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 DefaultRetentionMs = 10 * 60 * 1000;

    explicit trendModel(QObject *parent = nullptr);
    ~trendModel() override;

    // Starts a series for row (nothing when it has one).
    void addSeries(const QObject *row, const QString &label);
    void removeSeries(const QObject *row);
    void setLabel(const QObject *row, const QString &label);
    void setUnit(const QObject *row, const QString &unit);
    // The units of the series, each once, in the order the series were
    // added: what the value axis is named by.
    QStringList units() const;
    bool hasSeries(const QObject *row) const { return index.contains(row); }
    const trendSeries *series(const QObject *row) const;
    // The rows with a series, in the order they were added.
    QList<const QObject *> rows() const;

    // One result of row's read at time: when ok, shown is the row's text
    // (a number after the display format); a failed read, or a shown text
    // that is no finite number, adds a gap. Returns false when row has no
    // series.
    bool append(const QObject *row, const QDateTime &time, bool ok, const QString &shown);

    void setRetention(qint64 msecs);
    qint64 retention() const { return retentionMs; }

    void setPaused(bool paused);
    bool isPaused() const { return paused; }

    // The value a shown text plots as, NaN when it is no finite number.
    static double plotValue(const QString &shown);

signals:
    void seriesAdded(const QObject *row);
    void seriesRemoved(const QObject *row);
    // The label or the unit of row's series changed.
    void labelChanged(const QObject *row);
    // New points arrived (also while paused) or old ones expired.
    void changed();

private:
    void prune();
    void forget(QObject *row);

    struct entry
    {
        const QObject *row;
        std::unique_ptr<trendSeries> series;
        QMetaObject::Connection destroyed;
    };
    std::vector<entry> entries; // in the order added
    QHash<const QObject *, trendSeries *> index;
    qint64 retentionMs = DefaultRetentionMs;
    qint64 newestMsecs = -1; // the newest time appended to any series
    qint64 oldestMsecs = -1; // the oldest point kept in any series, -1: none
    bool paused = false;
    qint64 pausedAt = -1; // the newest time when paused, -1 when there was none
};
