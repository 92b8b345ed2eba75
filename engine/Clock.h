#pragma once

#include <cstdint>

namespace lu {

/// Measures elapsed time in microseconds from UTC time stamps of millisecond resolution.
class Clock {
public:
    /// Starts the clock now.
    Clock();

    /// Returns the microseconds since the last restart (or construction) and restarts the clock.
    std::int64_t restart();

    /// Returns the microseconds since the last restart (or construction).
    std::int64_t elapsed() const;

    /// Returns the current time stamp: UTC day of month down to milliseconds, in microseconds.
    static std::int64_t timeStamp();

private:
    std::int64_t previousTime;
};

} // namespace lu
