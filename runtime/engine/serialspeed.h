#pragma once

// Line settings through Linux's termios2 interface, which carries any baud
// rate and the exact speed fields. Kept in its own file: its kernel header
// cannot be included together with <termios.h>.

namespace SerialSpeed {

// A copy of a line's complete settings, speeds included.
struct SavedSettings
{
    alignas(8) unsigned char bytes[64];
};

// Reads the settings of fd into saved; false with errno set on failure.
bool save(int fd, SavedSettings &saved);
// Applies saved to fd; false with errno set on failure.
bool restore(int fd, const SavedSettings &saved);
// Sets the input and output speed of fd to rate baud, leaving every other
// setting as it is; false with errno set on failure.
bool setArbitraryRate(int fd, int rate);

} // namespace SerialSpeed
