#include "monitorwindow.h"
#include "ui_monitorwindow.h"

#include "monitorcsvfile.h"
#include "monitorfeed.h"
#include "monitorfiltermodel.h"
#include "monitortransactionmodel.h"
#include "userprompts.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>

namespace {

const QString warningIcon = QStringLiteral(":/_icons/system_warning_trans_128.png");
const char parities[] = {'N', 'E', 'O'};
// Lines of messages kept beneath the table, and shown of a failure in its box.
constexpr int MaxMessageLines = 2000;
constexpr int MaxErrorLines = 12;
// Lines of messages the window opens with beneath the table: the summary's.
constexpr int MessageLinesShown = 7;

} // namespace

monitorWindow::monitorWindow(const QString &program, userPrompts *prompts, DeviceName activeDevice,
    PortLister listPorts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(new Ui::monitorWindow)
    , prompts(prompts)
    , activeDevice(std::move(activeDevice))
    , listPorts(std::move(listPorts))
    , listening(new monitorSession(program, this))
    , model(new monitorTransactionModel(monitorTransactionModel::DefaultLimit, this))
    , filtered(new monitorFilterModel(model, this))
    , batches(new monitorFeed(model, this))
{
    ui->setupUi(this);
    for (const int rate : monitorLine::baudRates())
        ui->baudrate->addItem(QString::number(rate));
    ui->baudrate->setCurrentText(QStringLiteral("115200"));
    ui->messages->setMaximumBlockCount(MaxMessageLines);
    // Wide enough for the text that stands for every address.
    ui->address->setMinimumWidth(
        fontMetrics().horizontalAdvance(ui->address->specialValueText()) + 40);
    ui->table->setModel(filtered);
    fitToColumns(setColumnWidths());
    ui->splitter->setStretchFactor(0, 1);
    ui->splitter->setStretchFactor(1, 0);
    ui->splitter->setSizes({height(), fontMetrics().lineSpacing() * MessageLinesShown});
    refreshPorts();
    showFunctions();

    connect(ui->start, &QPushButton::clicked, this, &monitorWindow::startListening);
    connect(ui->stop, &QPushButton::clicked, this, &monitorWindow::stopListening);
    connect(ui->save, &QPushButton::clicked, this, &monitorWindow::saveAsCsv);
    connect(ui->refreshPorts, &QToolButton::clicked, this, &monitorWindow::refreshPorts);
    connect(ui->pause, &QPushButton::toggled, batches, &monitorFeed::setPaused);
    connect(ui->clear, &QPushButton::clicked, batches, &monitorFeed::clear);
    connect(ui->framing, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &monitorWindow::showState);
    connect(ui->address, QOverload<int>::of(&QSpinBox::valueChanged), this,
        &monitorWindow::applyFilter);
    connect(ui->function, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &monitorWindow::applyFilter);
    connect(ui->failedOnly, &QCheckBox::toggled, this, &monitorWindow::applyFilter);

    connect(listening, &monitorSession::transactionsRead, batches, &monitorFeed::take);
    connect(listening, &monitorSession::stateChanged, this, &monitorWindow::showState);
    connect(listening, &monitorSession::stateChanged, this, [this](monitorSession::State state) {
        if (state == monitorSession::Stopping)
            markSummaryStart();
    });
    connect(listening, &monitorSession::listening, this, [this](const QString &line) {
        listeningLine = line;
        showMessage(line);
        showState();
    });
    connect(listening, &monitorSession::messageWritten, this, &monitorWindow::showMessage);
    connect(listening, &monitorSession::ended, this, &monitorWindow::listeningEnded);
    connect(batches, &monitorFeed::changed, this, &monitorWindow::showCounts);
    connect(model, &monitorTransactionModel::functionsChanged, this, &monitorWindow::showFunctions);

    // The view follows the newest rows while it shows the last one.
    QScrollBar *scroll = ui->table->verticalScrollBar();
    connect(filtered, &QAbstractItemModel::rowsAboutToBeInserted, this,
        [this, scroll] { following = scroll->value() >= scroll->maximum(); });
    connect(filtered, &QAbstractItemModel::rowsInserted, this, [this] {
        if (following)
            ui->table->scrollToBottom();
    });
    showState();
}

monitorWindow::~monitorWindow()
{
    // The session ends the monitor before the form it reports to goes.
    delete listening;
    delete ui;
}

int monitorWindow::setColumnWidths()
{
    const int character = fontMetrics().averageCharWidth();
    // In characters: a time of day with milliseconds, an address, the longest
    // function names, register numbers, a few values asked and answered, a
    // response time, an exception's name, and the bytes of short frames.
    const int widths[monitorTransaction::ColumnCount] = {13, 7, 24, 9, 7, 18, 26, 6, 20, 26, 26};
    QHeaderView *columns = ui->table->horizontalHeader();
    int total = 0;
    for (int column = 0; column < monitorTransaction::ColumnCount; ++column) {
        const int width = qMax(widths[column] * character + 12, columns->sectionSizeHint(column));
        columns->resizeSection(column, width);
        total += width;
    }
    columns->setStretchLastSection(true);
    QHeaderView *rows = ui->table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->hide();
    return total;
}

void monitorWindow::fitToColumns(int columnsWidth)
{
    // Every column in sight, the frames' bytes included, where the screen
    // has the room; never narrower than the controls need.
    const QRect room = screen()->availableGeometry();
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    const int wanted = columnsWidth + ui->table->verticalScrollBar()->sizeHint().width()
        + 2 * ui->table->frameWidth() + margins;
    const int width = qMax(minimumSizeHint().width(), qMin(wanted, room.width() * 9 / 10));
    const int height = qMax(this->height(), qMin(800, room.height() * 3 / 4));
    resize(width, height);
}

monitorLine monitorWindow::line() const
{
    monitorLine line;
    line.port = ui->port->currentText().trimmed();
    line.baudRate = ui->baudrate->currentText().toInt();
    line.parity = parities[qBound(0, ui->parity->currentIndex(), 2)];
    line.ascii = ui->framing->currentIndex() == 1;
    line.dataBits = line.ascii ? ui->dataBits->currentText().toInt() : 8;
    line.stopBits = ui->stopBits->currentText().toInt();
    return line;
}

void monitorWindow::setLine(const monitorLine &line)
{
    ui->port->setCurrentText(line.port);
    ui->baudrate->setCurrentText(QString::number(line.baudRate));
    for (int i = 0; i < 3; ++i)
        if (parities[i] == line.parity)
            ui->parity->setCurrentIndex(i);
    ui->framing->setCurrentIndex(line.ascii ? 1 : 0);
    ui->dataBits->setCurrentText(QString::number(line.dataBits));
    ui->stopBits->setCurrentText(QString::number(line.stopBits));
    showState();
}

void monitorWindow::refreshPorts()
{
    const QString chosen = ui->port->currentText();
    ui->port->clear();
    ui->port->addItems(listPorts());
    if (!chosen.isEmpty())
        ui->port->setCurrentText(chosen);
}

void monitorWindow::startListening()
{
    const monitorLine chosen = line();
    if (chosen.port.isEmpty()) {
        showError(tr("Choose the serial port to listen to."));
        return;
    }
    if (chosen.isDevice(activeDevice())) {
        showError(tr("%1 is the project's active port: the monitor would take bytes of the "
                     "replies its requests wait for. Listen through a second adapter on the "
                     "same bus.")
                      .arg(chosen.port));
        return;
    }
    listeningLine.clear();
    endText.clear();
    listened = chosen;
    // The key that started the listening stops it, rather than focus falling
    // on the filter once Start is disabled.
    const bool keyed = ui->start->hasFocus();
    if (!listening->start(chosen)) {
        endText = listening->errorString();
        showMessage(endText);
        showState();
        showError(endText);
        return;
    }
    showState();
    if (keyed)
        ui->stop->setFocus();
}

void monitorWindow::stopListening()
{
    // And the key that stopped it starts it again once it has ended.
    stopKeyed = ui->stop->hasFocus();
    listening->stop();
}

void monitorWindow::leaveActivePort()
{
    const monitorSession::State state = listening->state();
    if (state != monitorSession::Starting && state != monitorSession::Listening)
        return;
    if (!listened.isDevice(activeDevice()))
        return;
    listening->stop();
    const QString text = tr("%1 has become the project's active port: the listening ends, so "
                            "that the drivers get every byte of the replies they wait for.")
                             .arg(listened.port);
    showMessage(text);
    showError(text);
}

void monitorWindow::listeningEnded(const monitorSession::outcome &how)
{
    if (how.killed)
        endText = tr("The monitor did not end when asked and was killed");
    else if (how.signal != 0)
        endText = tr("The monitor was ended by signal %1").arg(how.signal);
    else if (how.exitCode != 0)
        endText = tr("The monitor failed (status %1)").arg(how.exitCode);
    else
        endText = tr("Listening ended");
    showMessage(endText);
    showState();
    if (stopKeyed)
        ui->start->setFocus();
    stopKeyed = false;
    // The summary of a monitor asked to stop is shown from its first line,
    // its totals, rather than from its end.
    if (how.stopped && !summaryStart.isNull())
        ui->messages->verticalScrollBar()->setValue(summaryStart.blockNumber() + 1);
    summaryStart = QTextCursor();
    // A monitor asked to stop has said all there is in its summary. Of a
    // failure the box shows the first lines; the rest stays beneath the table.
    if (!how.ok() && !how.killed) {
        QStringList said = how.messages.trimmed().split(QLatin1Char('\n'));
        if (said.size() > MaxErrorLines)
            said = said.mid(0, MaxErrorLines) << QStringLiteral("…");
        const QString text = said.join(QLatin1Char('\n'));
        showError(text.isEmpty() ? endText : endText + QStringLiteral(":\n") + text);
    }
}

void monitorWindow::showState()
{
    const monitorSession::State state = listening->state();
    const bool idle = state == monitorSession::Idle;
    const QList<QWidget *> lineControls {
        ui->port, ui->refreshPorts, ui->baudrate, ui->parity, ui->stopBits, ui->framing};
    for (QWidget *control : lineControls)
        control->setEnabled(idle);
    // Seven data bits only with ASCII.
    const bool ascii = ui->framing->currentIndex() == 1;
    if (!ascii)
        ui->dataBits->setCurrentIndex(0);
    ui->dataBits->setEnabled(idle && ascii);
    ui->start->setEnabled(idle);
    ui->stop->setEnabled(state == monitorSession::Starting || state == monitorSession::Listening);
    showCounts();
}

void monitorWindow::showCounts()
{
    QString text;
    switch (listening->state()) {
    case monitorSession::Idle:
        text = endText;
        break;
    case monitorSession::Starting:
        text = tr("Starting the monitor on %1…").arg(line().port);
        break;
    case monitorSession::Listening:
        text = listeningLine;
        break;
    case monitorSession::Stopping:
        text = tr("Stopping…");
        break;
    }
    QStringList counts;
    counts << tr("Transactions: %1").arg(model->rowCount())
           << tr("errors: %1").arg(model->failedCount());
    if (filtered->rowCount() != model->rowCount())
        counts << tr("shown: %1").arg(filtered->rowCount());
    const qint64 dropped = model->droppedCount() + batches->droppedCount();
    if (dropped > 0)
        counts << tr("oldest dropped: %1 (the last %2 are kept)").arg(dropped).arg(model->limit());
    if (batches->isPaused())
        counts << tr("paused, waiting: %1").arg(batches->waitingTransactions().size());
    ui->status->setText((text.isEmpty() ? QString() : text + QStringLiteral(" — "))
        + counts.join(QStringLiteral(", ")));
    ui->save->setEnabled(model->rowCount() > 0 || !batches->waitingTransactions().empty());
}

void monitorWindow::showFunctions()
{
    const QString chosen
        = ui->function->currentIndex() > 0 ? ui->function->currentText() : QString();
    const QSignalBlocker quiet(ui->function);
    ui->function->clear();
    ui->function->addItem(tr("All"));
    ui->function->addItems(model->functions());
    // A function chosen before stays chosen, also when it has no rows now.
    if (!chosen.isEmpty()) {
        if (ui->function->findText(chosen) < 0)
            ui->function->addItem(chosen);
        ui->function->setCurrentText(chosen);
    }
}

void monitorWindow::applyFilter()
{
    monitorFilter filter;
    filter.address = ui->address->value();
    filter.function = ui->function->currentIndex() > 0 ? ui->function->currentText() : QString();
    filter.failedOnly = ui->failedOnly->isChecked();
    filtered->setFilter(filter);
    showCounts();
}

void monitorWindow::showMessage(const QString &line)
{
    ui->messages->appendPlainText(line);
}

void monitorWindow::markSummaryStart()
{
    // Stays after the last line written so far, as the oldest lines go.
    summaryStart = QTextCursor(ui->messages->document());
    summaryStart.movePosition(QTextCursor::End);
    summaryStart.setKeepPositionOnInsert(true);
}

void monitorWindow::showError(const QString &text)
{
    prompts->message(
        this, QMessageBox::Warning, tr("Monitor"), text, warningIcon, QMessageBox::Close);
}

QList<QByteArray> monitorWindow::shownRows() const
{
    const monitorFilter &filter = filtered->filter();
    QList<QByteArray> rows;
    for (int row = 0; row < model->rowCount(); ++row)
        if (filter.accepts(model->at(row)))
            rows << model->at(row).rows;
    for (const monitorTransaction &transaction : batches->waitingTransactions())
        if (filter.accepts(transaction))
            rows << transaction.rows;
    return rows;
}

void monitorWindow::saveAsCsv()
{
    const QString proposed = QDir::home().filePath(QStringLiteral("monitor-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))
        + QStringLiteral(".csv"));
    const QString path
        = prompts->saveFileName(this, tr("Save as CSV"), proposed, QStringLiteral("(*.csv)"));
    if (!path.isEmpty())
        saveTo(path);
}

bool monitorWindow::saveTo(const QString &path)
{
    const QList<QByteArray> rows = shownRows();
    QString error;
    if (!monitorCsvFile::save(path, monitorOutputReader::expectedHeader(), rows, &error)) {
        showError(tr("Cannot save the transactions to %1:\n%2")
                      .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    showMessage(
        tr("Transactions saved to %1: %2").arg(QDir::toNativeSeparators(path)).arg(rows.size()));
    return true;
}

void monitorWindow::closeEvent(QCloseEvent *event)
{
    // The listening ends with the window; what it collected stays for the
    // next time the window is shown.
    listening->stop();
    event->accept();
}
