#include "resultsink.h"

#include "trendwindow.h"

#include <QDir>
#include <QLabel>
#include <QSettings>

namespace {
const QString minutesKey = QStringLiteral("trendMinutes");
}

resultSink::resultSink(QObject *parent)
    : QObject(parent)
    , note(new QLabel)
{
    note->setObjectName(QStringLiteral("recordingNote"));
    note->hide();
    const int minutes = QSettings().value(minutesKey, 0).toInt();
    if (minutes > 0 && minutes <= trendWindow::MaxKeptMinutes)
        model.setRetention(qint64(minutes) * 60000);
    connect(&csv, &csvRecorder::started, this, &resultSink::showRecording);
    connect(&csv, &csvRecorder::stopped, this, &resultSink::showRecording);
    connect(&csv, &csvRecorder::failed, this, &resultSink::showRecording);
}

resultSink::~resultSink()
{
    // The window's plot reads the model: it goes first.
    delete plotWindow.data();
    // The note belongs to the status bar that took it; one that none took
    // goes here.
    if (note && !note->parent())
        delete note.data();
}

QString resultSink::readKind()
{
    return QStringLiteral("READ");
}

QString resultSink::writeKind()
{
    return QStringLiteral("WRITE");
}

QString resultSink::macroKind()
{
    return QStringLiteral("MACRO");
}

trendWindow *resultSink::window() const
{
    return plotWindow;
}

void resultSink::showWindow()
{
    if (!plotWindow) {
        plotWindow = new trendWindow(&model);
        plotWindow->setAttribute(Qt::WA_QuitOnClose, false);
        connect(plotWindow, &trendWindow::keptMinutesChanged, this,
            [](int minutes) { QSettings().setValue(minutesKey, minutes); });
    }
    plotWindow->show();
    plotWindow->raise();
    plotWindow->activateWindow();
}

void resultSink::setMarked(
    const QObject *row, bool marked, const QString &label, const QString &unit)
{
    if (!marked) {
        model.removeSeries(row);
        return;
    }
    if (model.hasSeries(row))
        model.setLabel(row, label);
    else
        model.addSeries(row, label);
    model.setUnit(row, unit);
}

void resultSink::take(const QObject *row, const requestRecord &result)
{
    csv.record(result);
    if (row && result.kind == readKind())
        model.append(row, result.time, result.ok, result.plotted);
}

void resultSink::showRecording()
{
    if (!note)
        return;
    note->setVisible(csv.isRecording());
    note->setText(csv.isRecording() ? QStringLiteral("  ")
                + tr("Recording: %1").arg(QDir::toNativeSeparators(csv.fileName()))
                                    : QString());
}
