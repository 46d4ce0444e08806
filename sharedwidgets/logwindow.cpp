#include "logwindow.h"
#include "ui_logwindow.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

logWindow::logWindow(QWidget *parent, int lineLimit)
    : QMainWindow(parent)
    , ui(new Ui::logWindow)
    , text(new QTextEdit)
    , layout(new QVBoxLayout)
    , pending(lineLimit)
    , flushTimer(new QTimer(this))
    , limit(pending.limit())
{
    ui->setupUi(this);

    text->setObjectName(QStringLiteral("text"));
    text->setReadOnly(true);
    text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The log is never edited; an undo history would keep every line forever.
    text->setUndoRedoEnabled(false);
    layout->addWidget(text);
    auto *central = new QWidget;
    central->setLayout(layout);
    setCentralWidget(central);

    flushTimer->setSingleShot(true);
    flushTimer->setInterval(0);
    connect(flushTimer, &QTimer::timeout, this, &logWindow::flushStep);

    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(800, 500);

    closeConnection = connect(ui->actionClose, &QAction::triggered, this,
        QOverload<bool>::of(&logWindow::escape), Qt::QueuedConnection);
    clearConnection = connect(ui->actionClear, &QAction::triggered, this,
        QOverload<bool>::of(&logWindow::commandClear), Qt::QueuedConnection);
}

logWindow::~logWindow()
{
    disconnect(closeConnection);
    disconnect(clearConnection);
    delete ui;
}

void logWindow::append(const QString &html)
{
    // While kept text is still moving into the view, new text queues behind it.
    if (!isVisible() || !pending.isEmpty()) {
        pending.append(html);
        return;
    }
    insertPieces(logBuffer::splitLines(html));
    text->viewport()->update();
}

bool logWindow::isFlushing() const
{
    return flushTimer->isActive();
}

void logWindow::show()
{
    activateWindow();
    raise();
    QWidget::show();
}

void logWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    flushStep();
}

void logWindow::hideEvent(QHideEvent *event)
{
    // What is not in the view yet stays kept for the next show.
    flushTimer->stop();
    QMainWindow::hideEvent(event);
}

// Moves the next batch of kept text into the view and schedules the rest.
void logWindow::flushStep()
{
    if (pending.isEmpty() || !isVisible())
        return;
    const qint64 dropped = pending.takeDropped();
    if (dropped > 0) {
        // The kept text alone fills the log: everything in the view is older
        // than the lines just dropped from it.
        viewDropped += viewLines() + dropped;
        QTextCursor all(text->document());
        all.select(QTextCursor::Document);
        all.removeSelectedText();
        noticeShown = false;
    }
    insertPieces(pending.take(FlushBatch));
    text->viewport()->update();
    if (!pending.isEmpty())
        flushTimer->start();
}

// Inserts split pieces at the end of the view: every piece ending with "<br>"
// completes the current line, which becomes a block of its own; the last piece
// starts the next line. Then the oldest lines beyond the limit are dropped.
void logWindow::insertPieces(const QStringList &pieces)
{
    static const QRegularExpression lineBreak(
        QStringLiteral("<br\\s*/?>$"), QRegularExpression::CaseInsensitiveOption);
    QTextCursor cursor(text->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (int i = 0; i < pieces.size(); ++i) {
        QString piece = pieces.at(i);
        const bool complete = i + 1 < pieces.size();
        if (complete)
            piece.remove(lineBreak);
        if (!piece.isEmpty())
            cursor.insertHtml(piece);
        if (complete)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    cursor.endEditBlock();
    const qint64 droppedBefore = viewDropped;
    trimView();
    // The dropped-lines line is rewritten only when its count changes: a
    // change at the top makes the view lay out its whole text again.
    if (viewDropped != droppedBefore || (viewDropped > 0 && !noticeShown))
        writeNotice();
    cursor.movePosition(QTextCursor::End);
    text->setTextCursor(cursor);
}

// Complete lines in the view: every block but the notice and the last one,
// which holds the line still being written.
int logWindow::viewLines() const
{
    return text->document()->blockCount() - 1 - (noticeShown ? 1 : 0);
}

// Dropping lines at the top makes the view lay out its whole text again, so
// once the limit is passed the oldest lines go in batches of a twentieth of
// the limit: the view then holds between 95 % and 100 % of the limit.
void logWindow::trimView()
{
    const int lines = viewLines();
    if (lines <= limit)
        return;
    const int excess = lines - (limit - limit / 20);
    QTextDocument *document = text->document();
    const int first = noticeShown ? 1 : 0;
    QTextCursor cursor(document);
    cursor.setPosition(document->findBlockByNumber(first).position());
    cursor.setPosition(
        document->findBlockByNumber(first + excess).position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    viewDropped += excess;
}

void logWindow::writeNotice()
{
    if (viewDropped == 0)
        return;
    QTextCursor cursor(text->document());
    if (!noticeShown) {
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.setPosition(0);
        noticeShown = true;
    }
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setFontItalic(true);
    format.setForeground(QColor(0x60, 0x60, 0x60));
    cursor.insertText(tr("Older lines dropped: %1").arg(viewDropped), format);
}

void logWindow::escape(bool)
{
    escape();
}

void logWindow::escape()
{
    close();
}

void logWindow::commandClear(bool)
{
    commandClear();
}

void logWindow::commandClear()
{
    text->clear();
    viewDropped = 0;
    noticeShown = false;
    text->viewport()->update();
}
