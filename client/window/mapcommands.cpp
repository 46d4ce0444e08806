#include "mapcommands.h"

#include "loglines.h"
#include "projectdocument.h"
#include "projectelement.h"
#include "registermapfile.h"
#include "registermappreview.h"
#include "userprompts.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace {

const QString warningIcon = QStringLiteral(":/_icons/system_warning_trans_128.png");

QString fileKindOf(const QString &path)
{
    return registerMapFile::kindOf(path) == registerMapFile::Kind::Xlsx ? QStringLiteral("xlsx")
                                                                        : QStringLiteral("csv");
}

QString settingsGroup(const QString &fileKind)
{
    return QStringLiteral("registerMap/") + fileKind;
}

} // namespace

mapCommands::mapCommands(QMenu *fileMenu, QAction *after, projectDocument *project,
    userPrompts *prompts, QWidget *window)
    : QObject(window)
    , project(project)
    , prompts(prompts)
    , window(window)
    , importMap(new QAction(tr("Import register map…"), window))
    , exportMap(new QAction(tr("Export register map…"), window))
{
    importMap->setObjectName(QStringLiteral("actionImportMap"));
    exportMap->setObjectName(QStringLiteral("actionExportMap"));
    const QList<QAction *> actions = fileMenu->actions();
    QAction *before = actions.value(actions.indexOf(after) + 1);
    fileMenu->insertActions(before, {importMap, exportMap});
    if (before && !before->isSeparator())
        fileMenu->insertSeparator(before);
    connect(importMap, &QAction::triggered, this, &mapCommands::chooseImport, Qt::QueuedConnection);
    connect(exportMap, &QAction::triggered, this, &mapCommands::chooseExport, Qt::QueuedConnection);
    // The window names and renames projects without telling: the state is
    // taken when the menu opens.
    connect(fileMenu, &QMenu::aboutToShow, this, &mapCommands::showState);
    showState();
}

void mapCommands::showState()
{
    const bool open = !project->name().isEmpty();
    importMap->setEnabled(open);
    exportMap->setEnabled(open);
}

mapOptions mapCommands::rememberedOptions(const QString &fileKind)
{
    QSettings settings;
    settings.beginGroup(settingsGroup(fileKind));
    mapOptions options;
    options.separator = mapOptions::Separator(qBound(0, settings.value("separator").toInt(), 2));
    options.encoding = mapOptions::Encoding(qBound(0, settings.value("encoding").toInt(), 2));
    options.decimal = mapOptions::Decimal(qBound(0, settings.value("decimal").toInt(), 2));
    options.addresses = mapOptions::Addresses(qBound(0, settings.value("addresses").toInt(), 1));
    return options;
}

void mapCommands::chooseImport()
{
    if (project->name().isEmpty())
        return;
    const QString path = prompts->openFileName(
        window, tr("Import register map"), tr("Register maps (*.csv *.xlsx *.txt);;All files (*)"));
    if (!path.isEmpty())
        importFrom(path);
}

bool mapCommands::importFrom(const QString &path)
{
    const QString fileKind = fileKindOf(path);
    QList<rowValues> rows;
    mapOptions chosen;
    {
        // The preview and its table are gone before the rows are made.
        registerMapPreview preview(path, rememberedOptions(fileKind), activePortText(), window);
        if (prompts->exec(&preview) != QDialog::Accepted || preview.result().entries.empty())
            return false;
        rows = preview.values();
        chosen = preview.options();
    }
    QSettings settings;
    settings.beginGroup(settingsGroup(fileKind));
    settings.setValue("separator", int(chosen.separator));
    settings.setValue("encoding", int(chosen.encoding));
    settings.setValue("decimal", int(chosen.decimal));
    settings.setValue("addresses", int(chosen.addresses));

    emit logged(logLines::importMap(logLines::timeText(), path));
    const bool added = project->addAll(rows);
    emit logged(logLines::status(added));
    return added;
}

void mapCommands::chooseExport()
{
    if (project->name().isEmpty())
        return;
    const QString path = prompts->saveFileName(window, tr("Export register map"),
        project->name() + QStringLiteral(".csv"),
        tr("CSV files (*.csv);;Excel workbooks (*.xlsx)"));
    if (!path.isEmpty())
        exportTo(path);
}

bool mapCommands::exportTo(const QString &path)
{
    QList<readValues> reads;
    QList<writeValues> writes;
    for (const projectElement *row : project->lists().elements(projectLists::Reads))
        reads << std::get<readValues>(row->values());
    for (const projectElement *row : project->lists().elements(projectLists::Writes))
        writes << std::get<writeValues>(row->values());
    emit logged(logLines::exportMap(logLines::timeText(), path));
    QString error;
    const bool ok = registerMapFile::write(path, reads, writes, &error);
    emit logged(logLines::status(ok));
    if (!ok)
        prompts->message(window, QMessageBox::Warning, tr("Error"),
            tr("Cannot write %1:\n%2").arg(path, error), warningIcon, QMessageBox::Close);
    return ok;
}

QString mapCommands::activePortText() const
{
    const std::optional<portValues> port = project->activePort();
    if (!port)
        return QString();
    const QString line = port->kind == portValues::Serial
        ? port->com + QLatin1Char(' ') + port->baudrate
        : QStringLiteral("TCP ") + port->ip + QLatin1Char(':') + port->port;
    return tr("%1 (%2, device %3)").arg(port->desc, line, port->addr);
}
