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
// The keys of each list's rows that are true or false in the file.
const QStringList stateKeys[]
    = {{QStringLiteral("active"), QStringLiteral("tls")}, {QStringLiteral("trend")}, {}, {}};

// The kind of a JSON value, as a message names what it found.
QString jsonKind(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return projectLists::tr("null");
    case QJsonValue::Bool:
        return projectLists::tr("true or false");
    case QJsonValue::Double:
        return projectLists::tr("a number");
    case QJsonValue::String:
        return value.toString().isEmpty() ? projectLists::tr("an empty text")
                                          : projectLists::tr("a text");
    case QJsonValue::Array:
        return projectLists::tr("a list");
    case QJsonValue::Object:
        return projectLists::tr("an object");
    case QJsonValue::Undefined:
        break;
    }
    return projectLists::tr("nothing");
}

// Why a section's row cannot be taken; empty when it can.
QString rowProblem(projectLists::List list, const QJsonObject &object)
{
    if (list == projectLists::Ports && object.contains(QLatin1String("type"))
        && !object.value(QLatin1String("type")).isString())
        return projectLists::tr("\"type\" must be a text, not %1")
            .arg(jsonKind(object.value(QLatin1String("type"))));
    const std::optional<rowValues> values = projectLists::valuesOf(list, object);
    if (!values)
        return QString(); // a port of a type the client does not know
    const QVector<valueField> fields
        = std::visit([](const auto &kind) { return kind.fields(); }, *values);
    for (const valueField &field : fields) {
        const QJsonValue value = object.value(QLatin1String(field.key));
        if (!value.isUndefined() && !value.isString())
            return projectLists::tr("\"%1\" must be a text, not %2")
                .arg(QLatin1String(field.key), jsonKind(value));
    }
    for (const QString &key : stateKeys[list]) {
        const QJsonValue value = object.value(key);
        if (!value.isUndefined() && !value.isBool())
            return projectLists::tr("\"%1\" must be true or false, not %2")
                .arg(key, jsonKind(value));
    }
    return valueFields::problem(fields);
}

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

QString projectLists::problemOf(const QJsonObject &root)
{
    const QJsonValue name = root.value(QLatin1String("name"));
    if (name.isUndefined())
        return tr("The project has no \"name\"; its name, a text that is not empty, is "
                  "expected");
    if (!name.isString() || name.toString().isEmpty())
        return tr("\"name\" must be a text that is not empty, not %1").arg(jsonKind(name));
    if (valueFields::hasControlCharacter(name.toString()))
        return tr("\"name\" holds a control character");
    for (int list = Ports; list <= Macros; ++list) {
        const QString section = QLatin1String(sections[list]);
        const QJsonValue rows = root.value(section);
        if (rows.isUndefined())
            continue;
        if (!rows.isArray())
            return tr("\"%1\" must be a list of rows, not %2").arg(section, jsonKind(rows));
        const QJsonArray array = rows.toArray();
        for (int i = 0; i < array.size(); ++i) {
            const QJsonValue row = array.at(i);
            const QString problem = row.isObject()
                ? rowProblem(List(list), row.toObject())
                : tr("a row must be an object, not %1").arg(jsonKind(row));
            if (!problem.isEmpty())
                return tr("Row %1 of \"%2\": %3").arg(i + 1).arg(section, problem);
        }
    }
    return QString();
}

QString projectLists::title(List list)
{
    // The titles of the window's tabs, in their translation.
    static const char *const titles[] = {QT_TRANSLATE_NOOP("MainWindow", "Communications"),
        QT_TRANSLATE_NOOP("MainWindow", "Read"), QT_TRANSLATE_NOOP("MainWindow", "Write"),
        QT_TRANSLATE_NOOP("MainWindow", "Macro")};
    return QCoreApplication::translate("MainWindow", titles[list]);
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
