#pragma once

#include <QMainWindow>

#include "logbuffer.h"

class QTextEdit;
class QTimer;
class QVBoxLayout;

namespace Ui {
class logWindow;
}

// The time-stamped log: a top-level window showing HTML fragments. Fragments
// appended while it is hidden are kept and moved into the view when it is
// shown, a batch per step of the event loop. The view and the kept text each
// hold at most the newest `lineLimit` lines (a line ends with "<br>"); one
// line at the top says how many older lines were dropped, so a long unattended
// run neither grows without bound nor blocks the window when it is shown.
class logWindow : public QMainWindow
{
    Q_OBJECT

public:
    // A line of the view costs about a kilobyte (text, formats and layout):
    // the log of a refresh at the fastest rate reaches the limit within
    // about 20 minutes and stays near 10 MB from then on.
    static constexpr int DefaultLineLimit = 10000;

    explicit logWindow(QWidget *parent = nullptr, int lineLimit = DefaultLineLimit);
    ~logWindow() override;

    // Adds an HTML fragment at the end of the log.
    void append(const QString &html);

    int lineLimit() const { return limit; }
    // True while text kept from a hidden period is still being moved into the
    // view, a batch at a time, so that showing a long log never blocks.
    bool isFlushing() const;

    // Lines moved into the view per step of the event loop.
    static constexpr int FlushBatch = 200;

public slots:
    void show();

private slots:
    void escape(bool);
    void escape();
    void commandClear(bool);
    void commandClear();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void flushStep();
    void insertPieces(const QStringList &pieces);
    int viewLines() const;
    void trimView();
    void writeNotice();

    Ui::logWindow *ui;
    QTextEdit *text;
    QVBoxLayout *layout;
    logBuffer pending;
    QTimer *flushTimer;
    int limit;
    qint64 viewDropped = 0; // older lines dropped from the view since the last Clear
    bool noticeShown = false; // the first block of the view is the dropped-lines line
    QMetaObject::Connection closeConnection;
    QMetaObject::Connection clearConnection;
};
