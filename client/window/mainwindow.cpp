#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "activateportelement.h"
#include "addelementtolayout.h"
#include "autorefresh.h"
#include "driverrunner.h"
#include "logholder.h"
#include "loglines.h"
#include "projectelement.h"
#include "projectfile.h"
#include "removeelementfromlayout.h"
#include "trendcommands.h"
#include "undostack.h"
#include "userprompts.h"
#include "writedata.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>

#include <algorithm>

static const QString infoIcon = QStringLiteral(":/_icons/system_info_128.png");
static const QString warningIcon = QStringLiteral(":/_icons/system_warning_trans_128.png");
static const QString fileFilter = QStringLiteral("(*.json)");

MainWindow::MainWindow(QWidget *parent, userPrompts *prompts)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , ownPrompts(prompts ? nullptr : new userPrompts)
    , prompts(prompts ? prompts : ownPrompts.get())
{
    // For every widget it repaints, Qt looks through all the siblings above
    // it for opaque ones that cover it; in a list of thousands of rows the
    // first showing of the list took seconds. Rows never cover one another,
    // so Qt's own switch turns that search off (Qt reads it once, at the
    // first repaint).
    if (!qEnvironmentVariableIsSet("QT_NO_SUBTRACTOPAQUESIBLINGS"))
        qputenv("QT_NO_SUBTRACTOPAQUESIBLINGS", "1");
    ui->setupUi(this);
    undo = new UndoStack(ui->actionUndo, ui->actionRedo);
    statistics.reset(new runStatistics(ui->statusBar));

    // The commands that start runs, disabled while one goes on; Stop is not one.
    runCommands = new QActionGroup(this);
    runCommands->setExclusive(false);
    for (QAction *action :
        {ui->actionWriteData, ui->actionWriteMacro, ui->actionWriteAll, ui->actionReadAll})
        runCommands->addAction(action);
    lists.reset(new projectLists(ui->comLayout, ui->readLayout, ui->writeLayout, ui->macroLayout));
    requests
        = new driverRunner([this]() { return activePort(); }, runCommands, statistics.get(), this);
    connections << connect(requests, &driverRunner::logged, this, &MainWindow::appendLog);
    refresh = new autoRefresh(ui->actionRefresh, runCommands, requests, lists.get(), this);
    trend = new trendCommands(ui->menuFile,
        ui->menuFile->actions().value(ui->menuFile->actions().indexOf(ui->actionExit) - 1),
        ui->menuView, ui->statusBar, requests, lists.get(), this->prompts, this);
    connections << connect(trend, &trendCommands::logged, this, &MainWindow::appendLog);

    connectActions();
    updateUi();
}

MainWindow::~MainWindow()
{
    refresh->stop();
    for (const QMetaObject::Connection &connection : qAsConst(connections))
        disconnect(connection);
    // The history goes first: commands may own elements that are out of the
    // lists; the elements in the lists go with the form.
    delete undo;
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
    // Unsaved edits are asked about, whatever closes the window; Cancel
    // keeps it open.
    if (!askSave()) {
        event->ignore();
        return;
    }
    refresh->stop();
    logInstance().closeLog();
    event->accept();
}

void MainWindow::updateUi()
{
    const bool open = !projectName.isEmpty();
    for (QAction *action :
        {ui->actionClose, ui->actionSave, ui->actionSaveAs, ui->actionAddRTU, ui->actionAddTCP,
            ui->actionAddRead, ui->actionAddWrite, ui->actionAddMacro, ui->actionReadAll,
            ui->actionWriteAll, ui->actionWriteData, ui->actionWriteMacro, ui->actionProjName})
        action->setEnabled(open);
    ui->tabWidget->setEnabled(open);

    QString title = windowTitle();
    const int bracket = title.indexOf(QLatin1Char('['));
    if (bracket >= 0)
        title.truncate(bracket);
    while (title.endsWith(QLatin1Char(' ')))
        title.chop(1);
    if (open)
        title += QStringLiteral(" [") + projectName + QLatin1Char(' ')
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
            + QLatin1Char(']');
    setWindowTitle(title);
}

void MainWindow::showError(const QString &text)
{
    prompts->message(
        this, QMessageBox::Warning, tr("Error"), text, warningIcon, QMessageBox::Close);
}

bool MainWindow::saveProject(const QString &path, QString *error)
{
    return projectFile::save(path, lists->toJson(projectName), error);
}

bool MainWindow::loadProject(const QString &path, QString *error)
{
    const projectFile::Content content = projectFile::load(path);
    if (content.status != projectFile::Loaded) {
        if (error)
            *error = content.error;
        return false;
    }
    // The rows go into their lists as the add commands put them, and the
    // history stays empty: an opened project is unmodified. Rows put into
    // enabled lists are not each enabled again once the project is open.
    ui->tabWidget->setEnabled(true);
    lists->fromJson(content.root, [this](projectElement *element) { adopt(element); });
    undo->clear();
    projectName = content.root.value(QLatin1String("name")).toString();
    trend->sync();
    return true;
}

void MainWindow::clearProject()
{
    lists->clear();
    projectName.clear();
    // A later Save must not write the new project over the old one's file.
    projectPath.clear();
}

bool MainWindow::askSave()
{
    if (undo->isEmpty())
        return true;
    switch (prompts->message(this, QMessageBox::Question, tr("Save project ?"),
        tr("Save project ?"), infoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        // The project is given up only once it is saved.
        commandSave(true);
        return undo->isEmpty();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool MainWindow::projName(QString &proj)
{
    bool ok = false;
    const QString name
        = prompts->text(this, tr("Set project name"), tr("Project name:"), projectName, &ok);
    if (!ok)
        return false;
    if (name == projectName) {
        prompts->message(this, QMessageBox::Information, tr("Project name ?"),
            tr("Project name already use"), infoIcon, QMessageBox::Close);
        return false;
    }
    proj = name;
    return true;
}

void MainWindow::commandNew(bool)
{
    QString name;
    if (askSave() && projName(name) && !name.isEmpty()) {
        undo->clear();
        clearProject();
        projectName = name;
    }
    updateUi();
}

void MainWindow::commandOpen(bool)
{
    if (askSave()) {
        const QString path = prompts->openFileName(this, tr("Open File"), fileFilter);
        if (!path.isEmpty()) {
            openProject(path);
            return;
        }
    }
    updateUi();
}

void MainWindow::openProject(const QString &path)
{
    appendLog(logLines::openFile(logLines::timeText(), path));
    undo->clear();
    clearProject();
    QString error;
    const bool ok = loadProject(path, &error);
    if (ok)
        projectPath = path;
    appendLog(logLines::status(ok));
    updateUi();
    if (!ok)
        showError(tr("Cannot open the project %1:\n%2").arg(path, error));
}

bool MainWindow::saveTo(const QString &path)
{
    appendLog(logLines::saveFile(logLines::timeText(), path));
    QString error;
    const bool ok = saveProject(path, &error);
    appendLog(logLines::status(ok));
    if (ok) {
        undo->clear();
        projectPath = path;
    } else {
        showError(tr("Cannot save the project to %1:\n%2").arg(path, error));
    }
    return ok;
}

void MainWindow::commandSave(bool)
{
    if (projectPath.isEmpty())
        commandSaveAs(true);
    else
        saveTo(projectPath);
}

void MainWindow::commandSaveAs(bool)
{
    const QString path = prompts->saveFileName(this, tr("Save to File"), projectName, fileFilter);
    if (!path.isEmpty())
        saveTo(path);
}

void MainWindow::commandCloseProject(bool)
{
    if (askSave()) {
        undo->clear();
        clearProject();
    }
    updateUi();
}

void MainWindow::commandProjName(bool)
{
    QString name = projectName;
    if (projName(name) && !name.isEmpty())
        projectName = name;
    updateUi();
}

void MainWindow::commandExit(bool)
{
    close();
}

void MainWindow::commandUndo(bool)
{
    undo->undo();
    trend->sync();
}

void MainWindow::commandRedo(bool)
{
    undo->redo();
    trend->sync();
}

void MainWindow::adopt(projectElement *element)
{
    const Qt::ConnectionType queued = Qt::QueuedConnection;
    element->setUndoStack(undo);
    connect(element, &projectElement::del, this, &MainWindow::delFromLayout, queued);
    connect(element, &projectElement::exe, this, &MainWindow::exeFromLayout, queued);
    connect(element, &projectElement::active, this, &MainWindow::activeFromLayout, queued);
    trend->adopt(element);
}

void MainWindow::addFromDialog(projectElement *element, projectLists::List list)
{
    std::unique_ptr<projectElement> row(element);
    const std::unique_ptr<QDialog> dialog(row->createDialog(this, false));
    if (!dialog || prompts->exec(dialog.get()) != QDialog::Accepted)
        return;
    row->setValues(row->dialogValues(dialog.get()));
    addRow(row.release(), list);
}

void MainWindow::addRow(projectElement *element, projectLists::List list)
{
    adopt(element);
    QBoxLayout *layout = lists->layout(list);
    undo->push(new addElementToLayout(layout, element, layout->count() - 1));
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
    addFromDialog(
        projectLists::create(projectLists::Ports, {{"type", "RTU"}}), projectLists::Ports);
}

void MainWindow::commandAddTCPPort(bool)
{
    addFromDialog(
        projectLists::create(projectLists::Ports, {{"type", "TCP"}}), projectLists::Ports);
}

void MainWindow::commandAddReadData(bool)
{
    addFromDialog(projectLists::create(projectLists::Reads, {}), projectLists::Reads);
}

void MainWindow::commandAddWriteData(bool)
{
    addFromDialog(projectLists::create(projectLists::Writes, {}), projectLists::Writes);
}

void MainWindow::commandAddMacroData(bool)
{
    QString name, params, desc;
    if (!prompts->chooseMacro(this, &name, &params, &desc))
        return;
    projectElement *element = projectLists::create(projectLists::Macros, {});
    element->setValues({name, params, desc});
    addRow(element, projectLists::Macros);
}

void MainWindow::activeFromLayout()
{
    auto *chosen = qobject_cast<projectElement *>(sender());
    const QList<projectElement *> ports = lists->elements(projectLists::Ports);
    // Choosing the port that alone is active already changes nothing.
    const auto changes
        = [chosen](const projectElement *port) { return port->isActive() != (port == chosen); };
    if (chosen && std::any_of(ports.cbegin(), ports.cend(), changes))
        undo->push(new activatePortElement(ports, chosen));
}

void MainWindow::delFromLayout()
{
    auto *element = qobject_cast<QWidget *>(sender());
    if (QBoxLayout *layout = element ? lists->layoutOf(element) : nullptr) {
        undo->push(new removeElementFromLayout(layout, element));
        trend->sync();
    }
}

QStringList MainWindow::activePort() const
{
    const projectElement *port = lists->activePort();
    return port ? port->driverArguments() : QStringList();
}

QString MainWindow::portParam()
{
    return activePort().join(QLatin1Char(' '));
}

void MainWindow::exeFromLayout()
{
    auto *element = qobject_cast<projectElement *>(sender());
    // With the refresh on, the element's run request waits for the next pass.
    if (!element || refresh->isOn())
        return;
    if (portParam().isEmpty()) {
        showError(tr("Please active port !!!"));
        return;
    }
    requests->runRows({element});
}

void MainWindow::commandWriteData(bool)
{
    if (portParam().isEmpty()) {
        showError(tr("Please active port !!!"));
        return;
    }
    writeData dialog(this);
    if (prompts->exec(&dialog) != QDialog::Accepted)
        return;
    requests->writeNow(dialog.type(), dialog.address(), dialog.value());
}

void MainWindow::commandWriteMacro(bool)
{
    if (portParam().isEmpty()) {
        showError(tr("Please active port !!!"));
        return;
    }
    QString name, params, desc;
    if (prompts->chooseMacro(this, &name, &params, &desc))
        requests->macroNow(name, params);
}

void MainWindow::commandReadAll(bool)
{
    requests->runRows(lists->elements(projectLists::Reads));
}

void MainWindow::commandWriteAll(bool)
{
    requests->runRows(lists->elements(projectLists::Writes));
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
