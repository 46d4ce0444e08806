#include "toolsetidentity.h"

#include <QCoreApplication>

const char ToolSetOrganisationName[] = "qel";
const char ToolSetOrganisationDomain[] = "qel.local";

void setToolSetOrganisation()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(ToolSetOrganisationName));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(ToolSetOrganisationDomain));
}
