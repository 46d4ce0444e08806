#pragma once

// SIGINT and SIGTERM as a request to stop a long run cleanly. The handler
// only sets a flag and writes a byte to a pipe (both async-signal-safe); the
// run looks at the request between its steps, and every engine wait that has
// the pipe's read end as its cancel descriptor ends at once.
namespace StopRequest {

// Installs the handlers for SIGINT and SIGTERM; false (errno set) when the
// pipe or a handler could not be set up. Calling it again does nothing more.
bool install();
// Readable once a stop was requested; -1 before install().
int descriptor();
// Whether descriptor is readable now, that is a stop was requested through
// it; false for -1.
bool isSignalled(int descriptor);

} // namespace StopRequest
