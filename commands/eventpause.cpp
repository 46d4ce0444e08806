#include "eventpause.h"

#include <QEventLoop>
#include <QTimer>

void pauseProcessingEvents(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
