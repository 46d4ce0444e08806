// The log window under a long unattended run: appending request lines while
// it is shown (past its 20,000-line limit), and showing it after a day of
// lines kept while hidden. Run with QT_QPA_PLATFORM=offscreen or on a display.
#include "font.h"
#include "logwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>

namespace {

void appendRequest(logWindow &log, int i)
{
    log.append(QStringLiteral("2026-12-06 10:05:00.000 --- <b>READ</b> U16 [ 100 --&gt; "
                              "<b>%1</b> ] ")
                   .arg(i));
    log.append(QStringLiteral("<b>")
        + font(QStringLiteral("OK"), QString(), QStringLiteral("green"), QString())
        + QStringLiteral("</b><br>"));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int lines = 30000;

    {
        logWindow log;
        log.show();
        QElapsedTimer timer;
        timer.start();
        qint64 slowest = 0;
        for (int i = 0; i < lines; ++i) {
            QElapsedTimer one;
            one.start();
            appendRequest(log, i);
            QCoreApplication::processEvents();
            slowest = qMax(slowest, one.elapsed());
        }
        const int blocks = log.findChild<QTextEdit *>()->document()->blockCount();
        std::printf("shown: %d lines appended in %lld ms (%.2f ms a line, slowest %lld ms), "
                    "%d blocks in the view\n",
            lines, timer.elapsed(), double(timer.elapsed()) / lines, slowest, blocks);
    }
    {
        logWindow log;
        for (int i = 0; i < lines; ++i)
            appendRequest(log, i);
        QElapsedTimer timer;
        timer.start();
        log.show();
        const qint64 firstBatch = timer.elapsed();
        qint64 slowestStep = firstBatch;
        while (log.isFlushing()) {
            QElapsedTimer step;
            step.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            slowestStep = qMax(slowestStep, step.elapsed());
        }
        std::printf("hidden: %d lines kept, shown in %lld ms; first batch %lld ms, slowest "
                    "step %lld ms\n",
            lines, timer.elapsed(), firstBatch, slowestStep);
    }
    return 0;
}
