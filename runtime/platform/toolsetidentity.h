#pragma once

// The organisation under which every program of the tool set keeps its
// settings in the platform's settings store.
extern const char ToolSetOrganisationName[];
extern const char ToolSetOrganisationDomain[];

// Sets the organisation name and domain of the running application.
void setToolSetOrganisation();
