#include "clientenvironment.h"

#include <QByteArray>
#include <QtGlobal>

void setClientEnvironment()
{
    // The window and the trend draw without OpenGL: on X11, Qt would load the
    // system's GL driver at start anyway, some 55 MiB for nothing.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // For every widget it repaints, Qt looks through all the siblings above
    // it for opaque ones that cover it; in a list of thousands of rows the
    // first showing of the list took seconds. Rows never cover one another,
    // so Qt's own switch turns that search off (Qt reads it once, at the
    // first repaint).
    if (!qEnvironmentVariableIsSet("QT_NO_SUBTRACTOPAQUESIBLINGS"))
        qputenv("QT_NO_SUBTRACTOPAQUESIBLINGS", "1");
}
