#include "Platform.h"

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#else
#include <cerrno>
#include <ctime>
#endif

namespace lu {

#ifdef _WIN32

namespace {
const UINT TIMER_RESOLUTION_MS = 1;
bool timerResolutionHeld = false;
} // namespace

UtcTime currentUtcTime()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    UtcTime time;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.millisecond = now.wMilliseconds;
    return time;
}

void sleepMilliseconds(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    Sleep(static_cast<DWORD>(milliseconds));
}

void beginTimerResolution()
{
    // Held once: the game manager may start up and shut down more than once.
    if (timerResolutionHeld)
        return;
    if (timeBeginPeriod(TIMER_RESOLUTION_MS) == TIMERR_NOERROR)
        timerResolutionHeld = true;
}

void endTimerResolution()
{
    if (!timerResolutionHeld)
        return;
    timeEndPeriod(TIMER_RESOLUTION_MS);
    timerResolutionHeld = false;
}

#else

namespace {
const long NANOSECONDS_PER_MILLISECOND = 1000000L;
const int MILLISECONDS_PER_SECOND = 1000;
} // namespace

UtcTime currentUtcTime()
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm calendar;
    gmtime_r(&now.tv_sec, &calendar);
    UtcTime time;
    time.day = calendar.tm_mday;
    time.hour = calendar.tm_hour;
    time.minute = calendar.tm_min;
    time.second = calendar.tm_sec;
    time.millisecond = static_cast<int>(now.tv_nsec / NANOSECONDS_PER_MILLISECOND);
    return time;
}

void sleepMilliseconds(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    timespec request;
    request.tv_sec = milliseconds / MILLISECONDS_PER_SECOND;
    request.tv_nsec = (milliseconds % MILLISECONDS_PER_SECOND) * NANOSECONDS_PER_MILLISECOND;
    timespec remaining;
    // A signal cuts the sleep short; sleep on for what is left.
    while (nanosleep(&request, &remaining) == -1 && errno == EINTR)
        request = remaining;
}

void beginTimerResolution()
{
    // Sleeps here are already accurate to the millisecond.
}

void endTimerResolution()
{
}

#endif

} // namespace lu
