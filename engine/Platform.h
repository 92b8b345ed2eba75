#pragma once

#include <cstdint>

namespace lu {

/// The calendar time the clock needs, in UTC, with milliseconds.
struct UtcTime {
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

/// Returns the current UTC time with millisecond resolution.
UtcTime currentUtcTime();

/// Suspends the calling thread for the given number of milliseconds (none when 0 or less).
void sleepMilliseconds(int milliseconds);

/// Asks the system for 1 ms timer resolution (Windows); does nothing elsewhere.
void beginTimerResolution();

/// Releases the request of beginTimerResolution.
void endTimerResolution();

} // namespace lu
