#include "mainwindow.h"

#include "boarddialogs.h"
#include "logholder.h"
#include "scp.h"
#include "settingscache.h"
#include "ssh.h"
#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QMessageBox>

namespace {

const int BoardPort = 22;
const char BoardUser[] = "root";
const char BoardOptions[] = "-o 'StrictHostKeyChecking no'";
const char EepromFile[] = "/sys/class/i2c-dev/i2c-0/device/0-0050/eeprom";
const char WebserwerArchive[] = "/var/www_update/backup.tar.gz";
const char RemountCommand[] = "sudo mount -rw -o remount /";
const char WebserwerCommand[] = "sudo /bin/sh /usr/bin/www_local_update.sh";

// Text shown as it is in the HTML log: the characters that HTML would take
// as markup are written as entities.
QString plainInHtml(QString text)
{
    text.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return text;
}

// A message box without buttons that stays open while an operation runs.
class pleaseWait
{
public:
    pleaseWait()
    {
        box.setText(MainWindow::tr("Please wait ...") + QString(81, QLatin1Char(' ')));
        box.setStandardButtons(QMessageBox::NoButton);
        box.setWindowModality(Qt::NonModal);
        box.show();
    }
    ~pleaseWait() { box.close(); }

private:
    QMessageBox box;
};

} // namespace

MainWindow::MainWindow(boardDialogs *dialogs, QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , dialogs(dialogs ? dialogs : new boardDialogs)
{
    ui->setupUi(this);
    connect(
        ui->actionExit, &QAction::triggered, this, &MainWindow::commandExit, Qt::QueuedConnection);
    connect(
        ui->actionLog, &QAction::triggered, this, &MainWindow::commandLog, Qt::QueuedConnection);
    connect(ui->actionSetOpenSSH, &QAction::triggered, this, &MainWindow::commandSetOpenSSH,
        Qt::QueuedConnection);
    connect(ui->actionSetId, &QAction::triggered, this, &MainWindow::commandSetId,
        Qt::QueuedConnection);
    connect(ui->actionSetIp, &QAction::triggered, this, &MainWindow::commandSetIp,
        Qt::QueuedConnection);
    connect(ui->setSnRedmine, &QPushButton::pressed, this, &MainWindow::commandSetSnRedmine,
        Qt::QueuedConnection);
    connect(ui->setWebserwer, &QPushButton::pressed, this, &MainWindow::commandSetWebserwer,
        Qt::QueuedConnection);
    connect(ui->copyFile, &QPushButton::pressed, this, &MainWindow::commandCopyFile,
        Qt::QueuedConnection);
    connect(ui->setDate, &QPushButton::pressed, this, &MainWindow::commandSetDate,
        Qt::QueuedConnection);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::appendLog(const QString &html)
{
    logInstance().append(html);
    emit logAppended(html);
}

void MainWindow::updateLog(QString text)
{
    appendLog(plainInHtml(text));
}

void MainWindow::logCommandLine(const QString &commandLine)
{
    appendLog(QStringLiteral("<br>") + plainInHtml(commandLine) + QStringLiteral("<br>"));
}

// Runs one command on the board and returns the command line it ran. The
// output reaches the log as it comes, in order, before this returns.
QString MainWindow::runSsh(const QString &remoteCommand)
{
    const settingsCache &settings = settingsCache::instance();
    ssh run(settings.get(QStringLiteral("openSSH")), settings.get(QStringLiteral("ip")), BoardPort,
        QString::fromLatin1(BoardUser), settings.get(QStringLiteral("openSSHId")), remoteCommand,
        QString::fromLatin1(BoardOptions), false);
    connect(&run, &openSshRun::updateLog, this, &MainWindow::updateLog, Qt::DirectConnection);
    run.start();
    run.wait();
    disconnect(&run, nullptr, this, nullptr);
    return run.commandLine;
}

// Sends `file` to `target` on the board and returns the command line it ran.
QString MainWindow::runScp(const QString &file, const QString &target)
{
    const settingsCache &settings = settingsCache::instance();
    const QFileInfo info(file);
    scp run(settings.get(QStringLiteral("openSSH")), settings.get(QStringLiteral("ip")), BoardPort,
        QString::fromLatin1(BoardUser), settings.get(QStringLiteral("openSSHId")),
        QString::fromLatin1(BoardOptions), info.absolutePath(), info.fileName(), target, false);
    connect(&run, &openSshRun::updateLog, this, &MainWindow::updateLog, Qt::DirectConnection);
    run.start();
    run.wait();
    disconnect(&run, nullptr, this, nullptr);
    return run.commandLine;
}

// Keeps a setting; the store is written only when the value changed.
void MainWindow::storeSetting(const QString &key, const QString &value)
{
    settingsCache &settings = settingsCache::instance();
    const QString old = settings.get(key);
    settings.set(key, value);
    if (value != old && !settings.save())
        dialogs->warning(this, tr("Settings"), tr("The settings could not be saved."));
}

void MainWindow::commandExit(bool)
{
    logInstance().closeLog();
    close();
}

void MainWindow::commandLog(bool)
{
    logInstance().showLog();
}

void MainWindow::commandSetOpenSSH(bool)
{
    const QString folder = dialogs->existingDirectory(this, QStringLiteral("Select Folder"),
        settingsCache::instance().get(QStringLiteral("openSSH")));
    if (!folder.isEmpty())
        storeSetting(QStringLiteral("openSSH"), folder);
}

void MainWindow::commandSetId(bool)
{
    const QString file = dialogs->openFileName(this, tr("Open File"),
        settingsCache::instance().get(QStringLiteral("openSSHId")), QStringLiteral("(*.*)"));
    if (!file.isEmpty())
        storeSetting(QStringLiteral("openSSHId"), file);
}

void MainWindow::commandSetIp(bool)
{
    bool ok = false;
    const QString ip = dialogs->text(
        this, tr("Set IP"), tr("IP"), settingsCache::instance().get(QStringLiteral("ip")), &ok);
    if (ok && !ip.isEmpty())
        storeSetting(QStringLiteral("ip"), ip);
}

void MainWindow::commandSetDate()
{
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd-hh:mm"));
    runSsh(QStringLiteral("sudo date -s %1 && sudo hwclock --systohc --localtime").arg(now));
    appendLog(QStringLiteral("<br>"));
}

void MainWindow::commandSetSnRedmine()
{
    if (dialogs->yes(tr("Ask"), tr("Do you want set date first ?"),
            QStringLiteral(":/_icons/system_info_128.png")))
        commandSetDate();
    runSsh(QStringLiteral("qelEEPROMWr --eeprom %1 --sn %2 --redmine %3")
               .arg(QString::fromLatin1(EepromFile))
               .arg(ui->sn->value())
               .arg(ui->redmine->value()));
    appendLog(QStringLiteral("<br>"));
}

void MainWindow::commandSetWebserwer()
{
    const QString archive
        = dialogs->openFileName(this, tr("Select File"), QString(), QStringLiteral("(*.gz)"));
    if (archive.isEmpty())
        return;
    const pleaseWait wait;
    logCommandLine(runSsh(QString::fromLatin1(RemountCommand)));
    logCommandLine(runScp(archive, QString::fromLatin1(WebserwerArchive)));
    logCommandLine(runSsh(QString::fromLatin1(WebserwerCommand)));
}

void MainWindow::commandCopyFile()
{
    const QString file
        = dialogs->openFileName(this, tr("Select File"), QString(), QStringLiteral("(*.*)"));
    if (file.isEmpty())
        return;
    bool ok = false;
    const QString target = dialogs->text(
        this, tr("Select path where to copy"), tr("Path:"), QStringLiteral("/root"), &ok);
    if (!ok || target.isEmpty())
        return;
    const pleaseWait wait;
    logCommandLine(runSsh(QString::fromLatin1(RemountCommand)));
    logCommandLine(runScp(file, target));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    logInstance().closeLog();
}
