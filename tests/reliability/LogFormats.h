#pragma once

#include <regex>
#include <string>
#include <vector>

/// The messages the engine and the game may write to their log, as printf formats; tells whether a log
/// line (without its "Message: " prefix) is one of them.
class LogFormats {
public:
    /// Knows every message format the program writes.
    LogFormats();

    /// Returns true when line is one of the messages, its %s, %d, %i and %f filled in as printf would.
    bool matches(const std::string& line) const;

    /// Returns the lines that are none of the messages, in order.
    std::vector<std::string> strangers(const std::vector<std::string>& lines) const;

    /// Returns the message formats, as written in the program.
    static const std::vector<std::string>& formats();

    /// Turns a printf format of the kind the program uses into a pattern for a whole line.
    static std::string patternOf(const std::string& format);

private:
    std::vector<std::regex> patterns;
};
