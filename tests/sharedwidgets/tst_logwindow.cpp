#include "font.h"
#include "logholder.h"
#include "logwindow.h"

#include <QAction>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

// The log window: what is kept while hidden, what the view shows, the cap.
class tst_logwindow : public QObject
{
    Q_OBJECT

private:
    static QTextEdit *view(logWindow &log) { return log.findChild<QTextEdit *>("text"); }
    static QString shown(logWindow &log) { return view(log)->toPlainText(); }
    static QString lines(int from, int to) // "line from\n...line to\n"
    {
        QString text;
        for (int i = from; i <= to; ++i)
            text += QStringLiteral("line %1\n").arg(i);
        return text;
    }
    static void appendLines(logWindow &log, int from, int to)
    {
        for (int i = from; i <= to; ++i)
            log.append(QStringLiteral("line <b>%1</b><br>").arg(i));
    }
    static void trigger(logWindow &log, const char *action)
    {
        log.findChild<QAction *>(action)->trigger();
        QCoreApplication::processEvents(); // the connections are queued
    }

private slots:
    void form();
    void pendingFlushedOnceInOrder();
    void fragmentsJoinIntoLines();
    void clearWhileHiddenKeepsPending();
    void clearWhileShown();
    void appendsAtTheEnd();
    void statusColourStaysOnItsLine();
    void cap_data();
    void cap();
    void defaultCapOnLongHiddenRun();
    void batchedFlushKeepsOrder();
    void holderKeepsOneWindow();
};

void tst_logwindow::form()
{
    logWindow log;
    QCOMPARE(log.objectName(), QStringLiteral("logWindow"));
    QCOMPARE(log.windowTitle(), QStringLiteral("Log"));
    QCOMPARE(log.size(), QSize(800, 500));
    QCOMPARE(log.iconSize(), QSize(28, 28));
    QVERIFY(!log.windowIcon().isNull());
    QVERIFY(view(log)->isReadOnly());
    QCOMPARE(log.lineLimit(), 10000);
    QAction *close = log.findChild<QAction *>("actionClose");
    QAction *clear = log.findChild<QAction *>("actionClear");
    QVERIFY(close && clear);
    QCOMPARE(close->text(), QStringLiteral("Close"));
    QCOMPARE(clear->text(), QStringLiteral("Clear"));
    QVERIFY(!close->icon().isNull() && !clear->icon().isNull());
    auto *toolBar = log.findChild<QToolBar *>("toolBar");
    QVERIFY(toolBar);
    QVERIFY(!toolBar->isMovable());
    QCOMPARE(toolBar->actions(), (QList<QAction *> {close, clear}));
}

void tst_logwindow::pendingFlushedOnceInOrder()
{
    logWindow log;
    log.append(QStringLiteral("first<br>"));
    log.append(QStringLiteral("second<br>"));
    log.append(QStringLiteral("third<br>"));
    QVERIFY(shown(log).isEmpty()); // hidden: nothing rendered yet
    log.show();
    QCOMPARE(shown(log), QStringLiteral("first\nsecond\nthird\n"));
    log.hide();
    log.show();
    QCOMPARE(shown(log), QStringLiteral("first\nsecond\nthird\n"));
    log.append(QStringLiteral("fourth<br>"));
    QCOMPARE(shown(log), QStringLiteral("first\nsecond\nthird\nfourth\n"));
}

void tst_logwindow::fragmentsJoinIntoLines()
{
    // A request's line is written in two parts, before and after the run.
    logWindow log;
    log.append(
        QStringLiteral("2026-12-06 10:05:00.000 --- <b>WRITE</b> U16 [ <b>7</b> --&gt; 100 ] "));
    log.show();
    log.append(QStringLiteral("<b>")
        + font(QStringLiteral("OK"), QString(), QStringLiteral("green"), QString())
        + QStringLiteral("</b><br>"));
    log.append(QStringLiteral("next "));
    log.hide();
    log.append(QStringLiteral("part<br>last"));
    log.show();
    QCOMPARE(shown(log),
        QStringLiteral("2026-12-06 10:05:00.000 --- WRITE U16 [ 7 --> 100 ] OK \n"
                       "next part\nlast"));
}

void tst_logwindow::clearWhileHiddenKeepsPending()
{
    logWindow log;
    log.show();
    log.append(QStringLiteral("shown<br>"));
    log.hide();
    log.append(QStringLiteral("kept<br>"));
    trigger(log, "actionClear");
    log.show();
    QCOMPARE(shown(log), QStringLiteral("kept\n"));
}

void tst_logwindow::clearWhileShown()
{
    logWindow log(nullptr, 3);
    log.show();
    appendLines(log, 1, 5);
    trigger(log, "actionClear");
    QVERIFY(shown(log).isEmpty());
    appendLines(log, 6, 6);
    QCOMPARE(shown(log), lines(6, 6)); // no dropped-lines line left from before
}

void tst_logwindow::appendsAtTheEnd()
{
    logWindow log;
    log.show();
    appendLines(log, 1, 3);
    QTextCursor cursor = view(log)->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    view(log)->setTextCursor(cursor);
    appendLines(log, 4, 4);
    QCOMPARE(shown(log), lines(1, 4));
}

void tst_logwindow::statusColourStaysOnItsLine()
{
    logWindow log;
    log.show();
    log.append(font(QStringLiteral("ERROR"), QString(), QStringLiteral("red"), QString())
        + QStringLiteral("<br>"));
    log.append(QStringLiteral("plain<br>"));
    const QTextBlock status = view(log)->document()->findBlockByNumber(0);
    const QTextBlock plain = view(log)->document()->findBlockByNumber(1);
    QCOMPARE(status.text(), QStringLiteral("ERROR ")); // the tag's line feed shows as a blank
    QCOMPARE(status.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    QCOMPARE(plain.text(), QStringLiteral("plain"));
    QVERIFY(plain.begin().fragment().charFormat().foreground().color() != QColor(Qt::red));
}

void tst_logwindow::cap_data()
{
    // limit 5; lines appended while shown, then while hidden, then shown again
    QTest::addColumn<int>("whileShown");
    QTest::addColumn<int>("whileHidden");
    QTest::addColumn<int>("dropped");

    QTest::newRow("all fit") << 2 << 3 << 0;
    QTest::newRow("view overflows while shown") << 8 << 0 << 3;
    QTest::newRow("kept text overflows while hidden") << 0 << 12 << 7;
    QTest::newRow("view and kept text together overflow") << 3 << 4 << 2;
    QTest::newRow("kept text alone overflows, view dropped") << 3 << 7 << 5;
    QTest::newRow("both overflow") << 9 << 9 << 13;
}

void tst_logwindow::cap()
{
    QFETCH(int, whileShown);
    QFETCH(int, whileHidden);
    QFETCH(int, dropped);
    const int total = whileShown + whileHidden;

    logWindow log(nullptr, 5);
    log.show();
    appendLines(log, 1, whileShown);
    log.hide();
    appendLines(log, whileShown + 1, total);
    log.show();

    QString expected = lines(dropped + 1, total);
    if (dropped > 0)
        expected.prepend(QStringLiteral("Older lines dropped: %1\n").arg(dropped));
    QCOMPARE(shown(log), expected);

    // Further lines go on dropping the oldest one at a time.
    appendLines(log, total + 1, total + 2);
    expected = lines(qMax(1, total + 2 - 4), total + 2);
    const int droppedNow = qMax(0, total + 2 - 5);
    if (droppedNow > 0)
        expected.prepend(QStringLiteral("Older lines dropped: %1\n").arg(droppedNow));
    QCOMPARE(shown(log), expected);
}

void tst_logwindow::defaultCapOnLongHiddenRun()
{
    // A day of refresh with the window hidden keeps only the newest 10,000
    // lines; showing the window moves them into the view a batch at a time.
    logWindow log;
    appendLines(log, 1, 30000);
    log.show();
    const QTextDocument *document = view(log)->document();
    QVERIFY(log.isFlushing());
    QCOMPARE(document->blockCount(), 1 + logWindow::FlushBatch + 1);
    QTRY_VERIFY_WITH_TIMEOUT(!log.isFlushing(), 240000);
    QCOMPARE(document->blockCount(), 10000 + 2); // notice, lines, the empty last line
    QCOMPARE(document->firstBlock().text(), QStringLiteral("Older lines dropped: 20000"));
    QCOMPARE(document->findBlockByNumber(1).text(), QStringLiteral("line 20001"));
    QCOMPARE(document->findBlockByNumber(10000).text(), QStringLiteral("line 30000"));
}

void tst_logwindow::batchedFlushKeepsOrder()
{
    const int kept = 2 * logWindow::FlushBatch + 50;
    logWindow log;
    appendLines(log, 1, kept);
    log.show();
    QVERIFY(log.isFlushing());
    // New lines queue behind the kept ones.
    appendLines(log, kept + 1, kept + 1);
    // Hiding in the middle keeps the rest for the next show.
    QCOMPARE(shown(log), lines(1, logWindow::FlushBatch));
    log.hide();
    QVERIFY(!log.isFlushing());
    appendLines(log, kept + 2, kept + 2);
    QCOMPARE(shown(log), lines(1, logWindow::FlushBatch));
    log.show();
    QTRY_VERIFY(!log.isFlushing());
    QCOMPARE(shown(log), lines(1, kept + 2));
}

void tst_logwindow::holderKeepsOneWindow()
{
    logHolder &holder = logInstance();
    QCOMPARE(&logInstance(), &holder);
    logWindow *log = holder.window();
    QVERIFY(log);
    QVERIFY(!log->isVisible());
    holder.append(QStringLiteral("before show<br>"));
    holder.showLog();
    QVERIFY(log->isVisible());
    QCOMPARE(shown(*log), QStringLiteral("before show\n"));
    // Close only hides: the window and its text stay.
    trigger(*log, "actionClose");
    QVERIFY(!log->isVisible());
    holder.append(QStringLiteral("after close<br>"));
    holder.showLog();
    QCOMPARE(holder.window(), log);
    QCOMPARE(shown(*log), QStringLiteral("before show\nafter close\n"));
    holder.closeLog();
    QVERIFY(!log->isVisible());
}

QTEST_MAIN(tst_logwindow)
#include "tst_logwindow.moc"
