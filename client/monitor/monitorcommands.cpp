#include "monitorcommands.h"

#include "driverlocation.h"
#include "freeserialports.h"
#include "monitorwindow.h"
#include "portvalues.h"
#include "projectdocument.h"

#include <QAction>
#include <QMenu>

monitorCommands::monitorCommands(
    QMenu *viewMenu, const projectDocument *project, userPrompts *prompts, QWidget *window)
    : QObject(window)
    , project(project)
    , prompts(prompts)
    , action(new QAction(tr("Monitor"), window))
{
    action->setObjectName(QStringLiteral("actionMonitor"));
    action->setToolTip(tr("Listen to a serial bus and show what its master and devices say"));
    viewMenu->addAction(action);
    connect(action, &QAction::triggered, this, &monitorCommands::showMonitor, Qt::QueuedConnection);
}

monitorCommands::~monitorCommands()
{
    // The window has no parent, so that it is a window of its own; it goes
    // here, and its monitor with it.
    delete shown.data();
}

monitorWindow *monitorCommands::monitor() const
{
    return shown;
}

void monitorCommands::showMonitor()
{
    if (!shown) {
        const auto activeDevice = [this]() -> QString {
            const std::optional<portValues> port = project->activePort();
            if (!port || port->kind != portValues::Serial)
                return QString();
            // The device as the drivers are given it.
            const QStringList arguments = port->arguments();
            const int option = arguments.indexOf(QStringLiteral("--port"));
            return option >= 0 ? arguments.value(option + 1) : QString();
        };
        shown = new monitorWindow(driverLocation(QStringLiteral("qelDrvMonitor")), prompts,
            activeDevice, freeSerialPorts);
        shown->setAttribute(Qt::WA_QuitOnClose, false);
        // A port made the active one while the monitor listens to it is left
        // to the drivers.
        connect(project, &projectDocument::changed, shown.data(), &monitorWindow::leaveActivePort);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}
