#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;
class monitorWindow;
class projectDocument;
class userPrompts;

// View → Monitor: the bus monitor's window, made when it is first asked for
// and kept (hidden when closed) until the client's window goes; with it goes
// the monitor, if one still listens.
class monitorCommands : public QObject
{
    Q_OBJECT

public:
    // The action goes at the end of viewMenu; the monitor leaves the
    // project's active port to the drivers; questions are asked through
    // prompts.
    monitorCommands(
        QMenu *viewMenu, const projectDocument *project, userPrompts *prompts, QWidget *window);
    ~monitorCommands() override;

    // The window, when it has been made.
    monitorWindow *monitor() const;

public slots:
    void showMonitor();

private:
    const projectDocument *project;
    userPrompts *prompts;
    QAction *action;
    QPointer<monitorWindow> shown;
};
