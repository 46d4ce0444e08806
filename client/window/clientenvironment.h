#pragma once

// Sets the environment variables the client's process runs with, unless the
// user has set them: without Qt's OpenGL integration on X11, and without
// Qt's search for opaque siblings above every repainted widget. To be called
// at the start of main(), before the application object is made.
void setClientEnvironment();
