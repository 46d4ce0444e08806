#include "projectlists.h"

#include "macroelement.h"
#include "outofsight.h"
#include "readelement.h"
#include "rtuelement.h"
#include "tcpelement.h"
#include "writeelement.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QJsonArray>
#include <QWidget>

#include <type_traits>

// The lists are in the order of the kinds of rowValues (see listOf()).
template<projectLists::List list> using kindOf = std::variant_alternative_t<list, rowValues>;
static_assert(std::is_same_v<kindOf<projectLists::Ports>, portValues>);
static_assert(std::is_same_v<kindOf<projectLists::Reads>, readValues>);
static_assert(std::is_same_v<kindOf<projectLists::Writes>, writeValues>);
static_assert(std::is_same_v<kindOf<projectLists::Macros>, macroValues>);

namespace {

// The file's section of each list, in the order they are loaded.
const char *const sections[] = {"communications", "read", "write", "macro"};

} // namespace

projectLists::projectLists(
    QBoxLayout *ports, QBoxLayout *reads, QBoxLayout *writes, QBoxLayout *macros)
    : layouts {ports, reads, writes, macros}
{ }

QBoxLayout *projectLists::layoutOf(QWidget *widget) const
{
    for (QBoxLayout *layout : layouts)
        if (layout->indexOf(widget) >= 0)
            return layout;
    return nullptr;
}

QList<projectElement *> projectLists::elements(List list) const
{
    QList<projectElement *> rows;
    const QBoxLayout *layout = layouts[list];
    for (int i = 0; i < layout->count(); ++i)
        if (auto *row = qobject_cast<projectElement *>(layout->itemAt(i)->widget()))
            rows << row;
    return rows;
}

projectElement *projectLists::activePort() const
{
    for (projectElement *port : elements(Ports))
        if (port->isActive())
            return port;
    return nullptr;
}

QJsonObject projectLists::toJson(const QString &name) const
{
    QJsonObject root;
    for (int list = Ports; list <= Macros; ++list) {
        QJsonArray array;
        for (const projectElement *row : elements(List(list)))
            array.append(row->toJson());
        root.insert(QLatin1String(sections[list]), array);
    }
    root.insert(QStringLiteral("name"), name);
    return root;
}

void projectLists::fromJson(
    const QJsonObject &root, const std::function<void(projectElement *)> &adopt) const
{
    for (int list = Ports; list <= Macros; ++list) {
        QBoxLayout *layout = layouts[list];
        const outOfSight hidden(layout->parentWidget());
        int created = 0;
        for (const QJsonValue &value : root.value(QLatin1String(sections[list])).toArray()) {
            const QJsonObject object = value.toObject();
            const std::optional<rowValues> values = valuesOf(List(list), object);
            if (!values)
                continue;
            projectElement *row = create(*values);
            row->readState(object);
            adopt(row);
            layout->insertWidget(layout->count() - 1, row);
            // Every new widget leaves a polish event pending, and each row's
            // layout request makes Qt look through all of them: delivered
            // now and then, they stay few. Only posted events are delivered
            // here, no input.
            if (++created % 256 == 0)
                QCoreApplication::sendPostedEvents();
        }
    }
}

void projectLists::clear() const
{
    for (QBoxLayout *layout : layouts) {
        // Rows are taken from the end of the list, where it is cheapest.
        const outOfSight hidden(layout->parentWidget());
        for (int i = layout->count() - 1; i >= 0; --i) {
            QWidget *widget = layout->itemAt(i)->widget();
            if (!widget)
                continue; // the spacer stays
            delete layout->takeAt(i);
            // Taken out of its list already: the list need not be told, and
            // would look through all its rows for it.
            widget->setAttribute(Qt::WA_NoChildEventsForParent);
            delete widget;
        }
    }
}

std::optional<rowValues> projectLists::valuesOf(List list, const QJsonObject &object)
{
    switch (list) {
    case Ports:
        if (const std::optional<portValues> port = portValues::fromJson(object))
            return *port;
        return std::nullopt;
    case Reads:
        return readValues::fromJson(object);
    case Writes:
        return writeValues::fromJson(object);
    case Macros:
        return macroValues::fromJson(object);
    }
    return std::nullopt;
}

projectElement *projectLists::create(const rowValues &values)
{
    if (const auto *port = std::get_if<portValues>(&values)) {
        if (port->kind == portValues::Tcp)
            return new tcpElement(*port);
        return new rtuElement(*port);
    }
    if (const auto *read = std::get_if<readValues>(&values))
        return new readElement(*read);
    if (const auto *write = std::get_if<writeValues>(&values))
        return new writeElement(*write);
    return new macroElement(std::get<macroValues>(values));
}
