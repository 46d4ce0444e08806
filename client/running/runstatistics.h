#pragma once

#include <QCoreApplication>

class QLabel;
class QStatusBar;

// The request counters of the status bar: every request run counts in the
// total, a failed one in the errors too. The labels hold the counts as
// decimal text, empty meaning 0.
class runStatistics
{
    Q_DECLARE_TR_FUNCTIONS(runStatistics)

public:
    // Puts the labels into the status bar, left to right: "Statistics",
    // "Total" and its count, "Errors" and its count.
    explicit runStatistics(QStatusBar *statusBar);

    void count(bool ok);
    // "done / total" while an operation of several requests runs; a total of
    // 0 clears it.
    void progress(int done, int total);

private:
    static void increment(QLabel *label);

    QLabel *totalLabel;
    QLabel *errorsLabel;
    QLabel *progressLabel;
};
