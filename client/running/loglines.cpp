#include "loglines.h"

#include "font.h"

namespace {

// Texts from a project file or a driver go into the HTML log as text. The
// placeholders are replaced in one pass, so a "%2" inside a value stays.
QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QString logLines::timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString logLines::status(bool ok)
{
    return QStringLiteral("<b>")
        + (ok ? font(tr("OK"), QString(), QStringLiteral("green"), QString())
              : font(tr("ERROR"), QString(), QStringLiteral("red"), QString()))
        + QStringLiteral("</b><br>");
}

QString logLines::failed(const QString &cause)
{
    if (cause.isEmpty())
        return status(false);
    return QStringLiteral("<b>") + font(tr("ERROR"), QString(), QStringLiteral("red"), QString())
        + QStringLiteral("</b> ") + escaped(cause) + QStringLiteral("<br>");
}

QString logLines::write(
    const QString &time, const QString &type, const QString &addr, const QString &value)
{
    return QStringLiteral("%1 --- <b>WRITE</b> %2 [ <b>%4</b> --&gt; %3 ] ")
        .arg(time, escaped(type), escaped(addr), escaped(value));
}

QString logLines::macro(const QString &time, const QString &name)
{
    return QStringLiteral("%1 --- <b>MACRO</b> %2 ").arg(time, escaped(name));
}

QString logLines::read(
    const QString &time, const QString &type, const QString &addr, const QString &value)
{
    return QStringLiteral("%1 --- <b>READ</b> %2 [ %3 --&gt; <b>%4</b> ] ")
        .arg(time, escaped(type), escaped(addr), escaped(value));
}

namespace {

QString fileLine(const QString &time, const QString &word, const QString &path)
{
    return time + QStringLiteral(" <b>") + word + QStringLiteral("</b> [") + escaped(path)
        + QStringLiteral("] ");
}

} // namespace

QString logLines::openFile(const QString &time, const QString &path)
{
    return fileLine(time, tr("Open file"), path);
}

QString logLines::saveFile(const QString &time, const QString &path)
{
    return fileLine(time, tr("Save file"), path);
}

QString logLines::recordFile(const QString &time, const QString &path)
{
    return fileLine(time, tr("Record file"), path);
}

QString logLines::importMap(const QString &time, const QString &path)
{
    return fileLine(time, tr("Import map"), path);
}

QString logLines::exportMap(const QString &time, const QString &path)
{
    return fileLine(time, tr("Export map"), path);
}

QString logLines::commandLine(const QString &text)
{
    return QStringLiteral("cmd ") + escaped(text) + QStringLiteral("<br>");
}

QString logLines::driverText(const QString &line)
{
    return QStringLiteral("err ") + escaped(line) + QStringLiteral("<br>");
}

QString logLines::tx(const QString &frame)
{
    return QStringLiteral("tx ") + frame + QStringLiteral("<br>");
}

QString logLines::rx(const QString &frame)
{
    return QStringLiteral("rx ") + frame + QStringLiteral("<br>");
}

QString logLines::refused(const QString &time, const QString &reason)
{
    return time + QStringLiteral(" --- ")
        + font(reason.toHtmlEscaped(), QString(), QStringLiteral("red"), QString())
        + QStringLiteral("<br>");
}
