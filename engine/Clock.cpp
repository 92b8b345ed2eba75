#include "Clock.h"

#include "Platform.h"

namespace lu {

namespace {
const std::int64_t HOURS_PER_DAY = 24;
const std::int64_t MINUTES_PER_HOUR = 60;
const std::int64_t SECONDS_PER_MINUTE = 60;
const std::int64_t MILLISECONDS_PER_SECOND = 1000;
const std::int64_t MICROSECONDS_PER_MILLISECOND = 1000;
} // namespace

Clock::Clock() : previousTime(timeStamp())
{
}

std::int64_t Clock::restart()
{
    std::int64_t now = timeStamp();
    std::int64_t elapsedTime = now - previousTime;
    previousTime = now;
    return elapsedTime;
}

std::int64_t Clock::elapsed() const
{
    return timeStamp() - previousTime;
}

std::int64_t Clock::timeStamp()
{
    UtcTime now = currentUtcTime();
    std::int64_t stamp = now.day;
    stamp = stamp * HOURS_PER_DAY + now.hour;
    stamp = stamp * MINUTES_PER_HOUR + now.minute;
    stamp = stamp * SECONDS_PER_MINUTE + now.second;
    stamp = stamp * MILLISECONDS_PER_SECOND + now.millisecond;
    return stamp * MICROSECONDS_PER_MILLISECOND;
}

} // namespace lu
