#pragma once

#include <QObject>

class QAction;
class QTimer;
class QActionGroup;
class driverRunner;
class projectDocument;

// The automatic refresh: while it is on, the refresh icon turns (150 ms a
// frame) and a pass runs every 100 ms over the project's active port: the
// rows whose run was asked for, then the next read in list order. The
// commands that start runs stay disabled.
class autoRefresh : public QObject
{
    Q_OBJECT

public:
    autoRefresh(QAction *refreshAction, QActionGroup *runCommands, driverRunner *runner,
        const projectDocument *project, QObject *parent);
    ~autoRefresh() override;

    bool isOn() const;
    // Switches on or off; switched off, the running pass finishes and no
    // further pass starts.
    void toggle();
    // Stops both timers for good (the window closes).
    void stop();

    // The next frame of the refresh icon.
    void animate();
    // One pass.
    void pass();

private:
    QAction *refreshAction;
    QActionGroup *runCommands;
    driverRunner *runner;
    const projectDocument *project;
    QTimer *animTimer;
    QTimer *runTimer;
    int animFrame = 0;
    int readIndex = -1;
};
