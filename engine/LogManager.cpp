#include "LogManager.h"

#include <cstdarg>

namespace lu {

LogManager::LogManager() : logFile(nullptr), flushEachMessage(false)
{
}

LogManager::~LogManager()
{
    // The stream is left to the runtime, which flushes and closes it at exit.
}

LogManager& LogManager::instance()
{
    static LogManager logManager;
    return logManager;
}

int LogManager::startUp()
{
    // A second start must not leak the stream it replaces.
    if (logFile != nullptr) {
        fclose(logFile);
        logFile = nullptr;
    }
    setType("LogManager");
    started = true;
    logFile = fopen(LOG_FILE_NAME.c_str(), "w");
    if (logFile == nullptr)
        return -1;
    return 0;
}

void LogManager::shutDown()
{
    if (logFile == nullptr)
        return;
    fclose(logFile);
    logFile = nullptr;
}

void LogManager::setFlushEachMessage(bool on)
{
    flushEachMessage = on;
}

int LogManager::writeMessage(const char* format, ...)
{
    if (logFile == nullptr)
        return -1;

    fputs("Message: ", logFile);
    va_list args;
    va_start(args, format);
    int count = vfprintf(logFile, format, args);
    va_end(args);
    // Flushing before the newline puts every message text on disk at once; the newline follows with the next flush.
    if (flushEachMessage)
        fflush(logFile);
    fputs("\n", logFile);
    return count;
}

} // namespace lu
