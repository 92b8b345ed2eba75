#pragma once

#include "Manager.h"

#include <cstdio>
#include <set>
#include <string>

namespace lu {

/// The log file, created or truncated in the working directory at start-up.
const std::string LOG_FILE_NAME = "lumbra.log";

/// How many distinct warnings are written to stderr at most; a mistake repeated with ever new names stops there.
const int MAX_WARNINGS = 100;

/// Writes the program's diagnostic messages, one "Message: " line each, to LOG_FILE_NAME, and warns a game's
/// developer of mistakes on stderr.
class LogManager : public Manager {
public:
    /// Returns the single log manager.
    static LogManager& instance();

    ~LogManager() override;

    /// Creates or truncates the log file and forgets which warnings were written; returns 0, or -1 when the file
    /// cannot be opened (started either way).
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

    /// Turns the warnings about a game's mistakes (a sprite label never loaded, a misspelt colour in a sprite
    /// file, ...) on stderr on or off; they are on until a game turns them off. The log never holds them.
    void setWarningsEnabled(bool on);

    /// Writes "lu: " and the printf-formatted text as a line on stderr, once per distinct text, while warnings
    /// are enabled; after MAX_WARNINGS distinct texts it says so once and writes no more.
    void writeWarning(const char* format, ...)
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
    bool warningsEnabled;
    std::set<std::string> warningsWritten;
};

} // namespace lu
