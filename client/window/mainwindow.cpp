#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "addreaddata.h"
#include "addrtuport.h"
#include "addtcpport.h"
#include "addwritedata.h"
#include "autorefresh.h"
#include "logholder.h"
#include "loglines.h"
#include "mapcommands.h"
#include "monitorcommands.h"
#include "projectdocument.h"
#include "projectelement.h"
#include "projecttitle.h"
#include "runstatistics.h"
#include "trendcommands.h"
#include "userprompts.h"
#include "writedata.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>

static const QString infoIcon = QStringLiteral(":/_icons/system_info_128.png");
static const QString warningIcon = QStringLiteral(":/_icons/system_warning_trans_128.png");
static const QString fileFilter = QStringLiteral("(*.json)");

MainWindow::MainWindow(QWidget *parent, userPrompts *prompts)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , ownPrompts(prompts ? nullptr : new userPrompts)
    , prompts(prompts ? prompts : ownPrompts.get())
{
    ui->setupUi(this);
    project = new projectDocument(ui->comLayout, ui->readLayout, ui->writeLayout, ui->macroLayout,
        ui->actionUndo, ui->actionRedo, this);
    connections << connect(project, &projectDocument::rowAdopted, this, &MainWindow::adopt);
    connections << connect(project, &projectDocument::refused, this, &MainWindow::showError);
    statistics.reset(new runStatistics(ui->statusBar));

    // The commands that start runs, disabled while one goes on; Stop is not one.
    runCommands = new QActionGroup(this);
    runCommands->setExclusive(false);
    for (QAction *action :
        {ui->actionWriteData, ui->actionWriteMacro, ui->actionWriteAll, ui->actionReadAll})
        runCommands->addAction(action);
    requests = new driverRunner(runCommands, statistics.get(), this);
    connections << connect(requests, &driverRunner::logged, this, &MainWindow::appendLog);
    // A port made inactive, edited or closed with its project lets its line go.
    connections << connect(project, &projectDocument::changed, this,
        [this]() { requests->keepServersFor(project->activePort()); });
    refresh = new autoRefresh(ui->actionRefresh, runCommands, requests, project, this);
    trend = new trendCommands(ui->menuFile,
        ui->menuFile->actions().value(ui->menuFile->actions().indexOf(ui->actionExit) - 1),
        ui->menuView, ui->statusBar, requests, project, this->prompts, this);
    connections << connect(trend, &trendCommands::logged, this, &MainWindow::appendLog);
    new monitorCommands(ui->menuView, project, this->prompts, this);
    maps = new mapCommands(ui->menuFile, ui->actionSaveAs, project, this->prompts, this);
    connections << connect(maps, &mapCommands::logged, this, &MainWindow::appendLog);

    connectActions();
    updateUi();
}

MainWindow::~MainWindow()
{
    refresh->stop();
    for (const QMetaObject::Connection &connection : qAsConst(connections))
        disconnect(connection);
    // The document first (its history may own rows out of the lists), then the form.
    delete project;
    delete ui;
}

void MainWindow::connectActions()
{
    const struct
    {
        QAction *action;
        void (MainWindow::*slot)(bool);
    } table[] = {
        {ui->actionNew, &MainWindow::commandNew},
        {ui->actionOpen, &MainWindow::commandOpen},
        {ui->actionSave, &MainWindow::commandSave},
        {ui->actionSaveAs, &MainWindow::commandSaveAs},
        {ui->actionClose, &MainWindow::commandCloseProject},
        {ui->actionExit, &MainWindow::commandExit},
        {ui->actionUndo, &MainWindow::commandUndo},
        {ui->actionRedo, &MainWindow::commandRedo},
        {ui->actionProjName, &MainWindow::commandProjName},
        {ui->actionAddRTU, &MainWindow::commandAddRTUPort},
        {ui->actionAddTCP, &MainWindow::commandAddTCPPort},
        {ui->actionAddRead, &MainWindow::commandAddReadData},
        {ui->actionAddWrite, &MainWindow::commandAddWriteData},
        {ui->actionAddMacro, &MainWindow::commandAddMacroData},
        {ui->actionWriteData, &MainWindow::commandWriteData},
        {ui->actionWriteMacro, &MainWindow::commandWriteMacro},
        {ui->actionWriteAll, &MainWindow::commandWriteAll},
        {ui->actionReadAll, &MainWindow::commandReadAll},
        {ui->actionRefresh, &MainWindow::commandRefresh},
        {ui->actionLog, &MainWindow::commandLog},
        {ui->actionLanguage, &MainWindow::commandSelectLanguage},
        {ui->actionVerbose, &MainWindow::commandVerbose},
        {ui->actionStop, &MainWindow::commandStop},
    };
    for (const auto &entry : table)
        connections << connect(
            entry.action, &QAction::triggered, this, entry.slot, Qt::QueuedConnection);
}

void MainWindow::appendLog(const QString &html)
{
    logInstance().append(html);
    emit logAppended(html);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved edits are asked about, whatever closes it; Cancel keeps it open.
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    refresh->stop();
    logInstance().closeLog();
    event->accept();
}

void MainWindow::updateUi()
{
    const bool open = !project->name().isEmpty();
    for (QAction *action :
        {ui->actionClose, ui->actionSave, ui->actionSaveAs, ui->actionAddRTU, ui->actionAddTCP,
            ui->actionAddRead, ui->actionAddWrite, ui->actionAddMacro, ui->actionReadAll,
            ui->actionWriteAll, ui->actionWriteData, ui->actionWriteMacro, ui->actionProjName})
        action->setEnabled(open);
    ui->tabWidget->setEnabled(open);
    setWindowTitle(projectTitle(windowTitle(), project->name(), QDateTime::currentDateTime()));
}

void MainWindow::showError(const QString &text)
{
    prompts->message(
        this, QMessageBox::Warning, tr("Error"), text, warningIcon, QMessageBox::Close);
}

bool MainWindow::maybeSave()
{
    if (!project->isModified())
        return true;
    switch (prompts->message(this, QMessageBox::Question, tr("Save project ?"),
        tr("Save project ?"), infoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        // The project is given up only once it is saved.
        commandSave(true);
        return !project->isModified();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::setCurrentFile(const QString &path)
{
    project->setPath(path);
}

void MainWindow::commandNew(bool)
{
    const std::optional<QString> name
        = maybeSave() ? prompts->chooseProjectName(this, project->name()) : std::nullopt;
    if (name && !name->isEmpty()) {
        project->clear();
        project->setName(*name);
    }
    updateUi();
}

void MainWindow::commandOpen(bool)
{
    if (maybeSave()) {
        const QString path = prompts->openFileName(this, tr("Open File"), fileFilter);
        if (!path.isEmpty()) {
            loadFile(path);
            return;
        }
    }
    updateUi();
}

void MainWindow::loadFile(const QString &path)
{
    appendLog(logLines::openFile(logLines::timeText(), path));
    // Enabled first, so the rows put in are not each enabled again.
    ui->tabWidget->setEnabled(true);
    QString error;
    const bool ok = project->load(path, &error);
    if (ok) {
        setCurrentFile(path);
        // An engineer starts with the readings.
        ui->tabWidget->setCurrentWidget(ui->tabData);
        ui->tabWidget_2->setCurrentWidget(ui->tabRead);
    }
    appendLog(logLines::status(ok));
    updateUi();
    if (!ok)
        showError(tr("Cannot open the project %1:\n%2").arg(path, error));
}

bool MainWindow::saveFile(const QString &path)
{
    appendLog(logLines::saveFile(logLines::timeText(), path));
    QString error;
    const bool ok = project->save(path, &error);
    appendLog(logLines::status(ok));
    if (ok)
        setCurrentFile(path);
    else
        showError(tr("Cannot save the project to %1:\n%2").arg(path, error));
    return ok;
}

void MainWindow::commandSave(bool)
{
    if (project->path().isEmpty())
        commandSaveAs(true);
    else
        saveFile(project->path());
}

void MainWindow::commandSaveAs(bool)
{
    const QString path
        = prompts->saveFileName(this, tr("Save to File"), project->name(), fileFilter);
    if (!path.isEmpty())
        saveFile(path);
}

void MainWindow::commandCloseProject(bool)
{
    if (maybeSave())
        project->clear();
    updateUi();
}

void MainWindow::commandProjName(bool)
{
    const std::optional<QString> name = prompts->chooseProjectName(this, project->name());
    if (name && !name->isEmpty())
        project->setName(*name);
    updateUi();
}

void MainWindow::commandExit(bool)
{
    close();
}

void MainWindow::commandUndo(bool)
{
    project->undo();
}

void MainWindow::commandRedo(bool)
{
    project->redo();
}

void MainWindow::adopt(projectElement *row)
{
    row->setPrompts(prompts);
    connect(row, &projectElement::exe, this, &MainWindow::exeFromLayout, Qt::QueuedConnection);
}

template<class Dialog> void MainWindow::addFromDialog()
{
    Dialog dialog(this);
    addRow(prompts->accepted(dialog));
}

void MainWindow::addRow(const std::optional<rowValues> &values)
{
    if (!values || !project->add(*values))
        return;
    const projectLists::List list = projectLists::listOf(*values);
    QWidget *const dataTabs[] = {nullptr, ui->tabRead, ui->tabWrite, ui->tabMacro};
    if (list == projectLists::Ports) {
        ui->tabWidget->setCurrentWidget(ui->tabCommunications);
    } else {
        ui->tabWidget->setCurrentWidget(ui->tabData);
        ui->tabWidget_2->setCurrentWidget(dataTabs[list]);
    }
}

void MainWindow::commandAddRTUPort(bool)
{
    addFromDialog<addRTUPort>();
}

void MainWindow::commandAddTCPPort(bool)
{
    addTCPPort dialog(this);
    dialog.setPrompts(prompts);
    addRow(prompts->accepted(dialog));
}

void MainWindow::commandAddReadData(bool)
{
    addFromDialog<addReadData>();
}

void MainWindow::commandAddWriteData(bool)
{
    addFromDialog<addWriteData>();
}

void MainWindow::commandAddMacroData(bool)
{
    addRow(prompts->chooseMacro(this));
}

bool MainWindow::hasActivePort()
{
    if (project->activePort())
        return true;
    showError(tr("Please active port !!!"));
    return false;
}

void MainWindow::exeFromLayout()
{
    auto *element = qobject_cast<projectElement *>(sender());
    // With the refresh on, the element's run request waits for the next pass.
    if (!element || refresh->isOn())
        return;
    if (hasActivePort())
        requests->runRows(project->activePort(), {element});
}

void MainWindow::commandWriteData(bool)
{
    if (!hasActivePort())
        return;
    writeData dialog(this);
    if (const std::optional<writeValues> write = prompts->accepted(dialog))
        requests->writeNow(project->activePort(), *write);
}

void MainWindow::commandWriteMacro(bool)
{
    if (!hasActivePort())
        return;
    if (const std::optional<macroValues> macro = prompts->chooseMacro(this))
        requests->macroNow(project->activePort(), *macro);
}

void MainWindow::commandReadAll(bool)
{
    requests->runRows(project->activePort(), project->lists().elements(projectLists::Reads));
}

void MainWindow::commandWriteAll(bool)
{
    requests->runRows(project->activePort(), project->lists().elements(projectLists::Writes));
}

void MainWindow::commandRefresh(bool)
{
    refresh->toggle();
}

void MainWindow::animateIcon()
{
    refresh->animate();
}

void MainWindow::exeNextObject()
{
    refresh->pass();
}

void MainWindow::commandLog(bool)
{
    logInstance().showLog();
}

void MainWindow::commandSelectLanguage(bool)
{
    prompts->chooseLanguage(this);
}

void MainWindow::commandStop(bool)
{
    // The stopped driver's line says what was stopped; an idle refresh gets one.
    const bool refreshing = refresh->isOn();
    if (refreshing)
        refresh->toggle();
    if (!requests->stop() && refreshing)
        appendLog(logLines::refused(logLines::timeText(), tr("Automatic refresh stopped")));
}

void MainWindow::commandVerbose(bool)
{
    requests->setVerbose(prompts->chooseVerbose(this, isVerbose()));
}
