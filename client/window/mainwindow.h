#pragma once

#include "driverrunner.h"
#include "projectlists.h"
#include "runstatistics.h"

#include <QMainWindow>
#include <QMetaObject>
#include <QString>
#include <memory>

class QBoxLayout;
class QActionGroup;
class UndoStack;
class autoRefresh;
class trendCommands;
class projectElement;
class userPrompts;

namespace Ui {
class MainWindow;
}

// The client's window: the project's ports and requests as element rows in
// four lists, the file commands, the run commands and the automatic refresh,
// the statistics in the status bar.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // prompts answers the window's questions; null: the real dialogs.
    explicit MainWindow(QWidget *parent = nullptr, userPrompts *prompts = nullptr);
    ~MainWindow() override;

    // Writes the project to path; on failure error says why.
    bool saveProject(const QString &path, QString *error = nullptr);
    // Reads the project of path into the (emptied) lists. False when the file
    // cannot be read or holds no JSON object; error says why.
    bool loadProject(const QString &path, QString *error = nullptr);
    // Deletes every element of the lists and forgets the project's name and
    // file.
    void clearProject();
    // "Save project ?" when the project is modified; false: the calling
    // command must stop (cancelled, or the save did not succeed).
    bool askSave();
    // Enables what needs a project and sets the title.
    void updateUi();
    // Opens a project file as Open does once the file is chosen.
    void openProject(const QString &path);

    QString currentProjectName() const { return projectName; }
    QString currentProjectPath() const { return projectPath; }
    bool isBusy() const { return requests->isBusy(); }
    bool isVerbose() const { return requests->isVerbose(); }
    driverRunner *runner() const { return requests; }
    // The trend of the marked reads and the CSV recording.
    trendCommands *trends() const { return trend; }

signals:
    // An HTML fragment has been appended to the log.
    void logAppended(const QString &html);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void animateIcon();
    void commandNew(bool);
    void commandOpen(bool);
    void commandSave(bool);
    void commandSaveAs(bool);
    void commandCloseProject(bool);
    void commandExit(bool);
    void commandUndo(bool);
    void commandRedo(bool);
    void commandProjName(bool);
    void commandAddRTUPort(bool);
    void commandAddTCPPort(bool);
    void commandAddReadData(bool);
    void commandAddWriteData(bool);
    void commandAddMacroData(bool);
    void commandWriteData(bool);
    void commandWriteMacro(bool);
    void commandWriteAll(bool);
    void commandReadAll(bool);
    void commandRefresh(bool);
    void commandLog(bool);
    void commandSelectLanguage(bool);
    void commandVerbose(bool);
    void commandStop(bool);
    void activeFromLayout();
    void delFromLayout();
    void exeFromLayout();
    void exeNextObject();
    bool projName(QString &proj);
    QString portParam();

private:
    void connectActions();
    // Hands a new element the undo history and connects its signals.
    void adopt(projectElement *element);
    // Asks for a new row's values in its dialog and adds it; the row is
    // deleted when the dialog is cancelled.
    void addFromDialog(projectElement *element, projectLists::List list);
    // Adds a row at the end of its list through the history and shows its tab.
    void addRow(projectElement *element, projectLists::List list);
    // Saves to path with its log lines; the history is cleared and the path
    // kept only when the file was written.
    bool saveTo(const QString &path);
    void showError(const QString &text);
    QStringList activePort() const;
    void appendLog(const QString &html);

    Ui::MainWindow *ui;
    std::unique_ptr<userPrompts> ownPrompts;
    userPrompts *prompts;
    UndoStack *undo;
    QString projectName;
    QString projectPath;
    std::unique_ptr<runStatistics> statistics;
    driverRunner *requests;
    std::unique_ptr<projectLists> lists;
    autoRefresh *refresh;
    trendCommands *trend;
    QActionGroup *runCommands;
    QList<QMetaObject::Connection> connections;
};
