#pragma once

#include <QString>

// The program the client starts for a driver (base name "qelDrvModbus" or
// "qelDrvMacro", the platform's suffix added): the one in the current working
// directory when it is there, otherwise the one beside the client's own
// executable, otherwise the one in the installed bin folder, so that an
// installed client works from any directory. When none exists the name in the
// current directory is returned, and its run fails as a driver that cannot be
// started.
QString driverLocation(const QString &baseName);
