#include "converterconsole.h"

#include "checks.h"
#include "databasekinds.h"
#include "optionpairs.h"

#include <QCoreApplication>

namespace ConverterConsole {

static QString tr(const char *text)
{
    return QCoreApplication::translate("ConverterConsole", text);
}

QString helpText(const QString &example, const QString &fileOption, const QString &fileDescription)
{
    QString text = example + QStringLiteral("<br><br>");
    text += helpRow(QStringLiteral("--db"), tr("Sqlite base"));
    text += helpRow(fileOption, fileDescription);
    text += helpRow(QStringLiteral("--type"), tr("Base type"));
    // An empty option gives the indented row "&nbsp;&nbsp;" padded to 30.
    for (const QString &type : DatabaseKinds::typeNames())
        text += helpRow(QString(), QStringLiteral(";&nbsp;") + type);
    text += helpRow(QStringLiteral("--help"), tr("Help"));
    return text;
}

QString missingOptions(const OptionPairs &options, const QStringList &required)
{
    QString missing;
    for (const QString &name : required) {
        if (!options.has(name))
            missing += QStringLiteral("&nbsp;") + name + QStringLiteral("<br>");
    }
    return missing;
}

} // namespace ConverterConsole
