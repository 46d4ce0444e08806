#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "addelementtolayout.h"
#include "addreaddata.h"
#include "addrtuport.h"
#include "addtcpport.h"
#include "addwritedata.h"
#include "fd_macro.h"
#include "logholder.h"
#include "loglines.h"
#include "macrodialogfactory.h"
#include "macroelement.h"
#include "projectfile.h"
#include "readelement.h"
#include "removeelementfromlayout.h"
#include "requestrunner.h"
#include "rtuelement.h"
#include "tcpelement.h"
#include "undostack.h"
#include "userprompts.h"
#include "writedata.h"
#include "writeelement.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QSettings>
#include <QTimer>

namespace {

const QString infoIcon = QStringLiteral(":/_icons/system_info_128.png");
const QString warningIcon = QStringLiteral(":/_icons/system_warning_trans_128.png");
const QString fileFilter = QStringLiteral("(*.json)");

// The macros the chooser offers, in its order.
const QStringList chooserMacros {
    QStringLiteral("FD_MACRO_SET"),
    QStringLiteral("FD_MACRO_CONTROL_SWITCH"),
    QStringLiteral("FD_MACRO_LOGIN"),
    QStringLiteral("FD_MACRO_LOGOUT"),
    QStringLiteral("FD_MACRO_CLEAR_COUNTERS"),
    QStringLiteral("FD_MACRO_CLEAR_SIGNALS"),
    QStringLiteral("FD_MACRO_SET_ACTIVE_PROFILE"),
    QStringLiteral("FD_MACRO_SET_DATE_TIME"),
    QStringLiteral("FD_MACRO_SET_USER_COMMANDS"),
    QStringLiteral("FD_MACRO_SET_USER_PRIVILEGES"),
    QStringLiteral("FD_MACRO_SET_CONTROL_LR"),
    QStringLiteral("FD_MACRO_SET_PASSWORD_TIME"),
    QStringLiteral("FD_MACRO_SET_ACTIVE_SETofSETTINGS"),
    QStringLiteral("FD_MACRO_SET_PORT_ADDRESS"),
    QStringLiteral("FD_MACRO_SET_PORT_SETTINGS"),
    QStringLiteral("FD_MACRO_SET_PORT_TIMEOUT"),
    QStringLiteral("FD_MACRO_SET_PORT_PROTOCOL"),
    QStringLiteral("FD_MACRO_SET_IP_ADDRESS"),
    QStringLiteral("FD_MACRO_SET_IP_MASK"),
    QStringLiteral("FD_MACRO_SET_IP_GATEWAY"),
};

QString text(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

// The elements of class T in a list, top to bottom.
template<class T> QList<T *> elementsOf(const QBoxLayout *layout)
{
    QList<T *> list;
    for (int i = 0; i < layout->count(); ++i)
        if (T *element = qobject_cast<T *>(layout->itemAt(i)->widget()))
            list << element;
    return list;
}

template<class T> QList<T *> requested(const QList<T *> &list)
{
    QList<T *> marked;
    for (T *element : list)
        if (element->isExeRequested())
            marked << element;
    return marked;
}

template<class T> QJsonArray toArray(const QList<T *> &list)
{
    QJsonArray array;
    for (const T *element : list)
        array.append(element->toJson());
    return array;
}

} // namespace

MainWindow::MainWindow(QWidget *parent, userPrompts *prompts)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , ownPrompts(prompts ? nullptr : new userPrompts)
    , prompts(prompts ? prompts : ownPrompts.get())
    , animTimer(new QTimer(this))
    , runTimer(new QTimer(this))
{
    ui->setupUi(this);
    undo = new UndoStack(ui->actionUndo, ui->actionRedo);

    animTimer->setObjectName(QStringLiteral("animTimer"));
    animTimer->setInterval(150);
    runTimer->setObjectName(QStringLiteral("runTimer"));
    runTimer->setSingleShot(true);

    const QString blanks = QStringLiteral("  ");
    ui->statusBar->addWidget(new QLabel(blanks + tr("Statistics")));
    ui->statusBar->addWidget(new QLabel(blanks + tr("Total")));
    totalLabel = new QLabel;
    ui->statusBar->addWidget(totalLabel);
    ui->statusBar->addWidget(new QLabel(blanks + tr("Errors")));
    errorsLabel = new QLabel;
    ui->statusBar->addWidget(errorsLabel);
    statistics.reset(new runStatistics(totalLabel, errorsLabel));

    requests = new requestRunner(
        [this]() { return activePort(); }, ui->menuCommands, statistics.get(), this);
    connections << connect(requests, &requestRunner::logged, this, &MainWindow::appendLog);

    connectActions();
    updateUi();
}

MainWindow::~MainWindow()
{
    animTimer->stop();
    runTimer->stop();
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
    };
    for (const auto &entry : table)
        connections << connect(
            entry.action, &QAction::triggered, this, entry.slot, Qt::QueuedConnection);
    connections << connect(animTimer, &QTimer::timeout, this, &MainWindow::animateIcon);
    connections << connect(runTimer, &QTimer::timeout, this, &MainWindow::exeNextObject);
}

bool MainWindow::isBusy() const
{
    return requests->isBusy();
}

bool MainWindow::isVerbose() const
{
    return requests->isVerbose();
}

void MainWindow::appendLog(const QString &html)
{
    logInstance().append(html);
    emit logAppended(html);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    animTimer->stop();
    runTimer->stop();
    logInstance().closeLog();
    event->accept();
}

// ---- window state

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

void MainWindow::showNoActivePort()
{
    prompts->message(this, QMessageBox::Warning, tr("Error"), tr("Please active port !!!"),
        warningIcon, QMessageBox::Close);
}

void MainWindow::showError(const QString &text)
{
    prompts->message(
        this, QMessageBox::Warning, tr("Error"), text, warningIcon, QMessageBox::Close);
}

// ---- project

bool MainWindow::saveProject(const QString &path, QString *error)
{
    QJsonObject root;
    QJsonArray ports;
    for (int i = 0; i < ui->comLayout->count(); ++i) {
        QWidget *widget = ui->comLayout->itemAt(i)->widget();
        if (const rtuElement *rtu = qobject_cast<rtuElement *>(widget))
            ports.append(rtu->toJson());
        else if (const tcpElement *tcp = qobject_cast<tcpElement *>(widget))
            ports.append(tcp->toJson());
    }
    root.insert(QStringLiteral("communications"), ports);
    root.insert(QStringLiteral("read"), toArray(reads()));
    root.insert(QStringLiteral("write"), toArray(writes()));
    root.insert(QStringLiteral("macro"), toArray(macros()));
    root.insert(QStringLiteral("name"), projectName);
    return projectFile::save(path, root, error);
}

void MainWindow::loadPorts(const QJsonArray &ports)
{
    for (const QJsonValue &value : ports) {
        const QJsonObject object = value.toObject();
        const QString type = text(object, "type");
        QWidget *element = nullptr;
        if (type == QLatin1String("TCP")) {
            tcpElement *tcp = new tcpElement;
            tcp->setIp(text(object, "ip"));
            tcp->setDesc(text(object, "desc"));
            tcp->setAddr(text(object, "addr"));
            tcp->setPort(text(object, "port"));
            tcp->setActive(object.value(QLatin1String("active")).toBool());
            element = tcp;
        } else if (type == QLatin1String("RTU")) {
            rtuElement *rtu = new rtuElement;
            rtu->setCom(text(object, "com"));
            rtu->setDesc(text(object, "desc"));
            rtu->setAddr(text(object, "addr"));
            rtu->setBaudrate(text(object, "baudrate"));
            rtu->setActive(object.value(QLatin1String("active")).toBool());
            element = rtu;
        } else {
            continue;
        }
        adopt(element);
        ui->comLayout->insertWidget(ui->comLayout->count() - 1, element);
    }
}

bool MainWindow::loadProject(const QString &path, QString *error)
{
    const projectFile::Content content = projectFile::load(path);
    if (content.status != projectFile::Loaded) {
        if (error)
            *error = content.error;
        return false;
    }
    const QJsonObject &root = content.root;
    loadPorts(root.value(QLatin1String("communications")).toArray());

    // The requests go into their lists as the add commands put them, and the
    // history stays empty: an opened project is unmodified.
    for (const QJsonValue &value : root.value(QLatin1String("read")).toArray()) {
        const QJsonObject object = value.toObject();
        readElement *element = new readElement;
        element->setAddr(text(object, "addr"));
        element->setDesc(text(object, "desc"));
        element->setType(text(object, "type"));
        element->setFormat(text(object, "format"));
        adopt(element);
        ui->readLayout->insertWidget(ui->readLayout->count() - 1, element);
    }
    for (const QJsonValue &value : root.value(QLatin1String("write")).toArray()) {
        const QJsonObject object = value.toObject();
        writeElement *element = new writeElement;
        element->setAddr(text(object, "addr"));
        element->setDesc(text(object, "desc"));
        element->setType(text(object, "type"));
        element->setValue(text(object, "value"));
        adopt(element);
        ui->writeLayout->insertWidget(ui->writeLayout->count() - 1, element);
    }
    for (const QJsonValue &value : root.value(QLatin1String("macro")).toArray()) {
        const QJsonObject object = value.toObject();
        macroElement *element = new macroElement;
        element->setMacro(text(object, "macro"));
        element->setDesc(text(object, "desc"));
        element->setParam(text(object, "param"));
        adopt(element);
        ui->macroLayout->insertWidget(ui->macroLayout->count() - 1, element);
    }
    undo->clear();
    projectName = text(root, "name");
    return true;
}

void MainWindow::clearProject()
{
    for (QBoxLayout *layout : {static_cast<QBoxLayout *>(ui->comLayout),
             static_cast<QBoxLayout *>(ui->readLayout), static_cast<QBoxLayout *>(ui->writeLayout),
             static_cast<QBoxLayout *>(ui->macroLayout)}) {
        for (int i = layout->count() - 1; i >= 0; --i) {
            if (QWidget *widget = layout->itemAt(i)->widget()) {
                layout->removeWidget(widget);
                delete widget;
            }
        }
    }
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
    logInstance().closeLog();
    close();
}

void MainWindow::commandUndo(bool)
{
    undo->undo();
}

void MainWindow::commandRedo(bool)
{
    undo->redo();
}

// ---- elements

void MainWindow::adopt(QWidget *element)
{
    const Qt::ConnectionType queued = Qt::QueuedConnection;
    if (rtuElement *rtu = qobject_cast<rtuElement *>(element)) {
        rtu->setUndoStack(undo);
        connect(rtu, &rtuElement::del, this, &MainWindow::delFromLayout, queued);
        connect(rtu, &rtuElement::active, this, &MainWindow::activeFromLayout, queued);
    } else if (tcpElement *tcp = qobject_cast<tcpElement *>(element)) {
        tcp->setUndoStack(undo);
        connect(tcp, &tcpElement::del, this, &MainWindow::delFromLayout, queued);
        connect(tcp, &tcpElement::active, this, &MainWindow::activeFromLayout, queued);
    } else if (readElement *read = qobject_cast<readElement *>(element)) {
        read->setUndoStack(undo);
        connect(read, &readElement::del, this, &MainWindow::delFromLayout, queued);
        connect(read, &readElement::exe, this, &MainWindow::exeFromLayout, queued);
    } else if (writeElement *write = qobject_cast<writeElement *>(element)) {
        write->setUndoStack(undo);
        connect(write, &writeElement::del, this, &MainWindow::delFromLayout, queued);
        connect(write, &writeElement::exe, this, &MainWindow::exeFromLayout, queued);
    } else if (macroElement *macro = qobject_cast<macroElement *>(element)) {
        macro->setUndoStack(undo);
        connect(macro, &macroElement::del, this, &MainWindow::delFromLayout, queued);
        connect(macro, &macroElement::exe, this, &MainWindow::exeFromLayout, queued);
    }
}

void MainWindow::commandAddRTUPort(bool)
{
    addRTUPort dialog(this);
    if (prompts->exec(&dialog) != QDialog::Accepted)
        return;
    rtuElement *element = new rtuElement;
    element->setCom(dialog.com());
    element->setBaudrate(dialog.baudrate());
    element->setAddr(dialog.slave());
    element->setDesc(dialog.desc());
    adopt(element);
    undo->push(new addRtuElementToLayout(ui->comLayout, element, ui->comLayout->count() - 1));
    ui->tabWidget->setCurrentWidget(ui->tabCommunications);
}

void MainWindow::commandAddTCPPort(bool)
{
    addTCPPort dialog(this);
    if (prompts->exec(&dialog) != QDialog::Accepted)
        return;
    tcpElement *element = new tcpElement;
    element->setIp(dialog.ip());
    element->setPort(dialog.port());
    element->setAddr(dialog.slave());
    element->setDesc(dialog.desc());
    adopt(element);
    undo->push(new addTcpElementToLayout(ui->comLayout, element, ui->comLayout->count() - 1));
    ui->tabWidget->setCurrentWidget(ui->tabCommunications);
}

void MainWindow::commandAddReadData(bool)
{
    addReadData dialog(this);
    if (prompts->exec(&dialog) != QDialog::Accepted)
        return;
    readElement *element = new readElement;
    element->setAddr(dialog.address());
    element->setDesc(dialog.desc());
    element->setType(dialog.type());
    element->setFormat(dialog.format());
    adopt(element);
    undo->push(new addReadElementToLayout(ui->readLayout, element, ui->readLayout->count() - 1));
    ui->tabWidget->setCurrentWidget(ui->tabData);
    ui->tabWidget_2->setCurrentWidget(ui->tabRead);
}

void MainWindow::commandAddWriteData(bool)
{
    addWriteData dialog(this);
    if (prompts->exec(&dialog) != QDialog::Accepted)
        return;
    writeElement *element = new writeElement;
    element->setAddr(dialog.address());
    element->setDesc(dialog.desc());
    element->setType(dialog.type());
    element->setValue(dialog.value());
    adopt(element);
    undo->push(new addWriteElementToLayout(ui->writeLayout, element, ui->writeLayout->count() - 1));
    ui->tabWidget->setCurrentWidget(ui->tabData);
    ui->tabWidget_2->setCurrentWidget(ui->tabWrite);
}

bool MainWindow::chooseMacro(QString *name, QString *params, QString *desc)
{
    bool ok = false;
    const QString chosen
        = prompts->item(this, tr("Select macro"), tr("Macro:"), chooserMacros, 0, false, &ok);
    if (!ok)
        return false;
    std::unique_ptr<FD_MACRO> dialog(createMacroDialog(chosen, this));
    if (!dialog || prompts->exec(dialog.get()) != QDialog::Accepted)
        return false;
    *name = chosen;
    *params = dialog->macroParams();
    *desc = dialog->macroDesc();
    return true;
}

void MainWindow::commandAddMacroData(bool)
{
    QString name, params, desc;
    if (!chooseMacro(&name, &params, &desc))
        return;
    macroElement *element = new macroElement;
    element->setMacro(name);
    element->setParam(params);
    element->setDesc(desc);
    adopt(element);
    undo->push(new addMacroElementToLayout(ui->macroLayout, element, ui->macroLayout->count() - 1));
    ui->tabWidget->setCurrentWidget(ui->tabData);
    ui->tabWidget_2->setCurrentWidget(ui->tabMacro);
}

void MainWindow::activeFromLayout()
{
    QWidget *chosen = qobject_cast<QWidget *>(sender());
    for (int i = 0; i < ui->comLayout->count(); ++i) {
        QWidget *widget = ui->comLayout->itemAt(i)->widget();
        if (rtuElement *rtu = qobject_cast<rtuElement *>(widget))
            rtu->setActive(widget == chosen);
        else if (tcpElement *tcp = qobject_cast<tcpElement *>(widget))
            tcp->setActive(widget == chosen);
    }
}

void MainWindow::delFromLayout()
{
    QWidget *element = qobject_cast<QWidget *>(sender());
    if (!element)
        return;
    for (QBoxLayout *layout : {static_cast<QBoxLayout *>(ui->comLayout),
             static_cast<QBoxLayout *>(ui->readLayout), static_cast<QBoxLayout *>(ui->writeLayout),
             static_cast<QBoxLayout *>(ui->macroLayout)}) {
        if (layout->indexOf(element) >= 0) {
            undo->push(new removeElementFromLayout(layout, element));
            return;
        }
    }
}

QList<readElement *> MainWindow::reads() const
{
    return elementsOf<readElement>(ui->readLayout);
}

QList<writeElement *> MainWindow::writes() const
{
    return elementsOf<writeElement>(ui->writeLayout);
}

QList<macroElement *> MainWindow::macros() const
{
    return elementsOf<macroElement>(ui->macroLayout);
}

driverPort MainWindow::activePort() const
{
    for (int i = 0; i < ui->comLayout->count(); ++i) {
        QWidget *widget = ui->comLayout->itemAt(i)->widget();
        if (const rtuElement *rtu = qobject_cast<rtuElement *>(widget)) {
            if (rtu->isActive())
                return {rtu->commandLine(),
                    driverPort::serialArguments(rtu->addr(), rtu->com(), rtu->baudrate())};
        } else if (const tcpElement *tcp = qobject_cast<tcpElement *>(widget)) {
            if (tcp->isActive())
                return {tcp->commandLine(),
                    driverPort::tcpArguments(tcp->addr(), tcp->ip(), tcp->port())};
        }
    }
    return {};
}

QString MainWindow::portParam()
{
    return activePort().text;
}

// ---- running

void MainWindow::exeFromLayout()
{
    QObject *element = sender();
    // With the refresh on, the element's run request waits for the next pass.
    if (animTimer->isActive())
        return;
    if (portParam().isEmpty()) {
        showNoActivePort();
        return;
    }
    if (writeElement *write = qobject_cast<writeElement *>(element))
        requests->runWrites({write});
    else if (readElement *read = qobject_cast<readElement *>(element))
        requests->runReads({read});
    else if (macroElement *macro = qobject_cast<macroElement *>(element))
        requests->runMacros({macro});
}

void MainWindow::commandWriteData(bool)
{
    if (portParam().isEmpty()) {
        showNoActivePort();
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
        showNoActivePort();
        return;
    }
    QString name, params, desc;
    if (chooseMacro(&name, &params, &desc))
        requests->macroNow(name, params);
}

void MainWindow::commandReadAll(bool)
{
    requests->runReads(reads());
}

void MainWindow::commandWriteAll(bool)
{
    requests->runWrites(writes());
}

void MainWindow::commandRefresh(bool)
{
    if (animTimer->isActive()) {
        animTimer->stop();
        ui->menuCommands->setEnabled(true);
        return;
    }
    animTimer->start();
    ui->menuCommands->setEnabled(false);
    if (!runTimer->isActive())
        runTimer->start(10);
}

void MainWindow::animateIcon()
{
    ++animFrame;
    QString icon;
    switch (animFrame) {
    case 1:
        icon = QStringLiteral(":/_icons/system_load1_128.png");
        break;
    case 2:
        icon = QStringLiteral(":/_icons/system_load2_128.png");
        break;
    case 3:
        icon = QStringLiteral(":/_icons/system_load3_128.png");
        break;
    default:
        icon = QStringLiteral(":/_icons/system_load4_128.png");
        animFrame = 0;
        break;
    }
    ui->actionRefresh->setIcon(QIcon(icon));
}

void MainWindow::exeNextObject()
{
    if (!animTimer->isActive())
        return;
    requests->runReads(requested(reads()));
    requests->runWrites(requested(writes()));
    requests->runMacros(requested(macros()));

    const QList<readElement *> all = reads();
    // Switched off meanwhile: the pass starts no further driver.
    if (all.isEmpty() || !animTimer->isActive())
        return;
    if (readIndex < 0 || readIndex >= all.size())
        readIndex = 0;
    requests->runReads({all.at(readIndex)});
    ++readIndex;
    runTimer->start(100);
}

void MainWindow::commandLog(bool)
{
    logInstance().showLog();
}

void MainWindow::commandSelectLanguage(bool)
{
    QSettings settings;
    const QString stored = settings.value(QStringLiteral("language")).toString();
    const QStringList items {QStringLiteral("pl"), QStringLiteral("eng")};
    bool ok = false;
    const QString chosen = prompts->item(
        this, tr("Select language"), tr("Language"), items, items.indexOf(stored), true, &ok);
    if (!ok || chosen.isEmpty() || chosen == stored)
        return;
    settings.setValue(QStringLiteral("language"), chosen);
    prompts->message(this, QMessageBox::Information, tr("Info"),
        tr("Please restart the application to change language"), infoIcon, QMessageBox::Close);
}

void MainWindow::commandVerbose(bool)
{
    const QStringList items {tr("yes"), tr("no")};
    bool ok = false;
    const QString chosen = prompts->item(
        this, tr("Select verbose"), tr("Verbose"), items, isVerbose() ? 0 : 1, true, &ok);
    if (ok)
        requests->setVerbose(chosen == tr("yes"));
}
