#include "driveroutput.h"

#include <QRegularExpression>

namespace {

const QString waitMark = QStringLiteral("Waiting for a confirmation...");

} // namespace

QString driverOutput::readValue(const QString &out, bool verbose)
{
    QString value = out;
    // After the engine's trace the value is the last line: a text read may
    // hold the '>' that ends the trace of the received bytes.
    if (verbose) {
        while (value.endsWith(QLatin1Char('\n')) || value.endsWith(QLatin1Char('\r')))
            value.chop(1);
        value = value.mid(value.lastIndexOf(QLatin1Char('\n')) + 1);
    }
    value.remove(QLatin1Char('\n'));
    value.remove(QLatin1Char('\r'));
    return value;
}

QString driverOutput::sentFrame(const QString &out)
{
    // The engine prints a frame as "[XX]" bytes on one line before it waits
    // for the reply; other bracketed text ("params [ 1 2 ]", progress bars)
    // never has this form.
    static const QRegularExpression frame(QStringLiteral("(?:\\[[0-9A-F]{2}\\])+"));
    const int wait = out.lastIndexOf(waitMark);
    const QString before = wait < 0 ? out : out.left(wait);
    QString last;
    QRegularExpressionMatchIterator it = frame.globalMatch(before);
    while (it.hasNext())
        last = it.next().captured();
    return last;
}

QString driverOutput::receivedFrame(const QString &out)
{
    static const QRegularExpression bytes(QStringLiteral("(?:<[0-9A-F]{2}>)+"));
    const int wait = out.lastIndexOf(waitMark);
    if (wait < 0)
        return QString();
    const QRegularExpressionMatch match = bytes.match(out, wait + waitMark.size());
    if (!match.hasMatch())
        return QString();
    QString frame = match.captured();
    frame.replace(QLatin1Char('<'), QLatin1Char('['));
    frame.replace(QLatin1Char('>'), QLatin1Char(']'));
    return frame;
}
