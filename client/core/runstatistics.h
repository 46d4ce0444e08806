#pragma once

class QLabel;

// The request counters of the status bar: every request run counts in the
// total, a failed one in the errors too. The labels hold the counts as
// decimal text, empty meaning 0.
class runStatistics
{
public:
    runStatistics(QLabel *total, QLabel *errors);

    void count(bool ok);

private:
    static void increment(QLabel *label);

    QLabel *totalLabel;
    QLabel *errorsLabel;
};
