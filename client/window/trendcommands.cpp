#include "trendcommands.h"

#include "csvrecorder.h"
#include "driverrunner.h"
#include "loglines.h"
#include "projectdocument.h"
#include "projectelement.h"
#include "readelement.h"
#include "registertypes.h"
#include "resultsink.h"
#include "userprompts.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace {

const QString warningIcon = QStringLiteral(":/_icons/system_warning_trans_128.png");

// The record of a request's result; a read's values come with the result.
requestRecord recordOf(
    const rowValues &request, const QDateTime &time, bool ok, const QString &cause)
{
    requestRecord record;
    record.time = time;
    record.ok = ok;
    record.cause = ok ? QString() : cause;
    if (const auto *read = std::get_if<readValues>(&request)) {
        record.kind = resultSink::readKind();
        record.desc = read->desc;
        record.addr = read->addr;
        record.type = read->type;
    } else if (const auto *write = std::get_if<writeValues>(&request)) {
        record.kind = resultSink::writeKind();
        record.desc = write->desc;
        record.addr = write->addr;
        record.type = write->type;
        QString error;
        record.raw = write->rawValue(&error);
        record.shown = write->scaling.withUnit(write->value);
    } else if (const auto *macro = std::get_if<macroValues>(&request)) {
        record.kind = resultSink::macroKind();
        record.desc = macro->desc;
        record.type = macro->name;
        record.raw = record.shown = macro->param;
    }
    return record;
}

} // namespace

trendCommands::trendCommands(QMenu *fileMenu, QAction *beforeExit, QMenu *viewMenu,
    QStatusBar *statusBar, driverRunner *runner, const projectDocument *project,
    userPrompts *prompts, QWidget *window)
    : QObject(window)
    , project(project)
    , prompts(prompts)
    , window(window)
    , sink(new resultSink(this))
    , trend(new QAction(tr("Trend"), window))
    , record(new QAction(tr("Record to CSV…"), window))
    , stop(new QAction(tr("Stop recording"), window))
{
    trend->setObjectName(QStringLiteral("actionTrend"));
    record->setObjectName(QStringLiteral("actionRecordCsv"));
    stop->setObjectName(QStringLiteral("actionStopRecording"));
    stop->setEnabled(false);
    viewMenu->addAction(trend);
    fileMenu->insertAction(beforeExit, record);
    fileMenu->insertAction(beforeExit, stop);
    fileMenu->insertSeparator(beforeExit);
    statusBar->addPermanentWidget(sink->recordingNote());

    connect(trend, &QAction::triggered, this, &trendCommands::showTrend, Qt::QueuedConnection);
    connect(
        record, &QAction::triggered, this, &trendCommands::chooseRecording, Qt::QueuedConnection);
    connect(stop, &QAction::triggered, this, &trendCommands::stopRecording, Qt::QueuedConnection);
    connect(runner, &driverRunner::rowFinished, this, &trendCommands::recordRow);
    connect(runner, &driverRunner::immediateFinished, this, &trendCommands::recordImmediate);
    connect(project, &projectDocument::rowAdopted, this, &trendCommands::adopt);
    connect(project, &projectDocument::changed, this, &trendCommands::sync);
    csvRecorder *recorder = sink->recorder();
    connect(recorder, &csvRecorder::started, this, &trendCommands::showState);
    connect(recorder, &csvRecorder::stopped, this, &trendCommands::showState);
    connect(recorder, &csvRecorder::failed, this, &trendCommands::showState);
    // Queued: the user is told once the result that could not be written
    // has been handled.
    connect(recorder, &csvRecorder::failed, this, &trendCommands::recordingFailed,
        Qt::QueuedConnection);
}

void trendCommands::showState()
{
    stop->setEnabled(sink->recorder()->isRecording());
}

void trendCommands::showTrend()
{
    sink->showWindow();
}

void trendCommands::chooseRecording()
{
    const QString path
        = prompts->saveFileName(window, tr("Record to CSV"), QString(), QStringLiteral("(*.csv)"));
    if (!path.isEmpty())
        startRecording(path);
}

bool trendCommands::startRecording(const QString &path)
{
    emit logged(logLines::recordFile(logLines::timeText(), path));
    const bool ok = sink->recorder()->start(path);
    emit logged(logLines::status(ok));
    if (!ok)
        prompts->message(window, QMessageBox::Warning, tr("Error"),
            tr("Cannot record to %1:\n%2").arg(path, sink->recorder()->errorString()), warningIcon,
            QMessageBox::Close);
    return ok;
}

void trendCommands::stopRecording()
{
    sink->recorder()->stop();
}

void trendCommands::recordingFailed(const QString &path, const QString &reason)
{
    const QString text = tr("Recording to %1 stopped: %2").arg(path, reason);
    emit logged(logLines::refused(logLines::timeText(), text));
    prompts->message(
        window, QMessageBox::Warning, tr("Error"), text, warningIcon, QMessageBox::Close);
}

void trendCommands::recordRow(projectElement *row, const QDateTime &time, const QString &value,
    const QString &shown, bool ok, const QString &cause)
{
    requestRecord result = recordOf(row->values(), time, ok, cause);
    if (std::holds_alternative<readValues>(row->values())) {
        // A failed read has no value to record.
        result.raw = ok ? value : QString();
        result.shown = ok ? shown : QString();
        result.plotted = ok ? std::get<readValues>(row->values()).shownNumber(value) : QString();
    }
    sink->take(row, result);
}

void trendCommands::recordImmediate(
    const rowValues &request, const QDateTime &time, bool ok, const QString &cause)
{
    // A request without a row has no description, whatever its dialog held.
    requestRecord result = recordOf(request, time, ok, cause);
    result.desc.clear();
    sink->take(nullptr, result);
}

void trendCommands::adopt(projectElement *row)
{
    auto *read = qobject_cast<readElement *>(row);
    if (!read)
        return;
    const auto follow = [this, read] {
        syncRow(read, project->lists().layout(projectLists::Reads)->indexOf(read) >= 0);
    };
    connect(read, &readElement::trendMarkChanged, this, follow);
    connect(read, &projectElement::valuesChanged, this, follow);
}

void trendCommands::sync()
{
    const QList<projectElement *> listed = project->lists().elements(projectLists::Reads);
    for (const QObject *row : sink->trend()->rows())
        if (!listed.contains(qobject_cast<projectElement *>(const_cast<QObject *>(row))))
            sink->trend()->removeSeries(row);
    for (projectElement *row : listed)
        if (auto *read = qobject_cast<readElement *>(row))
            syncRow(read, true);
}

void trendCommands::syncRow(readElement *row, bool listed)
{
    const readValues &request = row->request();
    const QString label
        = request.desc.isEmpty() ? request.type + QLatin1Char(' ') + request.addr : request.desc;
    const QString unit = request.scaling.unit;
    // The trend takes numbers: a text read stays out whatever its mark.
    sink->setMarked(row, listed && row->isTrendMarked() && registerTypes::isNumeric(request.type),
        unit.isEmpty() ? label : label + QStringLiteral(" [") + unit + QLatin1Char(']'), unit);
}
