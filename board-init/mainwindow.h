#pragma once

#include <QMainWindow>

#include <memory>

class boardDialogs;

namespace Ui {
class MainWindow;
}

// The board initialiser's window: the settings for reaching the board and the
// operations that prepare it, each carried out by the OpenSSH client programs
// with their output in the log.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `dialogs` asks the user (owned by the window); the standard dialogs when null.
    explicit MainWindow(boardDialogs *dialogs = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

signals:
    // Every HTML fragment the window adds to the log, as added.
    void logAppended(const QString &html);

public slots:
    // Adds program output to the log, shown as plain text.
    void updateLog(QString text);

private slots:
    void commandExit(bool);
    void commandLog(bool);
    void commandSetOpenSSH(bool);
    void commandSetId(bool);
    void commandSetIp(bool);
    void commandSetSnRedmine();
    void commandSetWebserwer();
    void commandCopyFile();
    void commandSetDate();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void appendLog(const QString &html);
    void logCommandLine(const QString &commandLine);
    QString runSsh(const QString &remoteCommand);
    QString runScp(const QString &file, const QString &target);
    void storeSetting(const QString &key, const QString &value);

    Ui::MainWindow *ui;
    std::unique_ptr<boardDialogs> dialogs;
};
