#include "logholder.h"

#include "logwindow.h"

#include <QCoreApplication>

namespace {
logHolder *holder = nullptr;
}

logHolder::logHolder()
    : log(new logWindow)
{
    log->hide();
}

logHolder::~logHolder()
{
    delete log;
}

// Runs while the application object is being destroyed, before the window
// system goes away: a window left to the end of the process would leak.
void logHolder::destroy()
{
    delete holder;
    holder = nullptr;
}

logHolder &logInstance()
{
    if (!holder) {
        holder = new logHolder;
        qAddPostRoutine(logHolder::destroy);
    }
    return *holder;
}

void logHolder::append(const QString &html)
{
    log->append(html);
}

void logHolder::showLog()
{
    log->activateWindow();
    log->raise();
    if (!log->isVisible())
        log->show();
}

void logHolder::closeLog()
{
    log->close();
    QCoreApplication::processEvents();
}
