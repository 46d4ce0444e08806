#include "projectdocument.h"

#include "activateportelement.h"
#include "addelementtolayout.h"
#include "commandgroup.h"
#include "editelementtolayout.h"
#include "markreadelementfortrend.h"
#include "outofsight.h"
#include "projectelement.h"
#include "projectfile.h"
#include "readelement.h"
#include "removeelementfromlayout.h"
#include "undostack.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QPointer>

#include <algorithm>

projectDocument::projectDocument(QBoxLayout *ports, QBoxLayout *reads, QBoxLayout *writes,
    QBoxLayout *macros, QAction *undoAction, QAction *redoAction, QObject *parent)
    : QObject(parent)
    , rows(new projectLists(ports, reads, writes, macros))
    , history(new UndoStack(undoAction, redoAction))
{ }

// The history goes first: its commands may own rows that are out of the
// lists. The rows in the lists go with the window's form.
projectDocument::~projectDocument()
{
    history.reset();
}

bool projectDocument::isModified() const
{
    return !history->isEmpty();
}

std::optional<portValues> projectDocument::activePort() const
{
    if (const projectElement *port = rows->activePort())
        return std::get<portValues>(port->values());
    return std::nullopt;
}

bool projectDocument::load(const QString &path, QString *error)
{
    clear();
    const projectFile::Content content = projectFile::load(path);
    const QString problem = content.status == projectFile::Loaded
        ? projectLists::problemOf(content.root)
        : content.error;
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    // The rows go into their lists as an addition would put them, outside
    // the history: an opened project is unmodified.
    rows->fromJson(content.root, [this](projectElement *row) { adopt(row); });
    projectName = content.root.value(QLatin1String("name")).toString();
    emit changed();
    return true;
}

bool projectDocument::save(const QString &path, QString *error)
{
    if (!projectFile::save(path, rows->toJson(projectName), error))
        return false;
    history->clear();
    return true;
}

void projectDocument::clear()
{
    history->clear();
    rows->clear();
    projectName.clear();
    // A later Save must not write another project over this one's file.
    projectPath.clear();
    emit changed();
}

void projectDocument::adopt(projectElement *row)
{
    // Deletions and activations come queued, as the buttons' own signals: a
    // row that is gone by then asks nothing.
    const auto later = [this, guarded = QPointer<projectElement>(row)](
                           void (projectDocument::*change)(projectElement *)) {
        return [this, guarded, change] {
            if (guarded)
                (this->*change)(guarded);
        };
    };
    connect(row, &projectElement::del, this, later(&projectDocument::remove), Qt::QueuedConnection);
    connect(row, &projectElement::active, this, later(&projectDocument::activate),
        Qt::QueuedConnection);
    connect(row, &projectElement::editRequested, this,
        [this, row](const rowValues &values) { edit(row, values); });
    if (auto *read = qobject_cast<readElement *>(row))
        connect(read, &readElement::trendMarkRequested, this,
            [this, read](bool marked) { markForTrend(read, marked); });
    emit rowAdopted(row);
}

std::unique_ptr<command> projectDocument::addition(const rowValues &values, projectElement **row)
{
    *row = projectLists::create(values);
    adopt(*row);
    QBoxLayout *layout = rows->layout(projectLists::listOf(values));
    return std::make_unique<addElementToLayout>(layout, *row, layout->count() - 1);
}

bool projectDocument::takes(const rowValues &values, int index)
{
    const QString problem = problemOf(values);
    if (problem.isEmpty())
        return true;
    emit refused(tr("%1, row %2: %3")
                     .arg(projectLists::title(projectLists::listOf(values)))
                     .arg(index + 1)
                     .arg(problem));
    return false;
}

projectElement *projectDocument::add(const rowValues &values)
{
    const projectLists::List list = projectLists::listOf(values);
    if (!takes(values, rows->elements(list).size()))
        return nullptr;
    projectElement *row = nullptr;
    history->push(addition(values, &row).release());
    emit changed();
    return row;
}

// As a project is opened: the lists out of sight while they fill, and the
// new rows' pending events delivered now and then so that they stay few.
bool projectDocument::addAll(const QList<rowValues> &values)
{
    // Rows that break the rules of their fields are refused all together:
    // nothing is added, refused() names the first.
    QVector<int> next(projectLists::Macros + 1);
    for (int list = projectLists::Ports; list <= projectLists::Macros; ++list)
        next[list] = rows->elements(projectLists::List(list)).size();
    for (const rowValues &value : values) {
        if (!takes(value, next[projectLists::listOf(value)]++))
            return false;
    }
    QList<QWidget *> lists;
    for (int list = projectLists::Ports; list <= projectLists::Macros; ++list)
        lists << rows->layout(projectLists::List(list))->parentWidget();
    auto group = std::make_unique<commandGroup>(lists);
    {
        const listsOutOfSight hidden(lists);
        for (const rowValues &value : values) {
            projectElement *row = nullptr;
            group->append(addition(value, &row));
            if (group->size() % 256 == 0)
                QCoreApplication::sendPostedEvents();
        }
    }
    if (group->isEmpty())
        return true;
    history->push(group.release());
    emit changed();
    return true;
}

void projectDocument::remove(projectElement *row)
{
    QBoxLayout *layout = rows->layoutOf(row);
    if (!layout)
        return;
    history->push(new removeElementFromLayout(layout, row));
    emit changed();
}

// The values are compared as the file would hold them, field by field: the
// fingerprint, which joins the fields without separators, takes an address
// 1 with the value 23 for an address 12 with the value 3.
void projectDocument::edit(projectElement *row, const rowValues &values)
{
    if (!row->holds(values) || jsonOf(values) == jsonOf(row->values()))
        return;
    if (!takes(values, rows->elements(projectLists::listOf(values)).indexOf(row)))
        return;
    history->push(new editElementToLayout(row, values));
    emit changed();
}

void projectDocument::activate(projectElement *port)
{
    const QList<projectElement *> ports = rows->elements(projectLists::Ports);
    const auto changes
        = [port](const projectElement *other) { return other->isActive() != (other == port); };
    if (!ports.contains(port) || std::none_of(ports.cbegin(), ports.cend(), changes))
        return;
    history->push(new activatePortElement(ports, port));
    emit changed();
}

void projectDocument::markForTrend(readElement *row, bool marked)
{
    if (marked == row->isTrendMarked())
        return;
    history->push(new markReadElementForTrend(row, marked));
    emit changed();
}

void projectDocument::undo()
{
    history->undo();
    emit changed();
}

void projectDocument::redo()
{
    history->redo();
    emit changed();
}
