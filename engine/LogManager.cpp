#include "LogManager.h"

#include <cstdarg>
#include <vector>

namespace lu {

LogManager::LogManager() : logFile(nullptr), flushEachMessage(false), warningsEnabled(true), warningsWritten()
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
    // Each run of the engine tells its mistakes afresh.
    warningsWritten.clear();
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

void LogManager::setWarningsEnabled(bool on)
{
    warningsEnabled = on;
}

void LogManager::writeWarning(const char* format, ...)
{
    if (!warningsEnabled || warningsWritten.size() > static_cast<std::size_t>(MAX_WARNINGS))
        return;

    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::vector<char> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
    if (length > 0)
        vsnprintf(text.data(), text.size(), format, args);
    va_end(args);

    // A mistake made every frame is told once; the first frame that makes it says all there is.
    if (!warningsWritten.insert(text.data()).second)
        return;
    if (warningsWritten.size() > static_cast<std::size_t>(MAX_WARNINGS)) {
        fprintf(stderr, "lu: more than %d warnings; no more are shown\n", MAX_WARNINGS);
        return;
    }
    fprintf(stderr, "lu: %s\n", text.data());
}

} // namespace lu
