#pragma once

#include "driverrunner.h"
#include "rowvalues.h"

#include <QMainWindow>
#include <QMetaObject>
#include <QString>

#include <memory>
#include <optional>

class QActionGroup;
class autoRefresh;
class projectDocument;
class projectElement;
class runStatistics;
class mapCommands;
class trendCommands;
class userPrompts;

namespace Ui {
class MainWindow;
}

// The client's window: menus, tool bars, the four lists of the project's
// rows and the statistics in the status bar. It asks the user (through
// userPrompts) and hands the work on: the project to its document, the runs
// to the runner, the automatic refresh to autoRefresh, the trend and the
// recording to trendCommands, the bus monitor to monitorCommands, the
// register maps to mapCommands.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // prompts answers the window's questions; null: the real dialogs.
    explicit MainWindow(QWidget *parent = nullptr, userPrompts *prompts = nullptr);
    ~MainWindow() override;

    // Opens a project file as Open does once the file is chosen.
    void loadFile(const QString &path);
    // Saves the project to path with its log lines; false, and the user told
    // why, when it could not be written.
    bool saveFile(const QString &path);
    // "Save project ?" when the project is modified; false: the calling
    // command must stop (cancelled, or the save did not succeed).
    bool maybeSave();
    // Enables what needs a project and sets the title.
    void updateUi();

    projectDocument *document() const { return project; }
    bool isBusy() const { return requests->isBusy(); }
    bool isVerbose() const { return requests->isVerbose(); }
    driverRunner *runner() const { return requests; }
    // The trend of the marked reads and the CSV recording.
    trendCommands *trends() const { return trend; }
    mapCommands *registerMaps() const { return maps; }

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
    void exeFromLayout();
    void exeNextObject();

private:
    void connectActions();
    // Follows a row that came into the project: its questions, its run
    // button, its trend mark.
    void adopt(projectElement *row);
    // Asks for a new row's values in a dialog of type Dialog.
    template<class Dialog> void addFromDialog();
    // Adds a row of values (nothing when cancelled) and shows its tab.
    void addRow(const std::optional<rowValues> &values);
    // Names the file of the project, once it was read from it or written to it.
    void setCurrentFile(const QString &path);
    // Whether a port is active; without one the user is told so.
    bool hasActivePort();
    void showError(const QString &text);
    void appendLog(const QString &html);

    Ui::MainWindow *ui;
    std::unique_ptr<userPrompts> ownPrompts;
    userPrompts *prompts;
    projectDocument *project;
    std::unique_ptr<runStatistics> statistics;
    driverRunner *requests;
    autoRefresh *refresh;
    trendCommands *trend;
    mapCommands *maps;
    QActionGroup *runCommands;
    QList<QMetaObject::Connection> connections;
};
