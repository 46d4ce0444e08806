#pragma once

#include "macrovalues.h"
#include "portvalues.h"
#include "readvalues.h"
#include "writevalues.h"

#include <QMetaType>

#include <variant>

// The values of any row of a project, one of the four kinds, as the
// document, its history and the runner pass them around.
using rowValues = std::variant<portValues, readValues, writeValues, macroValues>;
Q_DECLARE_METATYPE(rowValues)

// The values' object of the project file.
inline QJsonObject jsonOf(const rowValues &values)
{
    return std::visit([](const auto &kind) { return kind.toJson(); }, values);
}

// Why the values cannot be a row's (valueFields::problem); empty when they
// can.
inline QString problemOf(const rowValues &values)
{
    return valueFields::problem(std::visit([](const auto &kind) { return kind.fields(); }, values));
}
