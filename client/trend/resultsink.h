#pragma once

#include "csvrecorder.h"
#include "trendmodel.h"

#include <QLabel>
#include <QObject>
#include <QPointer>

class trendWindow;

// Where request results go once they are known: every result to the CSV
// recording while it is on, and a marked read's value to the trend. It owns
// the trend data, the recorder, the status-bar note of the recording and the
// trend window (made when first shown).
class resultSink : public QObject
{
    Q_OBJECT

public:
    explicit resultSink(QObject *parent = nullptr);
    ~resultSink() override;

    trendModel *trend() { return &model; }
    csvRecorder *recorder() { return &csv; }
    // "Recording: FILE" while recording, hidden otherwise; for the status bar.
    QLabel *recordingNote() const { return note.data(); }
    // The trend window, null until it was first shown.
    trendWindow *window() const;

    // Shows and raises the trend window; kept minutes come from and go to
    // the setting "trendMinutes".
    void showWindow();

    // Plots row (labelled label, its values in unit) from now on, or no
    // longer.
    void setMarked(
        const QObject *row, bool marked, const QString &label, const QString &unit = QString());

    // One result; row is the request's row, null for a request without one.
    void take(const QObject *row, const requestRecord &result);

    static QString readKind();
    static QString writeKind();
    static QString macroKind();

private:
    void showRecording();

    trendModel model;
    csvRecorder csv;
    QPointer<QLabel> note; // owned by the status bar that took it, if any
    QPointer<trendWindow> plotWindow;
};
