#pragma once

// Waits the given time while the framework goes on processing pending events
// (timers, queued calls), for the short pauses between device requests of
// programs that run no event loop of their own. Needs the application object.
void pauseProcessingEvents(int milliseconds);
