#pragma once

#include <QImage>
#include <QObject>
#include <QPixmap>

class QSplashScreen;

// The launcher's greeting: the splash picture held for a second, then faded
// towards white in 80 frames and hidden.
class SplashFade : public QObject
{
    Q_OBJECT
public:
    static constexpr int FrameCount = 80;
    static constexpr int HoldMs = 1000;
    static constexpr int FrameMs = 10;

    explicit SplashFade(const QPixmap &picture, QObject *parent = nullptr);

    // Opacity of the picture in frame `index`: 1.00 for the first frame, 0.21 for the last.
    static qreal opacity(int index);
    // Frame `index`: the picture painted at its frame opacity over white, in the
    // 32-bit premultiplied ARGB format and the picture's size.
    static QImage frame(const QPixmap &picture, int index);

    // Shows `splash` with the picture, holds it, fades it frame by frame and hides it.
    void run(QSplashScreen &splash);

signals:
    void frameShown(int index, const QImage &image);

private:
    static void pause(int ms);

    QPixmap picture;
};
