#include "frameformat.h"

#include "requestlog.h"

#include <QTextStream>

QByteArray FrameFormat::takePending()
{
    const QByteArray frame = buffer;
    buffer.clear();
    return frame;
}

void FrameFormat::note(const QString &text, const QByteArray &frame)
{
    QTextStream(stderr) << "qelDevSim: " << text
                        << ", frame ignored: " << RequestLog::hexLine(frame) << Qt::endl;
}
