#include "standins.h"

#include <QFile>

namespace {

QByteArray shellQuoted(const QString &text)
{
    QByteArray bytes = text.toLocal8Bit();
    bytes.replace('\'', "'\\''");
    return '\'' + bytes + '\'';
}

} // namespace

bool writeStandIn(
    const QString &folder, const QString &name, const QString &recordFile, const QByteArray &body)
{
    const QByteArray record = shellQuoted(recordFile);
    QByteArray script = "{ printf '== %s\\n' " + shellQuoted(name)
        + "; printf '%s\\n' \"$(pwd)\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } >> "
        + record + "\n";
    script += body.isNull() ? "printf '%s ran\\r\\n' " + shellQuoted(name) + "\n" : body;
    return writeScript(folder + QLatin1Char('/') + name, script);
}

QList<StandInRun> readRecord(const QString &recordFile)
{
    QList<StandInRun> runs;
    QFile file(recordFile);
    if (!file.open(QIODevice::ReadOnly))
        return runs;
    const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.startsWith(QLatin1String("== "))) {
            StandInRun run;
            run.program = line.mid(3);
            if (i + 1 < lines.size())
                run.workingDirectory = lines.at(++i);
            runs.append(run);
        } else if (!runs.isEmpty() && i + 1 < lines.size()) {
            runs.last().arguments.append(line);
        }
    }
    return runs;
}
