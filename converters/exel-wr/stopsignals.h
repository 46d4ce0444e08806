#pragma once

// SIGINT and SIGTERM while a workbook is written.
//
// Once installed, a signal is only noted: the export looks at requested()
// between rows and gives up, so that the program removes the workbook it had
// begun beside its target and ends with an error. Where the workbook goes
// into something that is not a regular file (a FIFO, a terminal), a write may
// wait for ever and nothing of the program's own is left behind: there
// endAtOnce() lets a signal end the program at once, as without a handler.
// A signal ignored when the program starts (nohup, a background job) stays
// ignored.
namespace StopSignals {

void install();
// Whether a stop signal has come.
bool requested();
// From now on a signal ends the program at once; one that came before ends
// it now.
void endAtOnce();

} // namespace StopSignals
