#pragma once

#include "Manager.h"

#include <cstdio>
#include <string>

namespace lu {

/// The log file, created or truncated in the working directory at start-up.
const std::string LOG_FILE_NAME = "lumbra.log";

/// Writes the program's diagnostic messages, one "Message: " line each, to LOG_FILE_NAME.
class LogManager : public Manager {
public:
    /// Returns the single log manager.
    static LogManager& instance();

    ~LogManager() override;

    /// Creates or truncates the log file; returns 0, or -1 when it cannot be opened (started either way).
    int startUp() override;

    /// Closes the log file; later messages are dropped.
    void shutDown() override;

    /// Makes every message reach the file as soon as it is written.
    void setFlushEachMessage(bool on);

    /// Writes "Message: " and the printf-formatted text; returns the text's length, or -1 (nothing written) with no
    /// open file.
    int writeMessage(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

private:
    LogManager();
    LogManager(const LogManager&) = delete;
    LogManager& operator=(const LogManager&) = delete;

    FILE* logFile;
    bool flushEachMessage;
};

} // namespace lu
