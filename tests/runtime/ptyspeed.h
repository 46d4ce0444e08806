#pragma once

// The output baud rate of a terminal as the kernel holds it (any rate,
// standard or not); -1 on failure.
int lineOutputRate(int fd);
