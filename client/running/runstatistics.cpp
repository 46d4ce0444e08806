#include "runstatistics.h"

#include "steadylabel.h"

#include <QLabel>
#include <QStatusBar>

runStatistics::runStatistics(QStatusBar *statusBar)
    : totalLabel(new QLabel)
    , errorsLabel(new QLabel)
    , progressLabel(new QLabel)
{
    const QString blanks = QStringLiteral("  ");
    statusBar->addWidget(new QLabel(blanks + tr("Statistics")));
    statusBar->addWidget(new QLabel(blanks + tr("Total")));
    statusBar->addWidget(totalLabel);
    statusBar->addWidget(new QLabel(blanks + tr("Errors")));
    statusBar->addWidget(errorsLabel);
    statusBar->addWidget(progressLabel);
    // The counts change with every request: their labels keep their size.
    steadyLabel::fix(totalLabel, QStringLiteral("00000"));
    steadyLabel::fix(errorsLabel, QStringLiteral("00000"));
    steadyLabel::fix(progressLabel, QStringLiteral("  00000 / 00000"));
}

void runStatistics::progress(int done, int total)
{
    steadyLabel::setText(
        progressLabel, total > 0 ? QStringLiteral("  %1 / %2").arg(done).arg(total) : QString());
}

void runStatistics::count(bool ok)
{
    increment(totalLabel);
    if (!ok)
        increment(errorsLabel);
}

void runStatistics::increment(QLabel *label)
{
    // Text that is not a count (empty at start) counts as 0.
    const qulonglong value = label->text().toULongLong();
    steadyLabel::setText(label, QString::number(value + 1));
}
