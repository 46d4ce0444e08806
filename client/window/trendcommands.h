#pragma once

#include "rowvalues.h"

#include <QDateTime>
#include <QObject>

class QAction;
class QMenu;
class QStatusBar;
class QWidget;
class driverRunner;
class projectDocument;
class projectElement;
class readElement;
class resultSink;
class userPrompts;

// The window's trend and CSV recording: View → Trend, File → Record to CSV…
// and Stop recording, the recording's note in the status bar, every request
// result taken to the recording and every marked read's value to the trend.
// The rows of the project's read list whose trend box is ticked are the
// trend's curves; rows taken out of the list leave it.
class trendCommands : public QObject
{
    Q_OBJECT

public:
    // The actions go into fileMenu above beforeExit and at the end of
    // viewMenu; questions and errors are asked through prompts over window.
    trendCommands(QMenu *fileMenu, QAction *beforeExit, QMenu *viewMenu, QStatusBar *statusBar,
        driverRunner *runner, const projectDocument *project, userPrompts *prompts,
        QWidget *window);

    resultSink *results() const { return sink; }

    // Starts recording to path with its log lines; false, and the user told
    // why, when the file cannot be written.
    bool startRecording(const QString &path);

public slots:
    void showTrend();
    void chooseRecording();
    void stopRecording();

signals:
    // An HTML fragment for the log.
    void logged(const QString &html);

private:
    // Follows a new row: a read row's mark and description.
    void adopt(projectElement *row);
    // Brings the trend in line with the marks of the rows in the read list.
    void sync();
    // Plots row as it is marked, while it is listed.
    void syncRow(readElement *row, bool listed);
    void recordRow(projectElement *row, const QDateTime &time, const QString &value,
        const QString &shown, bool ok, const QString &cause);
    void recordImmediate(
        const rowValues &request, const QDateTime &time, bool ok, const QString &cause);
    void recordingFailed(const QString &path, const QString &reason);
    void showState();

    const projectDocument *project;
    userPrompts *prompts;
    QWidget *window;
    resultSink *sink;
    QAction *trend;
    QAction *record;
    QAction *stop;
};
