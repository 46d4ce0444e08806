#include "splashfade.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <QSplashScreen>
#include <QTimer>

SplashFade::SplashFade(const QPixmap &picture, QObject *parent)
    : QObject(parent)
    , picture(picture)
{ }

qreal SplashFade::opacity(int index)
{
    return 1.0 - 0.01 * index;
}

QImage SplashFade::frame(const QPixmap &picture, int index)
{
    QImage image(picture.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    if (!picture.isNull()) {
        QPainter painter(&image);
        painter.setOpacity(opacity(index));
        painter.drawPixmap(0, 0, picture);
    }
    return image;
}

void SplashFade::run(QSplashScreen &splash)
{
    splash.setPixmap(picture);
    splash.show();
    QCoreApplication::processEvents();
    pause(HoldMs);
    for (int index = 0; index < FrameCount; ++index) {
        const QImage image = frame(picture, index);
        splash.setPixmap(QPixmap::fromImage(image));
        QCoreApplication::processEvents();
        emit frameShown(index, image);
        pause(FrameMs);
    }
    splash.hide();
}

// Waits while the window system keeps the splash painted (exposure, moves).
void SplashFade::pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
