#pragma once

#include "tableschema.h"

// The five kinds of configuration database a device is set up with.
namespace DatabaseKinds {

// The kind of a "--type" value; null for a name that is not a kind.
const DatabaseKind *find(const QString &type);
// The "--type" values in the order the help lists them.
QStringList typeNames();

} // namespace DatabaseKinds
