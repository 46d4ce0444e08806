#include "registermapfile.h"

#include "csvmaptable.h"
#include "registermapreader.h"
#include "registermapwriter.h"
#include "xlsxmaptable.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

registerMapFile::Kind registerMapFile::kindOf(const QString &path)
{
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ? Kind::Xlsx : Kind::Csv;
}

mapImport registerMapFile::read(const QString &path, const mapOptions &options, QString *detected)
{
    mapImport failed;
    const auto fail = [&failed](const QString &reason) {
        failed.problems.push_back({0, QString(), reason});
        return failed;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(tr("%1 does not exist").arg(path));
    if (!info.isFile())
        return fail(info.isDir() ? tr("%1 is a folder").arg(path)
                                 : tr("%1 is not a regular file").arg(path));
    if (info.size() > MaxBytes)
        return fail(tr("%1 is larger than %2 MiB").arg(path).arg(MaxBytes / (1024 * 1024)));

    mapTable table;
    if (kindOf(path) == Kind::Xlsx) {
        QString error;
        if (!xlsxMapTable::read(path, &table, &error))
            return fail(tr("%1 is not a readable workbook: %2").arg(path, error));
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(tr("%1 cannot be read: %2").arg(path, file.errorString()));
        // The size was checked; a file that grew since is cut there.
        const QByteArray bytes = file.read(MaxBytes + 1);
        if (bytes.size() > MaxBytes)
            return fail(tr("%1 is larger than %2 MiB").arg(path).arg(MaxBytes / (1024 * 1024)));
        csvMapTable::decoded decoded = csvMapTable::read(bytes, options);
        table = std::move(decoded.table);
        if (detected)
            *detected = tr("separator \"%1\", %2")
                            .arg(decoded.separator)
                            .arg(decoded.windows1250 ? QStringLiteral("Windows-1250")
                                                     : QStringLiteral("UTF-8"));
    }
    return registerMapReader::read(table, options);
}

bool registerMapFile::write(const QString &path, const QList<readValues> &reads,
    const QList<writeValues> &writes, QString *error)
{
    const mapTable table = registerMapWriter::table(reads, writes);
    if (kindOf(path) == Kind::Xlsx)
        return xlsxMapTable::write(path, table, registerMapWriter::numberColumns(), error);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = csvMapTable::write(table);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
