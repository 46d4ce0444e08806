#include "autorefresh.h"

#include "driverrunner.h"
#include "elementicons.h"
#include "projectdocument.h"
#include "projectelement.h"

#include <QAction>
#include <QActionGroup>
#include <QTimer>

namespace {

QList<projectElement *> requested(const QList<projectElement *> &list)
{
    QList<projectElement *> marked;
    for (projectElement *element : list)
        if (element->isExeRequested())
            marked << element;
    return marked;
}

} // namespace

autoRefresh::autoRefresh(QAction *refreshAction, QActionGroup *runCommands, driverRunner *runner,
    const projectDocument *project, QObject *parent)
    : QObject(parent)
    , refreshAction(refreshAction)
    , runCommands(runCommands)
    , runner(runner)
    , project(project)
    , animTimer(new QTimer(this))
    , runTimer(new QTimer(this))
{
    animTimer->setObjectName(QStringLiteral("animTimer"));
    animTimer->setInterval(150);
    runTimer->setObjectName(QStringLiteral("runTimer"));
    runTimer->setSingleShot(true);
    connect(animTimer, &QTimer::timeout, this, &autoRefresh::animate);
    connect(runTimer, &QTimer::timeout, this, &autoRefresh::pass);
}

autoRefresh::~autoRefresh()
{
    stop();
}

bool autoRefresh::isOn() const
{
    return animTimer->isActive();
}

void autoRefresh::stop()
{
    animTimer->stop();
    runTimer->stop();
}

void autoRefresh::toggle()
{
    if (animTimer->isActive()) {
        animTimer->stop();
        runCommands->setEnabled(true);
        return;
    }
    animTimer->start();
    runCommands->setEnabled(false);
    if (!runTimer->isActive())
        runTimer->start(10);
}

void autoRefresh::animate()
{
    ++animFrame;
    if (animFrame > 3)
        animFrame = 0;
    // Frames 1 to 3 show the first three pictures; the fourth ends the turn.
    const int picture = animFrame == 0 ? 4 : animFrame;
    // The shared icon of each picture: a new icon per frame would leave its
    // scaled pixmaps in the pixmap cache under a new key, frame after frame.
    refreshAction->setIcon(
        elementIcon(QStringLiteral(":/_icons/system_load%1_128.png").arg(picture)));
}

void autoRefresh::pass()
{
    if (!animTimer->isActive())
        return;
    const projectLists &lists = project->lists();
    for (projectLists::List list :
        {projectLists::Reads, projectLists::Writes, projectLists::Macros})
        runner->runRows(project->activePort(), requested(lists.elements(list)));

    const QList<projectElement *> all = lists.elements(projectLists::Reads);
    // Switched off meanwhile: the pass starts no further driver.
    if (all.isEmpty() || !animTimer->isActive())
        return;
    if (readIndex < 0 || readIndex >= all.size())
        readIndex = 0;
    runner->runRows(project->activePort(), {all.at(readIndex)});
    ++readIndex;
    runTimer->start(100);
}
